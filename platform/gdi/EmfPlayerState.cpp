// EMF player: mapping modes, transforms, saved states and clipping.
#include "EmfPlayer_p.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

using namespace emf;

namespace emf::play {

QTransform Player::PageTransform() const
{
    double sx = 1, sy = 1;
    const double ppmx = m_pxPerMmX, ppmy = m_pxPerMmY;
    switch (m_dc.mapMode) {
    case MM_LOMETRIC: sx = ppmx / 10; sy = -ppmy / 10; break;
    case MM_HIMETRIC: sx = ppmx / 100; sy = -ppmy / 100; break;
    case MM_LOENGLISH: sx = ppmx * 0.254; sy = -ppmy * 0.254; break;
    case MM_HIENGLISH: sx = ppmx * 0.0254; sy = -ppmy * 0.0254; break;
    case MM_TWIPS: sx = ppmx * 25.4 / 1440; sy = -ppmy * 25.4 / 1440; break;
    case MM_ISOTROPIC:
    case MM_ANISOTROPIC: {
        const QSizeF w = m_dc.winExt, v = m_dc.vpExt;
        if (w.width() != 0 && w.height() != 0) {
            sx = v.width() / w.width();
            sy = v.height() / w.height();
        }
        if (m_dc.mapMode == MM_ISOTROPIC) {
            const double m = std::min(std::abs(sx), std::abs(sy));
            sx = sx < 0 ? -m : m;
            sy = sy < 0 ? -m : m;
        }
        break;
    }
    default: break;
    }
    if (!std::isfinite(sx) || !std::isfinite(sy) || sx == 0 || sy == 0)
        sx = sy = 1;
    return QTransform(sx, 0, 0, sy, m_dc.vpOrg.x() - m_dc.winOrg.x() * sx, m_dc.vpOrg.y() - m_dc.winOrg.y() * sy);
}

void Player::ApplyClip()
{
    m_painter->setTransform(m_base);
    if (m_baseClip)
        m_painter->setClipPath(m_baseClipPath);
    else
        m_painter->setClipping(false);
    if (m_dc.hasClip) {
        m_painter->setTransform(m_devToTarget * m_base);
        m_painter->setClipRegion(m_dc.clip, m_baseClip ? Qt::IntersectClip : Qt::ReplaceClip);
    }
}

void Player::RestoreDc(qint32 which)
{
    // Negative: relative to the current state; positive: an absolute level.
    qint64 target = which < 0 ? qint64(m_stack.size()) + which : qint64(which) - 1;
    if (target < 0 || target >= qint64(m_stack.size()))
        return;
    m_dc = m_stack[size_t(target)];
    m_stack.resize(size_t(target));
    ApplyClip();
}

std::optional<QRegion> Player::RegionData(const Rec& r, quint32 at, quint32 size)
{
    // RGNDATAHEADER (32 bytes: size, type, count, bytes, bounds) then
    // rectangles in device units.
    if (size < 32 || !r.Has(at, size))
        return std::nullopt;
    const quint32 count = r.U32(at + 8);
    if (quint64(count) * 16 > size - 32)
        return std::nullopt;
    auto c = [&](quint32 o) { return std::clamp(r.I32(o), -int(kMaxCoordinate), int(kMaxCoordinate)); };
    auto rect = [&](quint32 o) {
        return QRect(QPoint(c(o), c(o + 4)), QPoint(c(o + 8), c(o + 12)))
            .normalized()
            .adjusted(0, 0, -1, -1);
    };
    if (count > kMaxRegionRects)
        return QRegion(rect(at + 16));
    QRegion region;
    for (quint32 i = 0; i < count; ++i)
        region += rect(at + 32 + i * 16);
    return region;
}

QRegion Player::ToRegion(const QPainterPath& devicePath)
{
    const QRectF box = devicePath.boundingRect();
    if (!(std::abs(box.left()) < kMaxCoordinate && std::abs(box.right()) < kMaxCoordinate
          && std::abs(box.top()) < kMaxCoordinate && std::abs(box.bottom()) < kMaxCoordinate))
        return QRegion(QRect(QPoint(-int(kMaxCoordinate), -int(kMaxCoordinate)),
                             QPoint(int(kMaxCoordinate), int(kMaxCoordinate))));
    // QRegion gives up on a polygon more than 100000 pixels tall (an empty
    // region, and its tables leak), and regions that tall are slow to clip with:
    // cut the path to a window larger than any page.
    constexpr double kWindow = 16384;
    QPainterPath path = devicePath;
    const QRectF window(-kWindow, -kWindow, 2 * kWindow, 2 * kWindow);
    if (!window.contains(box)) {
        QPainterPath w;
        w.addRect(window);
        path = devicePath.intersected(w);
    }
    QRegion region;
    for (const QPolygonF& poly : path.toFillPolygons())
        region += QRegion(poly.toPolygon(), path.fillRule());
    return region;
}

void Player::CombineClip(const QRegion& region, quint32 mode)
{
    const QRegion current = m_dc.hasClip
                                ? m_dc.clip
                                : QRegion(QRect(QPoint(-int(kMaxCoordinate), -int(kMaxCoordinate)),
                                                QPoint(int(kMaxCoordinate), int(kMaxCoordinate))));
    switch (mode) {
    case RGN_AND: m_dc.clip = current.intersected(region); break;
    case RGN_OR: m_dc.clip = current.united(region); break;
    case RGN_XOR: m_dc.clip = current.xored(region); break;
    case RGN_DIFF: m_dc.clip = current.subtracted(region); break;
    default: m_dc.clip = region; break;
    }
    m_dc.hasClip = true;
    ApplyClip();
}

void Player::Region(const Rec& r, quint32 type, quint32 offset)
{
    if (type == EMR_EXTSELECTCLIPRGN) {
        if (!r.Has(0, 16)) return Problem(QStringLiteral("short clip record"), offset);
        const quint32 size = r.U32(8), mode = r.U32(12);
        if (size == 0) {
            // No region: RGN_COPY removes the clipping, other modes do nothing.
            // Removing a clip that is not there changes nothing; telling the
            // painter anyway would start a graphics state in a PDF (every
            // label removes its clip, set or not).
            if (mode == RGN_COPY && m_dc.hasClip) {
                m_dc.hasClip = false;
                m_dc.clip = QRegion();
                ApplyClip();
            }
            return;
        }
        const auto region = RegionData(r, 16, size);
        if (!region) return Problem(QStringLiteral("bad clip region"), offset);
        CombineClip(*region, mode);
        return;
    }
    // FILLRGN (brush at 28, data at 32) and PAINTRGN (current brush, data at 28).
    if (!r.Has(0, 28)) return Problem(QStringLiteral("short region record"), offset);
    const quint32 size = r.U32(24);
    BrushObj brush = m_dc.brush;
    quint32 at = 28;
    if (type == EMR_FILLRGN) {
        if (!r.Has(0, 32)) return Problem(QStringLiteral("short region record"), offset);
        const quint32 h = r.U32(28);
        if (h & STOCK_BIT) {
            const BrushObj keep = m_dc.brush;
            SelectObject(h);
            brush = m_dc.brush;
            m_dc.brush = keep;
        } else if (auto it = m_objects.find(h); it != m_objects.end() && it->second.kind == Obj::Brush) {
            brush = it->second.brush;
        }
        at = 32;
    }
    const auto region = RegionData(r, at, size);
    if (!region) return Problem(QStringLiteral("bad region"), offset);
    const BrushObj keep = m_dc.brush;
    m_dc.brush = brush;
    QPainterPath path;
    path.addRegion(*region);
    StrokeFill(path, true, false);
    m_dc.brush = keep;
}

bool Player::StateRecord(quint32 type, const Rec& r, quint32 offset)
{
    switch (type) {
    case EMR_SETWINDOWEXTEX:
        if (Need(r, type, offset, 16)) m_dc.winExt = QSizeF(r.I32(8), r.I32(12));
        break;
    case EMR_SETWINDOWORGEX:
        if (Need(r, type, offset, 16)) m_dc.winOrg = QPointF(r.I32(8), r.I32(12));
        break;
    case EMR_SETVIEWPORTEXTEX:
        if (Need(r, type, offset, 16)) m_dc.vpExt = QSizeF(r.I32(8), r.I32(12));
        break;
    case EMR_SETVIEWPORTORGEX:
        if (Need(r, type, offset, 16)) m_dc.vpOrg = QPointF(r.I32(8), r.I32(12));
        break;
    case EMR_SCALEVIEWPORTEXTEX:
    case EMR_SCALEWINDOWEXTEX:
        if (Need(r, type, offset, 24)) {
            const qint32 xn = r.I32(8), xd = r.I32(12), yn = r.I32(16), yd = r.I32(20);
            if (xd != 0 && yd != 0) {
                QSizeF& e = type == EMR_SCALEVIEWPORTEXTEX ? m_dc.vpExt : m_dc.winExt;
                e = QSizeF(e.width() * xn / xd, e.height() * yn / yd);
            }
        }
        break;
    case EMR_SETMAPMODE:
        if (Need(r, type, offset, 12)) m_dc.mapMode = r.U32(8);
        break;
    case EMR_SETBKMODE:
        if (Need(r, type, offset, 12)) m_dc.bkMode = int(r.U32(8));
        break;
    case EMR_SETPOLYFILLMODE:
        if (Need(r, type, offset, 12)) m_dc.fillRule = r.U32(8) == 2 ? Qt::WindingFill : Qt::OddEvenFill;
        break;
    case EMR_SETTEXTALIGN:
        if (Need(r, type, offset, 12)) m_dc.textAlign = r.U32(8);
        break;
    case EMR_SETTEXTCOLOR:
        if (Need(r, type, offset, 12)) m_dc.textColor = ColorRef(r.U32(8));
        break;
    case EMR_SETBKCOLOR:
        if (Need(r, type, offset, 12)) m_dc.bkColor = ColorRef(r.U32(8));
        break;
    case EMR_SETARCDIRECTION:
        if (Need(r, type, offset, 12)) m_dc.clockwise = r.U32(8) == 2;
        break;
    case EMR_SETMITERLIMIT:
        if (Need(r, type, offset, 12)) m_dc.miterLimit = std::clamp(double(r.U32(8)), 1.0, 100.0);
        break;
    case EMR_SAVEDC:
        if (m_stack.size() < size_t(kMaxSaveDepth))
            m_stack.push_back(m_dc);
        break;
    case EMR_RESTOREDC:
        if (Need(r, type, offset, 12)) RestoreDc(r.I32(8));
        break;
    case EMR_SETWORLDTRANSFORM:
    case EMR_MODIFYWORLDTRANSFORM:
        if (Need(r, type, offset, 32)) {
            const float v[6] = {r.F32(8), r.F32(12), r.F32(16), r.F32(20), r.F32(24), r.F32(28)};
            for (float x : v)
                if (!std::isfinite(x) || std::abs(x) > 1e9f)
                    return true;
            const QTransform x(v[0], v[1], v[2], v[3], v[4], v[5]);
            if (type == EMR_SETWORLDTRANSFORM) {
                m_dc.world = x;
            } else if (Need(r, type, offset, 36)) {
                switch (r.U32(32)) {
                case MWT_IDENTITY: m_dc.world = QTransform(); break;
                case MWT_LEFTMULTIPLY: m_dc.world = x * m_dc.world; break;
                case MWT_RIGHTMULTIPLY: m_dc.world = m_dc.world * x; break;
                case MWT_SET: m_dc.world = x; break;
                default: break;
                }
            }
        }
        break;
    default:
        return false;
    }
    return true;
}

bool Player::ClipRecord(quint32 type, const Rec& r, quint32 offset)
{
    switch (type) {
    case EMR_SELECTCLIPPATH:
        m_inPath = false;
        CombineClip(ToRegion(m_path), Need(r, type, offset, 12) ? r.U32(8) : RGN_COPY);
        m_path = QPainterPath();
        break;
    case EMR_INTERSECTCLIPRECT:
    case EMR_EXCLUDECLIPRECT:
        if (Need(r, type, offset, 24)) {
            QPainterPath p;
            p.addRect(QRectF(QPointF(r.I32(8), r.I32(12)), QPointF(r.I32(16), r.I32(20))).normalized());
            CombineClip(ToRegion(LogicalToDevice().map(p)), type == EMR_INTERSECTCLIPRECT ? RGN_AND : RGN_DIFF);
        }
        break;
    case EMR_OFFSETCLIPRGN:
        if (Need(r, type, offset, 16) && m_dc.hasClip) {
            m_dc.clip.translate(std::clamp(r.I32(8), -1000000, 1000000), std::clamp(r.I32(12), -1000000, 1000000));
            ApplyClip();
        }
        break;
    case EMR_EXTSELECTCLIPRGN:
    case EMR_FILLRGN:
    case EMR_PAINTRGN:
        Region(r, type, offset);
        break;
    default:
        return false;
    }
    return true;
}

}  // namespace emf::play
