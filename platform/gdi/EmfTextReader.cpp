#include "EmfTextReader.h"

#include "EmfRecords.h"

#include <QtEndian>

using namespace emf;

namespace {

// Record fields of EMR_EXTTEXTOUTW/A: bounds at 8, the reference point at
// 36, then the character count, the string's offset, the options and the
// text's own rectangle.
constexpr quint32 kBounds = 8, kReference = 36, kChars = 44, kStringOffset = 48, kTextRect = 56;

qint32 i32(const uchar* p)
{
    return qFromLittleEndian<qint32>(p);
}

QRect rectAt(const uchar* p)
{
    return QRect(QPoint(i32(p), i32(p + 4)), QPoint(i32(p + 8), i32(p + 12)));
}

// The text's box: the record's bounds, else its own rectangle, else its
// reference point (writers may leave both empty).
QRect textBox(const uchar* r)
{
    const QRect bounds = rectAt(r + kBounds);
    if (bounds.isValid())
        return bounds;
    const QRect own = rectAt(r + kTextRect);
    if (own.isValid())
        return own;
    return QRect(i32(r + kReference), i32(r + kReference + 4), 1, 1);
}

QChar ansi(uchar c)
{
    static const char16_t high[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    return (c >= 0x80 && c < 0xA0) ? QChar(high[c - 0x80]) : QChar(QLatin1Char(char(c)));
}

} // namespace

namespace EmfTextReader {

bool ForEachText(const QByteArray& emf, const Visitor& visit)
{
    const auto* data = reinterpret_cast<const uchar*>(emf.constData());
    const quint64 size = quint64(emf.size());
    if (size < 8 || qFromLittleEndian<quint32>(data) != EMR_HEADER)
        return false;
    QString buffer;
    quint64 offset = 0;
    while (size - offset >= 8) {
        const uchar* r = data + offset;
        const quint32 type = qFromLittleEndian<quint32>(r);
        const quint32 n = qFromLittleEndian<quint32>(r + 4);
        if (n < 8 || n % 4 != 0 || n > size - offset)
            break;
        if (type == EMR_EOF)
            break;
        if ((type == EMR_EXTTEXTOUTW || type == EMR_EXTTEXTOUTA) && n >= quint32(kExtTextOutHeader)) {
            const quint32 chars = qFromLittleEndian<quint32>(r + kChars);
            const quint32 at = qFromLittleEndian<quint32>(r + kStringOffset);
            const quint64 bytes = quint64(chars) * (type == EMR_EXTTEXTOUTW ? 2 : 1);
            if (chars > 0 && at >= 8 && at <= n && bytes <= n - at) {
                buffer.resize(qsizetype(chars));
                QChar* out = buffer.data();
                if (type == EMR_EXTTEXTOUTW) {
                    for (quint32 i = 0; i < chars; ++i)
                        out[i] = QChar(qFromLittleEndian<quint16>(r + at + 2 * i));
                } else {
                    for (quint32 i = 0; i < chars; ++i)
                        out[i] = ansi(r[at + i]);
                }
                visit(textBox(r), QStringView(buffer));
            }
        }
        offset += n;
    }
    return true;
}

std::vector<TextRun> ReadTextRuns(const QByteArray& emf)
{
    std::vector<TextRun> runs;
    ForEachText(emf, [&](const QRect& rect, QStringView text) { runs.push_back({text.toString(), rect}); });
    return runs;
}

} // namespace EmfTextReader
