#include "SearchFold.h"

#include <QChar>
#include <QString>
#include <array>
#include <memory>

namespace {

// Folded form of every UTF-16 unit; 0 drops it (a combining accent).
// Surrogates map to themselves and are paired when encoding.
using Table = std::array<char16_t, 0x10000>;

char16_t foldUnit(char16_t u)
{
    if (u < 0x20 || u == 0x7F)
        return u' ';
    if (u < 0x80)
        return (u >= u'A' && u <= u'Z') ? char16_t(u + 32) : u;
    QChar c(u);
    if (c.isSurrogate())
        return u;
    // A precomposed letter decomposes to its base letter first.
    for (int depth = 0; depth < 4 && c.decompositionTag() == QChar::Canonical; ++depth) {
        const QString d = c.decomposition();
        if (d.isEmpty() || d.at(0).isSurrogate())
            break;
        c = d.at(0);
    }
    if (c.category() == QChar::Mark_NonSpacing)
        return 0;
    c = c.toCaseFolded();
    if (c.unicode() < 0x20)
        return u' ';
    return c.unicode();
}

const Table& table()
{
    static const std::unique_ptr<Table> t = [] {
        auto built = std::make_unique<Table>();
        for (std::uint32_t u = 0; u < 0x10000; ++u)
            (*built)[u] = foldUnit(char16_t(u));
        return built;
    }();
    return *t;
}

void appendUtf8(char32_t cp, QByteArray& out)
{
    if (cp < 0x80) {
        out.append(char(cp));
    } else if (cp < 0x800) {
        const char b[2] = {char(0xC0 | (cp >> 6)), char(0x80 | (cp & 0x3F))};
        out.append(b, 2);
    } else if (cp < 0x10000) {
        const char b[3] = {char(0xE0 | (cp >> 12)), char(0x80 | ((cp >> 6) & 0x3F)), char(0x80 | (cp & 0x3F))};
        out.append(b, 3);
    } else {
        const char b[4] = {char(0xF0 | (cp >> 18)), char(0x80 | ((cp >> 12) & 0x3F)),
                           char(0x80 | ((cp >> 6) & 0x3F)), char(0x80 | (cp & 0x3F))};
        out.append(b, 4);
    }
}

} // namespace

namespace SearchFold {

void Append(QStringView text, QByteArray& out)
{
    const Table& t = table();
    const qsizetype n = text.size();
    const char16_t* s = text.utf16();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = t[s[i]];
        if (u == 0)
            continue;
        if (u < 0x80) {
            out.append(char(u));
        } else if (QChar::isHighSurrogate(u) && i + 1 < n && QChar::isLowSurrogate(s[i + 1])) {
            appendUtf8(QChar::surrogateToUcs4(u, s[i + 1]), out);
            ++i;
        } else if (QChar::isSurrogate(u)) {
            appendUtf8(0xFFFD, out);
        } else {
            appendUtf8(u, out);
        }
    }
}

QByteArray Key(QStringView text)
{
    QByteArray out;
    out.reserve(text.size());
    Append(text, out);
    return out;
}

} // namespace SearchFold
