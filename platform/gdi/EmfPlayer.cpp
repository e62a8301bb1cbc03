// EMF player core: the header, the record loop and its dispatch to the record
// families, and the common stroke and fill.
#include "EmfPlayer_p.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

using namespace emf;
using namespace emf::play;

namespace emf::play {

bool Player::Sane(const QRectF& r) const
{
    return std::isfinite(r.left()) && std::isfinite(r.top()) && std::isfinite(r.right())
           && std::isfinite(r.bottom()) && std::abs(r.left()) < kMaxCoordinate && std::abs(r.right()) < kMaxCoordinate
           && std::abs(r.top()) < kMaxCoordinate && std::abs(r.bottom()) < kMaxCoordinate;
}

void Player::Draw(const QPainterPath& path, bool fill, bool stroke)
{
    const QTransform l2d = LogicalToDevice();
    if (m_inPath) {
        m_path.addPath(l2d.map(path));
        return;
    }
    StrokeFill(l2d.map(path), fill, stroke);
}

void Player::StrokeFill(const QPainterPath& devicePath, bool fill, bool stroke)
{
    const QTransform t = m_devToTarget * m_base;
    const QRectF box = t.mapRect(devicePath.controlPointRect());
    if (!Sane(box))
        return;
    QPen pen = stroke ? Qpen() : QPen(Qt::NoPen);
    if (pen.style() != Qt::NoPen && pen.style() != Qt::SolidLine) {
        // Dashing very long outlines costs time without showing anything.
        if (box.width() + box.height() > 20000)
            pen.setStyle(Qt::SolidLine);
    }
    if (!pen.isCosmetic() && pen.style() != Qt::NoPen) {
        // Geometric widths are in logical units: scale them like the path.
        const QTransform l2d = LogicalToDevice();
        const double scale = std::sqrt(std::abs(l2d.determinant()));
        const double w = pen.widthF() * (std::isfinite(scale) && scale > 0 ? scale : 1.0);
        pen.setWidthF(w >= 0 ? std::min(kMaxPenWidth, w) : 1.0);
    }
    // Work: the box's visible area and, per scanline, the edges crossing it
    // when filled; the outline's length times the pen's width when stroked.
    const double area = VisibleArea(box);
    if (area <= 0)
        return;
    double length = 0, crossings = 0;
    for (int i = 1; i < devicePath.elementCount(); ++i) {
        const QPainterPath::Element a = devicePath.elementAt(i - 1), b = devicePath.elementAt(i);
        if (!b.isMoveTo()) {
            length += std::abs(b.x - a.x) + std::abs(b.y - a.y);
            crossings += std::abs(b.y - a.y);
        }
    }
    const double scale = std::max(std::abs(t.m11()), std::abs(t.m22()));
    double pixels = fill ? area + kFillEdgeWeight * crossings * scale : 0;
    if (pen.style() != Qt::NoPen) {
        const double width = pen.isCosmetic() ? pen.widthF() : pen.widthF() * scale;
        pixels += length * scale * std::max(1.0, width);
    }
    if (!Spend(0, pixels))
        return;
    QPainterPath p = devicePath;
    p.setFillRule(m_dc.fillRule);
    m_painter->setTransform(t);
    m_painter->setPen(pen);
    m_painter->setBrush(fill ? Qbrush() : QBrush(Qt::NoBrush));
    if (fill && !stroke)
        m_painter->fillPath(p, Qbrush());
    else if (!fill && p.elementCount() > kStrokePiece)
        StrokeInPieces(p);
    else
        m_painter->drawPath(p);
}

void Player::StrokeInPieces(const QPainterPath& path)
{
    // Each piece starts where the last one ended: only the joins between
    // pieces are lost.
    QPainterPath piece;
    const int n = path.elementCount();
    for (int i = 0; i < n; ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.isMoveTo()) {
            piece.moveTo(e);
        } else if (e.isLineTo()) {
            piece.lineTo(e);
        } else if (e.isCurveTo() && i + 2 < n) {
            piece.cubicTo(e, path.elementAt(i + 1), path.elementAt(i + 2));
            i += 2;
        }
        if (piece.elementCount() >= kStrokePiece) {
            const QPointF end = piece.currentPosition();
            m_painter->drawPath(piece);
            piece = QPainterPath();
            piece.moveTo(end);
        }
    }
    if (piece.elementCount() > 1)
        m_painter->drawPath(piece);
}

double Player::VisibleArea(const QRectF& targetBox) const
{
    const QPaintDevice* device = m_painter->device();
    const QRectF box = targetBox.normalized().adjusted(-1, -1, 1, 1);
    if (!device)
        return box.width() * box.height();
    const QRectF visible = box.intersected(QRectF(0, 0, device->width(), device->height()));
    return visible.isEmpty() ? 0 : visible.width() * visible.height();
}

bool Player::Spend(qint64 points, double pixels)
{
    if (m_overBudget)
        return false;
    m_points += points;
    m_pixels += std::max(0.0, pixels);
    if (m_points <= kMaxPagePoints && m_pixels <= m_pixelBudget)
        return true;
    m_overBudget = true;
    return false;
}

bool Player::Need(const Rec& r, quint32 type, quint32 offset, quint32 size)
{
    if (r.n >= size)
        return true;
    Problem(QStringLiteral("record %1 shorter than its fields").arg(type), offset);
    return false;
}

bool Player::Record(quint32 type, const Rec& r, quint32 offset)
{
    if (StateRecord(type, r, offset) || ClipRecord(type, r, offset) || ObjectRecord(type, r, offset)
        || ShapeRecord(type, r, offset))
        return true;
    switch (type) {
    case EMR_EOF:
        return false;
    case EMR_BITBLT:
    case EMR_STRETCHBLT:
    case EMR_STRETCHDIBITS:
    case EMR_SETDIBITSTODEVICE:
    case EMR_ALPHABLEND:
    case EMR_TRANSPARENTBLT:
        Bitmap(r, type, offset);
        break;
    case EMR_EXTTEXTOUTW:
        Text(r, true, offset);
        break;
    case EMR_EXTTEXTOUTA:
        Text(r, false, offset);
        break;
    case EMR_SMALLTEXTOUT:
        SmallText(r, offset);
        break;
    case EMR_GDICOMMENT:
        if (r.Has(8, 8) && r.U32(12) == 0x2B464D45)  // "EMF+"
            ++m_emfPlus;
        return true;
    case EMR_HEADER:
    case EMR_SETMAPPERFLAGS:
    case EMR_SETROP2:
    case EMR_SETSTRETCHBLTMODE:
    case EMR_SETBRUSHORGEX:
    case EMR_SETMETARGN:
    case EMR_SELECTPALETTE:
    case EMR_FLATTENPATH:
    case EMR_WIDENPATH:
        break;
    default:
        ++m_skipped;
        break;
    }
    return true;
}

EmfPlayResult Player::Run()
{
    EmfPlayResult result;
    QString error;
    if (!EmfPlayer::ReadHeader(m_data, &m_header, &error)) {
        result.error = error;
        return result;
    }
    const double fw = m_header.FrameWidthPixels(), fh = m_header.FrameHeightPixels();
    m_pxPerMmX = m_header.MicrometersWidth > 0 ? m_header.DeviceWidth * 1000.0 / m_header.MicrometersWidth
                                               : double(m_header.DeviceWidth) / m_header.MillimetersWidth;
    m_pxPerMmY = m_header.MicrometersHeight > 0 ? m_header.DeviceHeight * 1000.0 / m_header.MicrometersHeight
                                                : double(m_header.DeviceHeight) / m_header.MillimetersHeight;
    double fl = m_header.FrameLeft / 100.0 * m_pxPerMmX;
    double ft = m_header.FrameTop / 100.0 * m_pxPerMmY;
    double w = fw, h = fh;
    if (!(w >= 1) || !(h >= 1)) {
        // No usable frame: fall back on the drawn bounds.
        fl = m_header.BoundsLeft;
        ft = m_header.BoundsTop;
        w = double(m_header.BoundsRight) - m_header.BoundsLeft + 1;
        h = double(m_header.BoundsBottom) - m_header.BoundsTop + 1;
        if (!(w >= 1) || !(h >= 1)) {
            result.error = QStringLiteral("picture has no size");
            return result;
        }
    }
    // The frame's 0.01 mm steps cannot say "exactly 794 pixels": snap sizes
    // within that granularity to whole reference pixels.
    auto snap = [](double v) {
        const double r = std::round(v);
        return std::abs(v - r) < 0.05 ? r : v;
    };
    fl = snap(fl); ft = snap(ft); w = snap(w); h = snap(h);
    const double sx = m_target.width() / w, sy = m_target.height() / h;
    m_devToTarget = QTransform(sx, 0, 0, sy, m_target.left() - fl * sx, m_target.top() - ft * sy);

    m_painter->save();
    m_base = m_painter->transform();
    // Printers draw pages of many more pixels than a screen.
    m_pixelBudget = std::max(kMaxPagePixels, kMaxPageCoverage * VisibleArea(m_base.mapRect(m_target)));
    m_baseClip = m_painter->hasClipping();
    if (m_baseClip)
        m_baseClipPath = m_painter->clipPath();
    m_painter->setRenderHint(QPainter::Antialiasing, false);
    m_painter->setRenderHint(QPainter::TextAntialiasing, true);

    const uchar* data = reinterpret_cast<const uchar*>(m_data.constData());
    const quint32 size = quint32(std::min<qsizetype>(m_data.size(), kMaxBytes));
    quint32 offset = m_header.HeaderSize;
    bool sawEof = false;
    int count = 1;
    while (offset < size) {
        if (size - offset < 8) {
            Problem(QStringLiteral("trailing bytes"), offset);
            break;
        }
        const quint32 type = qFromLittleEndian<quint32>(data + offset);
        const quint32 rsize = qFromLittleEndian<quint32>(data + offset + 4);
        if (rsize < 8 || rsize > size - offset) {
            Problem(QStringLiteral("record size %1 out of range").arg(rsize), offset);
            break;
        }
        if (++count > kMaxRecords) {
            Problem(QStringLiteral("too many records"), offset);
            break;
        }
        const Rec r{data + offset, rsize};
        if (type != EMR_GDICOMMENT && type != EMR_EOF && type != EMR_HEADER)
            ++m_drawing;
        if (!Record(type, r, offset)) {
            sawEof = true;
            break;
        }
        if (m_overBudget) {
            // The problem names the record that went past the budget.
            m_problem.clear();
            Problem(QStringLiteral("page drawing budget spent (%1 points, %2 million pixels); the rest of the page "
                                   "is skipped")
                        .arg(m_points)
                        .arg(qint64(m_pixels / 1e6)),
                    offset);
            break;
        }
        offset += rsize;
    }
    m_painter->restore();
    result.recordsPlayed = count;
    result.recordsSkipped = m_skipped;
    if (!sawEof && m_problem.isEmpty())
        Problem(QStringLiteral("no end-of-file record"), offset);
    if (m_emfPlus > 0 && m_drawing == 0 && m_problem.isEmpty())
        m_problem = QStringLiteral("only EMF+ records, which are not painted");
    if (m_problem.isEmpty()) {
        result.status = EmfPlayResult::Status::Complete;
    } else {
        result.status = EmfPlayResult::Status::Partial;
        result.error = m_problem;
    }
    return result;
}

}  // namespace emf::play

double EmfHeaderInfo::FrameWidthPixels() const
{
    const double ppm = MicrometersWidth > 0 ? DeviceWidth * 1000.0 / MicrometersWidth
                                            : (MillimetersWidth > 0 ? double(DeviceWidth) / MillimetersWidth : 0);
    return (double(FrameRight) - FrameLeft + 1) / 100.0 * ppm;
}

double EmfHeaderInfo::FrameHeightPixels() const
{
    const double ppm = MicrometersHeight > 0 ? DeviceHeight * 1000.0 / MicrometersHeight
                                             : (MillimetersHeight > 0 ? double(DeviceHeight) / MillimetersHeight : 0);
    return (double(FrameBottom) - FrameTop + 1) / 100.0 * ppm;
}

bool EmfPlayer::ReadHeader(const QByteArray& emf, EmfHeaderInfo* info, QString* error)
{
    auto fail = [&](const QString& text) {
        if (error)
            *error = text;
        return false;
    };
    const uchar* p = reinterpret_cast<const uchar*>(emf.constData());
    const qsizetype n = emf.size();
    if (n < 88)
        return fail(QStringLiteral("not an enhanced metafile: %1 bytes is shorter than its header").arg(n));
    auto u32 = [&](int off) { return qFromLittleEndian<quint32>(p + off); };
    auto i32 = [&](int off) { return qFromLittleEndian<qint32>(p + off); };
    if (u32(0) != EMR_HEADER || u32(40) != ENHMETA_SIGNATURE)
        return fail(QStringLiteral("not an enhanced metafile: no header signature"));
    const quint32 hsize = u32(4);
    if (hsize < 88 || hsize > quint64(n) || hsize % 4 != 0)
        return fail(QStringLiteral("enhanced metafile header size %1 out of range").arg(hsize));
    if (quint64(n) > kMaxBytes)
        return fail(QStringLiteral("enhanced metafile larger than %1 bytes").arg(kMaxBytes));
    EmfHeaderInfo h;
    h.HeaderSize = hsize;
    h.BoundsLeft = i32(8); h.BoundsTop = i32(12); h.BoundsRight = i32(16); h.BoundsBottom = i32(20);
    h.FrameLeft = i32(24); h.FrameTop = i32(28); h.FrameRight = i32(32); h.FrameBottom = i32(36);
    h.Bytes = u32(48);
    h.Records = u32(52);
    h.Handles = qFromLittleEndian<quint16>(p + 56);
    const quint32 nDesc = u32(60), offDesc = u32(64);
    h.DeviceWidth = i32(72); h.DeviceHeight = i32(76);
    h.MillimetersWidth = i32(80); h.MillimetersHeight = i32(84);
    if (hsize >= 108) {
        // The header extensions are present only when no description or
        // pixel format starts inside them.
        const quint32 offPf = u32(92);
        if ((nDesc == 0 || offDesc >= 108) && (offPf == 0 || offPf >= 108)) {
            h.MicrometersWidth = i32(100);
            h.MicrometersHeight = i32(104);
        }
    }
    if (h.DeviceWidth <= 0 || h.DeviceHeight <= 0 || h.MillimetersWidth <= 0 || h.MillimetersHeight <= 0)
        return fail(QStringLiteral("enhanced metafile header has no reference device"));
    if (h.MicrometersWidth < 0 || h.MicrometersHeight < 0)
        h.MicrometersWidth = h.MicrometersHeight = 0;
    if (nDesc > 0 && offDesc >= 88 && quint64(offDesc) + quint64(nDesc) * 2 <= hsize) {
        for (quint32 i = 0; i < nDesc; ++i) {
            const quint16 c = qFromLittleEndian<quint16>(p + offDesc + i * 2);
            h.Description.append(c ? QChar(c) : QChar(u'\n'));
        }
        while (h.Description.endsWith(QChar(u'\n')))
            h.Description.chop(1);
    }
    if (info)
        *info = h;
    return true;
}

EmfPlayResult EmfPlayer::Play(const QByteArray& emf, QPainter* painter, const QRectF& target)
{
    if (!painter || !painter->isActive()) {
        EmfPlayResult r;
        r.error = QStringLiteral("no active painter");
        return r;
    }
    if (!target.isValid() || !std::isfinite(target.width()) || !std::isfinite(target.height())) {
        EmfPlayResult r;
        r.error = QStringLiteral("empty target rectangle");
        return r;
    }
    Player player(emf, painter, target);
    return player.Run();
}
