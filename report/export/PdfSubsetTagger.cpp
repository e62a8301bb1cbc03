#include "PdfSubsetTagger.h"

#include <QByteArrayView>

#include <algorithm>
#include <map>
#include <optional>
#include <vector>

namespace {

constexpr qsizetype kEntrySize = 20; // "0000012345 00000 n \n"

bool isDelimiter(char c)
{
    return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\0' || c == '/' || c == '<' ||
           c == '>' || c == '[' || c == ']' || c == '(' || c == ')' || c == '%';
}

bool isTag(QByteArrayView name)
{
    if (name.size() < 7 || name[6] != '+')
        return false;
    return std::all_of(name.begin(), name.begin() + 6, [](char c) { return c >= 'A' && c <= 'Z'; });
}

// A name's bytes after the slash at `at`.
QByteArrayView nameAt(QByteArrayView text, qsizetype at)
{
    qsizetype end = at;
    while (end < text.size() && !isDelimiter(text[end]))
        ++end;
    return text.sliced(at, end - at);
}

// Where the value of `key` starts in the dictionary text (after the key and
// blanks), or -1.
qsizetype valueOf(QByteArrayView dict, QByteArrayView key)
{
    for (qsizetype at = dict.indexOf(key); at >= 0; at = dict.indexOf(key, at + 1)) {
        qsizetype v = at + key.size();
        if (v < dict.size() && !isDelimiter(dict[v]))
            continue; // a longer key that starts the same
        while (v < dict.size() && (dict[v] == ' ' || dict[v] == '\n' || dict[v] == '\r'))
            ++v;
        return v;
    }
    return -1;
}

// The object number of a reference "N 0 R" at `at`.
std::optional<int> referenceAt(QByteArrayView dict, qsizetype at)
{
    qsizetype end = at;
    while (end < dict.size() && dict[end] >= '0' && dict[end] <= '9')
        ++end;
    if (end == at || end - at > 9 || !dict.sliced(end).startsWith(" 0 R"))
        return std::nullopt;
    return dict.sliced(at, end - at).toInt();
}

struct Object {
    qsizetype start = 0; // in the tail
    QByteArrayView dict; // up to "stream" or "endobj"
};

// The tag for a descriptor that has none: six letters from its number.
QByteArray tagFor(int object)
{
    QByteArray tag(6, 'A');
    for (int i = 5; i >= 0 && object > 0; --i, object /= 26)
        tag[i] = char('A' + object % 26);
    return tag + '+';
}

} // namespace

namespace brp {

QByteArray TagFontSubsets(const QByteArray& tail, qint64 tailStart)
{
    const QByteArrayView text(tail);
    // startxref N, then %%EOF: the table must lie in the tail.
    const qsizetype sx = text.lastIndexOf("startxref");
    if (sx < 0)
        return tail;
    qsizetype p = sx + 9;
    while (p < text.size() && (text[p] == ' ' || text[p] == '\n' || text[p] == '\r'))
        ++p;
    qsizetype numberEnd = p;
    while (numberEnd < text.size() && text[numberEnd] >= '0' && text[numberEnd] <= '9')
        ++numberEnd;
    bool ok = false;
    const qint64 xref = text.sliced(p, numberEnd - p).toLongLong(&ok);
    if (!ok || xref < tailStart || xref - tailStart >= text.size())
        return tail;
    const qsizetype table = qsizetype(xref - tailStart);
    if (!text.sliced(table).startsWith("xref"))
        return tail;

    // The table: subsections "first count", then fixed-size entries.
    struct Entry {
        int object;
        qsizetype at; // of the entry in the tail
        qint64 offset;
    };
    std::vector<Entry> entries;
    qsizetype at = table + 4;
    for (;;) {
        while (at < text.size() && (text[at] == '\n' || text[at] == '\r' || text[at] == ' '))
            ++at;
        if (text.sliced(at).startsWith("trailer"))
            break;
        const qsizetype lineEnd = text.indexOf('\n', at);
        if (lineEnd < 0)
            return tail;
        const QList<QByteArray> head = text.sliced(at, lineEnd - at).toByteArray().simplified().split(' ');
        if (head.size() != 2)
            return tail;
        bool okFirst = false, okCount = false;
        const int first = head[0].toInt(&okFirst), count = head[1].toInt(&okCount);
        if (!okFirst || !okCount || first < 0 || count < 0 || lineEnd + 1 + qint64(count) * kEntrySize > text.size())
            return tail;
        at = lineEnd + 1;
        for (int i = 0; i < count; ++i, at += kEntrySize) {
            const QByteArrayView e = text.sliced(at, kEntrySize);
            if (e[10] != ' ' || e[16] != ' ' || (e[17] != 'n' && e[17] != 'f'))
                return tail;
            bool okOffset = false;
            const qint64 offset = e.first(10).toLongLong(&okOffset);
            if (!okOffset)
                return tail;
            if (e[17] == 'n')
                entries.push_back({first + i, at, offset});
        }
    }

    // The objects in the tail, each up to the next one (or the table).
    std::vector<qint64> starts;
    for (const Entry& e : entries)
        if (e.offset >= tailStart)
            starts.push_back(e.offset);
    std::sort(starts.begin(), starts.end());
    std::map<int, Object> objects;
    for (const Entry& e : entries) {
        if (e.offset < tailStart)
            continue;
        const qsizetype start = qsizetype(e.offset - tailStart);
        const auto next = std::upper_bound(starts.begin(), starts.end(), e.offset);
        const qsizetype end = next == starts.end() ? table : qsizetype(*next - tailStart);
        if (start >= end || end > table)
            return tail;
        const QByteArrayView body = text.sliced(start, end - start);
        const QByteArray header = QByteArray::number(e.object) + " 0 obj";
        if (!body.startsWith(header))
            return tail; // the table does not describe this file
        qsizetype dictEnd = body.indexOf("stream");
        if (dictEnd < 0)
            dictEnd = body.indexOf("endobj");
        if (dictEnd < 0)
            return tail;
        objects[e.object] = Object{start, body.first(dictEnd)};
    }

    // Descriptors of subsets (they carry a font program), with their tag.
    std::map<int, QByteArray> tagOf;
    std::vector<std::pair<qsizetype, QByteArray>> inserts; // at, bytes
    for (const auto& [number, o] : objects) {
        if (valueOf(o.dict, "/Type") < 0 || !o.dict.sliced(valueOf(o.dict, "/Type")).startsWith("/FontDescriptor"))
            continue;
        if (valueOf(o.dict, "/FontFile2") < 0 && valueOf(o.dict, "/FontFile") < 0 && valueOf(o.dict, "/FontFile3") < 0)
            continue;
        const qsizetype v = valueOf(o.dict, "/FontName");
        if (v < 0 || v >= o.dict.size() || o.dict[v] != '/')
            continue;
        const QByteArrayView name = nameAt(o.dict, v + 1);
        if (isTag(name)) {
            tagOf[number] = name.first(7).toByteArray();
        } else {
            tagOf[number] = tagFor(number);
            inserts.push_back({o.start + v + 1, tagOf[number]});
        }
    }
    // A font dictionary's tag: its descriptor's, or its descendant's.
    const auto fontTag = [&](const Object& o, auto&& self, int depth) -> std::optional<QByteArray> {
        if (depth > 2)
            return std::nullopt;
        const qsizetype d = valueOf(o.dict, "/FontDescriptor");
        if (d >= 0) {
            const auto ref = referenceAt(o.dict, d);
            if (ref && tagOf.count(*ref))
                return tagOf[*ref];
            return std::nullopt;
        }
        const qsizetype k = valueOf(o.dict, "/DescendantFonts");
        if (k >= 0 && k < o.dict.size() && o.dict[k] == '[') {
            qsizetype r = k + 1;
            while (r < o.dict.size() && o.dict[r] == ' ')
                ++r;
            const auto ref = referenceAt(o.dict, r);
            if (ref && objects.count(*ref))
                return self(objects[*ref], self, depth + 1);
        }
        return std::nullopt;
    };
    for (const auto& [number, o] : objects) {
        const qsizetype b = valueOf(o.dict, "/BaseFont");
        if (b < 0 || b >= o.dict.size() || o.dict[b] != '/' || isTag(nameAt(o.dict, b + 1)))
            continue;
        if (const auto tag = fontTag(o, fontTag, 0))
            inserts.push_back({o.start + b + 1, *tag});
    }
    if (inserts.empty())
        return tail;
    std::sort(inserts.begin(), inserts.end());

    // The tail again with the tags in; every offset past an insert moves.
    const auto moved = [&](qint64 offset) {
        qint64 by = 0;
        for (const auto& [pos, bytes] : inserts)
            if (pos + tailStart < offset)
                by += bytes.size();
        return offset + by;
    };
    QByteArray out;
    out.reserve(tail.size() + qsizetype(inserts.size()) * 8 + 16);
    qsizetype from = 0;
    for (const auto& [pos, bytes] : inserts) {
        out.append(text.sliced(from, pos - from));
        out.append(bytes);
        from = pos;
    }
    out.append(text.sliced(from, sx - from));
    const qint64 shift = out.size() - sx;
    for (const Entry& e : entries) {
        if (e.offset < tailStart)
            continue;
        const QByteArray digits = QByteArray::number(moved(e.offset)).rightJustified(10, '0');
        if (digits.size() != 10)
            return tail;
        out.replace(e.at + shift, 10, digits);
    }
    out.append("startxref\n");
    out.append(QByteArray::number(xref + shift));
    out.append(text.sliced(numberEnd));
    return out;
}

} // namespace brp

PdfSubsetTagger::PdfSubsetTagger(QIODevice* target) : m_target(target)
{
    open(QIODevice::WriteOnly);
}

void PdfSubsetTagger::HoldTail()
{
    m_holding = true;
}

qint64 PdfSubsetTagger::writeData(const char* data, qint64 size)
{
    if (m_holding) {
        m_tail.append(data, qsizetype(size));
        return size;
    }
    const qint64 written = m_target->write(data, size);
    if (written != size) {
        m_failed = true;
        setErrorString(m_target->errorString());
        return -1;
    }
    m_passed += size;
    return size;
}

bool PdfSubsetTagger::Finish()
{
    const QByteArray tail = brp::TagFontSubsets(m_tail, m_passed);
    m_tail.clear();
    m_holding = false;
    if (m_failed)
        return false;
    if (m_target->write(tail) != tail.size()) {
        m_failed = true;
        setErrorString(m_target->errorString());
        return false;
    }
    return true;
}
