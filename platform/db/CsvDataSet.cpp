#include "CsvDataSet.h"

#include <QFile>
#include <QStringDecoder>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr qsizetype kBlockBytes = qsizetype(1) << 20;
constexpr char kBom[] = "\xEF\xBB\xBF";

// The file's lines one at a time, ended by CR LF, LF or CR alone, with one
// block of the file in memory (more only for a line longer than a block).
class LineReader {
public:
    LineReader(QFile& file, const CsvLoadProgress& progress) : m_file(file), m_progress(progress)
    {
        m_total = file.isSequential() ? 0 : file.size();
    }

    // The next line (valid until the next call), or false at the end of the
    // file or on a read error (then `error` is set).
    bool Next(QByteArrayView& line)
    {
        for (;;) {
            const char* data = m_buf.constData();
            const qsizetype size = m_buf.size();
            qsizetype i = m_scan;
            while (i < size && data[i] != '\n' && data[i] != '\r')
                ++i;
            // A CR that ends the block may be the first half of CR LF.
            if (i < size && !(data[i] == '\r' && i + 1 == size && !m_end)) {
                line = QByteArrayView(data + m_pos, i - m_pos);
                qsizetype after = i + 1;
                if (data[i] == '\r' && after < size && data[after] == '\n')
                    ++after;
                m_pos = m_scan = after;
                return true;
            }
            m_scan = i;
            if (m_end) {
                if (m_pos == size)
                    return false;
                line = QByteArrayView(data + m_pos, size - m_pos);
                m_pos = m_scan = size;
                return true;
            }
            if (!Fill())
                return false;
        }
    }

    QString error;

private:
    bool Fill()
    {
        const qsizetype keep = m_buf.size() - m_pos;
        if (m_pos > 0) {
            std::memmove(m_buf.data(), m_buf.constData() + m_pos, size_t(keep));
            m_scan -= m_pos;
            m_pos = 0;
            m_buf.resize(keep);
        }
        if (keep + kBlockBytes > m_buf.capacity())
            m_buf.reserve(std::max(keep + kBlockBytes, 2 * m_buf.capacity()));
        m_buf.resize(keep + kBlockBytes);
        const qint64 n = m_file.read(m_buf.data() + keep, kBlockBytes);
        if (n < 0) {
            error = m_file.errorString();
            m_buf.resize(keep);
            return false;
        }
        m_buf.resize(keep + qsizetype(n));
        m_end = n == 0;
        m_read += n;
        if (m_progress)
            m_progress(m_read, m_total);
        return true;
    }

    QFile& m_file;
    const CsvLoadProgress& m_progress;
    QByteArray m_buf;
    qsizetype m_pos = 0;  // start of the next line
    qsizetype m_scan = 0; // where the search for its end goes on
    bool m_end = false;
    qint64 m_read = 0;
    qint64 m_total = 0;
};

// Splits one line into fields: their unquoted bytes one after the other in
// `text`, where each ends in `ends`. False on an unterminated quote. A quote
// opens a quoted part only at the start of a field; "" inside it is one quote.
bool splitLine(QByteArrayView line, std::string& text, std::vector<size_t>& ends)
{
    text.clear();
    ends.clear();
    bool quoted = false, wasQuoted = false;
    size_t fieldStart = 0;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"') {
                if (i + 1 < line.size() && line[i + 1] == '"') {
                    text += '"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                text += c;
            }
        } else if (c == '"' && text.size() == fieldStart && !wasQuoted) {
            quoted = wasQuoted = true;
        } else if (c == ',') {
            ends.push_back(text.size());
            fieldStart = text.size();
            wasQuoted = false;
        } else {
            text += c;
        }
    }
    ends.push_back(text.size());
    return !quoted;
}

bool isAscii(QByteArrayView bytes)
{
    for (const char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

bool typeFromName(const QString& name, TFieldType& type)
{
    const QString n = name.trimmed().toLower();
    if (n == u"integer") type = TFieldType::ftInteger;
    else if (n == u"float") type = TFieldType::ftFloat;
    else if (n == u"string" || n.isEmpty()) type = TFieldType::ftString;
    else if (n == u"boolean") type = TFieldType::ftBoolean;
    else if (n == u"date") type = TFieldType::ftDate;
    else return false;
    return true;
}

QString typeName(TFieldType type)
{
    switch (type) {
    case TFieldType::ftInteger: return QStringLiteral("integer");
    case TFieldType::ftFloat: return QStringLiteral("float");
    case TFieldType::ftBoolean: return QStringLiteral("boolean");
    case TFieldType::ftDate: return QStringLiteral("date");
    default: return QStringLiteral("string");
    }
}

int digits(QByteArrayView s, qsizetype from, qsizetype count)
{
    int v = 0;
    for (qsizetype i = from; i < from + count; ++i) {
        if (s[i] < '0' || s[i] > '9')
            return -1;
        v = v * 10 + (s[i] - '0');
    }
    return v;
}

// yyyy-mm-dd or dd/mm/yyyy written out in full: the common case, read
// without the general date parser (which looks up the time zone each time).
QDate quickDate(QByteArrayView s)
{
    if (s.size() != 10)
        return QDate();
    if (s[4] == '-' && s[7] == '-')
        return QDate(digits(s, 0, 4), digits(s, 5, 2), digits(s, 8, 2));
    if (s[2] == '/' && s[5] == '/')
        return QDate(digits(s, 6, 4), digits(s, 3, 2), digits(s, 0, 2));
    return QDate();
}

// Puts a typed value of `field` (not empty) into the row being made; false
// when the text is not a value of that type. Text that is not all ASCII takes
// the general (Unicode) path, where blanks and digits are Unicode's.
bool convert(QByteArrayView field, TFieldType type, int column, CompactRowStore& rows)
{
    if (type == TFieldType::ftString) {
        rows.SetText(column, field);
        return true;
    }
    const bool ascii = isAscii(field);
    const QString wide = ascii ? QString() : CompactRowStore::TextFromUtf8(field).trimmed();
    const QByteArrayView narrow = field.trimmed();
    bool ok = true;
    switch (type) {
    case TFieldType::ftInteger: {
        const int v = ascii ? narrow.toInt(&ok) : wide.toInt(&ok);
        if (ok)
            rows.SetInteger(column, v);
        break;
    }
    case TFieldType::ftFloat: {
        const double v = ascii ? narrow.toDouble(&ok) : wide.toDouble(&ok);
        // "inf" and "nan" read as numbers, but no report can print them.
        ok = ok && std::isfinite(v);
        if (ok)
            rows.SetFloat(column, v);
        break;
    }
    case TFieldType::ftBoolean: {
        const QString t = ascii ? QString::fromLatin1(narrow).toLower() : wide.toLower();
        if (t == u"true" || t == u"1")
            rows.SetBoolean(column, true);
        else if (t == u"false" || t == u"0")
            rows.SetBoolean(column, false);
        else
            ok = false;
        break;
    }
    case TFieldType::ftDate: {
        QDate d = ascii ? quickDate(narrow) : QDate();
        if (!d.isValid()) {
            const QString t = ascii ? QString::fromLatin1(narrow) : wide;
            d = QDate::fromString(t, QStringLiteral("yyyy-MM-dd"));
            if (!d.isValid())
                d = QDate::fromString(t, QStringLiteral("dd/MM/yyyy"));
        }
        // The parser takes a signed year; dates before year 1 print as nonsense.
        ok = d.isValid() && d.year() >= 1;
        if (ok)
            rows.SetDate(column, d);
        break;
    }
    default:
        rows.SetText(column, field);
        break;
    }
    return ok;
}

} // namespace

namespace brp {

QString LoadCsvDataSet(const QString& fileName, TMemDataSet& dataSet, const CsvLoadProgress& progress)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("%1: cannot open: %2").arg(fileName, file.errorString());
    const auto where = [&](int line) { return QStringLiteral("%1:%2: ").arg(fileName).arg(line); };

    LineReader reader(file, progress);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString wide;
    std::string text;
    std::vector<size_t> ends;
    QStringList names;
    QList<TFieldType> types;
    CompactRowStore rows;
    int lineNo = 0;
    QByteArrayView line;
    while (reader.Next(line)) {
        ++lineNo;
        const bool ascii = isAscii(line);
        if (!ascii) {
            // Decoded only to check it (and to test for a blank line the way
            // Unicode sees blanks); the values are kept as the file's bytes.
            wide = utf8.decode(line);
            if (utf8.hasError())
                return where(lineNo) + QStringLiteral("not valid UTF-8");
        }
        // A byte order mark at a line's start is not part of it (the first
        // line may carry two).
        QByteArrayView bytes = line;
        for (int n = 0; n < (lineNo == 1 ? 2 : 1) && bytes.startsWith(QByteArrayView(kBom)); ++n)
            bytes = bytes.sliced(3);
        if (!splitLine(bytes, text, ends))
            return where(lineNo) + QStringLiteral("unterminated quoted field");
        const auto field = [&](size_t i) {
            const size_t start = i == 0 ? 0 : ends[i - 1];
            return QByteArrayView(text.data() + start, qsizetype(ends[i] - start));
        };
        if (lineNo == 1) {
            for (size_t i = 0; i < ends.size(); ++i) {
                const QString f = CompactRowStore::TextFromUtf8(field(i));
                const qsizetype colon = f.lastIndexOf(u':');
                const QString name = (colon < 0 ? f : f.left(colon)).trimmed();
                TFieldType type = TFieldType::ftString;
                if (colon >= 0 && !typeFromName(f.mid(colon + 1), type))
                    return where(lineNo) + QStringLiteral("unknown field type '%1' (integer, float, string, boolean or date)")
                                               .arg(f.mid(colon + 1));
                if (name.isEmpty())
                    return where(lineNo) + QStringLiteral("empty field name");
                if (names.contains(name, Qt::CaseInsensitive))
                    return where(lineNo) + QStringLiteral("field name '%1' appears twice").arg(name);
                names << name;
                types << type;
            }
            rows.Reset(int(types.size()));
            continue;
        }
        const bool blank = ascii ? QByteArrayView(line).trimmed().isEmpty() : wide.trimmed().isEmpty();
        if (blank)
            continue;
        if (qsizetype(ends.size()) != types.size())
            return where(lineNo) + QStringLiteral("expected %1 fields, found %2").arg(types.size()).arg(ends.size());
        for (size_t i = 0; i < ends.size(); ++i) {
            const QByteArrayView f = field(i);
            if (f.isEmpty())
                continue; // null
            if (!convert(f, types[qsizetype(i)], int(i), rows))
                return where(lineNo) + QStringLiteral("field %1: '%2' is not a valid %3")
                                           .arg(i + 1)
                                           .arg(CompactRowStore::TextFromUtf8(f), typeName(types[qsizetype(i)]));
        }
        rows.EndRow();
    }
    if (!reader.error.isEmpty())
        return where(lineNo + 1) + QStringLiteral("cannot read: %1").arg(reader.error);
    if (lineNo == 0)
        return QStringLiteral("%1: empty file (the first line must name the fields)").arg(fileName);
    for (qsizetype i = 0; i < names.size(); ++i)
        dataSet.DefineField(names[i], types[i]);
    dataSet.SetRecords(std::move(rows));
    dataSet.Open();
    return QString();
}

} // namespace brp
