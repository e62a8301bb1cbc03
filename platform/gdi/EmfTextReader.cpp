#include "EmfTextReader.h"

#include "EmfRecords.h"
#include "Win1252Text.h"

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
                        out[i] = brp::win1252ToQChar(r[at + i]);
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
