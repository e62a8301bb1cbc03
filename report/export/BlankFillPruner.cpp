#include "BlankFillPruner.h"
#include "EmfRecords.h"

#include <QHash>
#include <QRect>
#include <QRegion>
#include <QtEndian>
#include <algorithm>

using namespace emf;

namespace {
constexpr quint32 kPatCopy = 0x00F00021;
constexpr quint32 kWhite = 0x00FFFFFF;
constexpr quint32 kSolid = 0; // BS_SOLID
// Room around what a record says it covers: for pens wider than their
// bounds, and for glyphs reaching out of their text cell.
constexpr int kPenMargin = 8;
constexpr int kTextMargin = 2;

quint32 u32(const char* p)
{
    return qFromLittleEndian<quint32>(p);
}
qint32 i32(const char* p)
{
    return qFromLittleEndian<qint32>(p);
}

QRect inclusive(qint64 l, qint64 t, qint64 r, qint64 b)
{
    // Bounds far outside any page are taken as covering everything.
    constexpr qint64 limit = 1 << 24;
    if (std::max({std::abs(l), std::abs(t), std::abs(r), std::abs(b)}) > limit)
        return QRect(-limit, -limit, 2 * limit, 2 * limit);
    return QRect(QPoint(int(std::min(l, r)), int(std::min(t, b))), QPoint(int(std::max(l, r)), int(std::max(t, b))));
}

// What a record draws over, when known: its bounds rectangle (or box).
bool drawnArea(quint32 type, const char* rec, quint32 size, QPoint& position, QRect* area)
{
    switch (type) {
    case EMR_EXTTEXTOUTA: case EMR_EXTTEXTOUTW: case EMR_POLYBEZIER16: case EMR_POLYGON16:
    case EMR_POLYLINE16: case EMR_POLYBEZIERTO16: case EMR_POLYLINETO16: case EMR_POLYPOLYLINE16:
    case EMR_POLYPOLYGON16: case EMR_POLYBEZIER: case EMR_POLYGON: case EMR_POLYLINE:
    case EMR_POLYBEZIERTO: case EMR_POLYLINETO: case EMR_POLYPOLYLINE: case EMR_POLYPOLYGON:
    case EMR_BITBLT: case EMR_STRETCHBLT: case EMR_STRETCHDIBITS: case EMR_FILLRGN: case EMR_PAINTRGN:
    case EMR_FRAMERGN: case EMR_ELLIPSE: case EMR_RECTANGLE: case EMR_ROUNDRECT: case EMR_ARC:
    case EMR_CHORD: case EMR_PIE: case EMR_ALPHABLEND: case EMR_TRANSPARENTBLT: case EMR_SETDIBITSTODEVICE:
        // Without bounds (right before left) the record cannot be placed.
        if (size < 24 || i32(rec + 16) < i32(rec + 8) || i32(rec + 20) < i32(rec + 12))
            return false;
        *area = inclusive(i32(rec + 8), i32(rec + 12), i32(rec + 16), i32(rec + 20));
        return true;
    case EMR_LINETO: {
        if (size < 16)
            return false;
        const QPoint to(i32(rec + 8), i32(rec + 12));
        *area = inclusive(position.x(), position.y(), to.x(), to.y());
        position = to;
        return true;
    }
    default:
        return false;
    }
}

bool changesNothingDrawn(quint32 type)
{
    switch (type) {
    case EMR_HEADER: case EMR_EOF: case EMR_SETBKMODE: case EMR_SETTEXTALIGN: case EMR_SETTEXTCOLOR:
    case EMR_SETBKCOLOR: case EMR_SETPOLYFILLMODE: case EMR_SETROP2: case EMR_SETSTRETCHBLTMODE:
    case EMR_SETMITERLIMIT: case EMR_SETBRUSHORGEX: case EMR_SETMAPPERFLAGS: case EMR_GDICOMMENT:
    case EMR_INTERSECTCLIPRECT: case EMR_EXCLUDECLIPRECT: case EMR_EXTSELECTCLIPRGN: case EMR_SELECTCLIPPATH:
    case EMR_OFFSETCLIPRGN: case EMR_SETMETARGN: case EMR_SAVEDC: case EMR_CREATEPEN: case EMR_EXTCREATEPEN:
    case EMR_EXTCREATEFONTINDIRECTW: case EMR_CREATEBRUSHINDIRECT: case EMR_SELECTOBJECT: case EMR_DELETEOBJECT:
    case EMR_SELECTPALETTE: case EMR_CREATEPALETTE: case EMR_SETARCDIRECTION:
        return true;
    default:
        return false;
    }
}
} // namespace

namespace brp {

QByteArray PruneBlankFills(const QByteArray& emf)
{
    const char* data = emf.constData();
    const quint32 total = quint32(std::min<qsizetype>(emf.size(), 0x7FFFFFFF));
    if (total < 88 || u32(data) != EMR_HEADER || u32(data + 40) != ENHMETA_SIGNATURE)
        return emf;
    const quint32 headerSize = u32(data + 4);
    if (headerSize < 88 || headerSize > total || headerSize % 4)
        return emf;

    // Handles of solid white brushes; the selected brush: white or not.
    QHash<quint32, bool> whiteBrush;
    bool brushWhite = false;
    bool pruning = true;
    QPoint position;
    QRegion inked;
    QByteArray out;
    out.reserve(emf.size());
    out.append(data, headerSize);
    quint32 records = 1;
    bool dropped = false;
    for (quint32 offset = headerSize; offset < total;) {
        if (total - offset < 8)
            return emf;
        const char* rec = data + offset;
        const quint32 type = u32(rec), size = u32(rec + 4);
        if (size < 8 || size % 4 || size > total - offset)
            return emf;
        bool drop = false;
        if (pruning) {
            QRect area;
            if (type == EMR_CREATEBRUSHINDIRECT && size >= 24) {
                whiteBrush[u32(rec + 8)] = u32(rec + 12) == kSolid && (u32(rec + 16) & 0xFFFFFF) == kWhite;
            } else if (type == EMR_SELECTOBJECT && size >= 12) {
                const quint32 handle = u32(rec + 8);
                if (handle & STOCK_BIT) {
                    const quint32 stock = handle & ~STOCK_BIT;
                    if (stock <= NULL_BRUSH || stock == DC_BRUSH)
                        brushWhite = stock == WHITE_BRUSH;
                } else if (whiteBrush.contains(handle)) {
                    brushWhite = whiteBrush.value(handle);
                }
            } else if (type == EMR_DELETEOBJECT && size >= 12) {
                whiteBrush.remove(u32(rec + 8));
            } else if (type == EMR_RESTOREDC) {
                brushWhite = false; // the brush it brings back is not tracked
            } else if (type == EMR_MOVETOEX && size >= 16) {
                position = QPoint(i32(rec + 8), i32(rec + 12));
            } else if (type == EMR_BITBLT && size >= 100 && u32(rec + 40) == kPatCopy && u32(rec + 88) == 0 &&
                       u32(rec + 96) == 0 && brushWhite) {
                // A brush fill without a source: x, y, width, height at 24.
                const qint32 x = i32(rec + 24), y = i32(rec + 28), w = i32(rec + 32), h = i32(rec + 36);
                const QRect fill = inclusive(x, y, qint64(x) + w - 1, qint64(y) + h - 1);
                drop = w > 0 && h > 0 && !inked.intersects(fill);
                if (!drop)
                    inked += fill;
            } else if (drawnArea(type, rec, size, position, &area)) {
                const int m = type == EMR_EXTTEXTOUTW || type == EMR_EXTTEXTOUTA ? kTextMargin : kPenMargin;
                inked += area.adjusted(-m, -m, m, m);
            } else if (!changesNothingDrawn(type)) {
                pruning = false; // a transform or a record not understood
            }
        }
        if (drop) {
            dropped = true;
        } else {
            out.append(rec, size);
            ++records;
        }
        offset += size;
    }
    if (!dropped)
        return emf;
    qToLittleEndian<quint32>(quint32(out.size()), out.data() + 48);
    qToLittleEndian<quint32>(records - 1, out.data() + 52);
    return out;
}

} // namespace brp
