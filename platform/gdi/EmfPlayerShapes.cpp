// EMF player: lines, rectangles, ellipses, arcs, polylines, polygons and paths.
#include "EmfPlayer_p.h"

#include <algorithm>
#include <cmath>

using namespace emf;

namespace emf::play {

void Player::Polyline(const Rec& r, bool bits16, quint32 type, quint32 offset)
{
    if (!r.Has(0, 28)) return Problem(QStringLiteral("short polyline"), offset);
    const quint32 count = r.U32(24);
    const quint32 sz = bits16 ? 4 : 8;
    if (quint64(count) * sz > r.n - 28) return Problem(QStringLiteral("point count beyond record"), offset);
    if (!Spend(count, 0))
        return;
    QPolygonF pts;
    pts.reserve(int(count));
    for (quint32 i = 0; i < count; ++i) {
        const quint32 o = 28 + i * sz;
        pts.append(bits16 ? QPointF(r.I16(o), r.I16(o + 2)) : QPointF(r.I32(o), r.I32(o + 4)));
    }
    if (pts.isEmpty())
        return;
    const quint32 base = bits16 ? type - (EMR_POLYBEZIER16 - EMR_POLYBEZIER) : type;
    QPainterPath path;
    const bool to = base == EMR_POLYLINETO || base == EMR_POLYBEZIERTO;
    const bool bezier = base == EMR_POLYBEZIER || base == EMR_POLYBEZIERTO;
    int i = 0;
    if (to) {
        path.moveTo(m_dc.cur);
    } else {
        path.moveTo(pts[0]);
        i = 1;
    }
    if (bezier) {
        for (; i + 2 < pts.size(); i += 3)
            path.cubicTo(pts[i], pts[i + 1], pts[i + 2]);
    } else {
        for (; i < pts.size(); ++i)
            path.lineTo(pts[i]);
    }
    if (base == EMR_POLYGON)
        path.closeSubpath();
    if (to)
        m_dc.cur = pts.last();
    if (m_inPath && to) {
        // Continue the current figure instead of starting a new one.
        const QTransform l2d = LogicalToDevice();
        for (int k = 1; k < path.elementCount(); ++k) {
            const QPainterPath::Element e = path.elementAt(k);
            if (e.type == QPainterPath::LineToElement)
                m_path.lineTo(l2d.map(QPointF(e.x, e.y)));
            else if (e.type == QPainterPath::CurveToElement && k + 2 < path.elementCount()) {
                m_path.cubicTo(l2d.map(QPointF(e.x, e.y)),
                               l2d.map(QPointF(path.elementAt(k + 1).x, path.elementAt(k + 1).y)),
                               l2d.map(QPointF(path.elementAt(k + 2).x, path.elementAt(k + 2).y)));
                k += 2;
            }
        }
        return;
    }
    Draw(path, base == EMR_POLYGON, true);
}

void Player::Polypoly(const Rec& r, bool bits16, bool polygon, quint32 offset)
{
    if (!r.Has(0, 32)) return Problem(QStringLiteral("short polypolygon"), offset);
    const quint32 polys = r.U32(24), total = r.U32(28);
    const quint32 sz = bits16 ? 4 : 8;
    if (quint64(polys) * 4 + quint64(total) * sz > r.n - 32)
        return Problem(QStringLiteral("polygon counts beyond record"), offset);
    quint64 sum = 0;
    for (quint32 k = 0; k < polys; ++k)
        sum += r.U32(32 + k * 4);
    if (sum > total) return Problem(QStringLiteral("polygon counts disagree"), offset);
    if (!Spend(qint64(sum) + polys, 0))
        return;
    QPainterPath path;
    quint32 at = 32 + polys * 4;
    for (quint32 k = 0; k < polys; ++k) {
        const quint32 n = r.U32(32 + k * 4);
        for (quint32 i = 0; i < n; ++i, at += sz) {
            const QPointF p = bits16 ? QPointF(r.I16(at), r.I16(at + 2)) : QPointF(r.I32(at), r.I32(at + 4));
            if (i == 0)
                path.moveTo(p);
            else
                path.lineTo(p);
        }
        if (polygon && n > 0)
            path.closeSubpath();
    }
    Draw(path, polygon, true);
}

void Player::Polydraw(const Rec& r, bool bits16, quint32 offset)
{
    if (!r.Has(0, 28)) return Problem(QStringLiteral("short polydraw"), offset);
    const quint32 count = r.U32(24);
    const quint32 sz = bits16 ? 4 : 8;
    if (quint64(count) * (sz + 1) > r.n - 28) return Problem(QStringLiteral("point count beyond record"), offset);
    if (!Spend(count, 0))
        return;
    QPainterPath path;
    path.moveTo(m_dc.cur);
    const quint32 types = 28 + count * sz;
    for (quint32 i = 0; i < count; ++i) {
        const quint32 o = 28 + i * sz;
        const QPointF p = bits16 ? QPointF(r.I16(o), r.I16(o + 2)) : QPointF(r.I32(o), r.I32(o + 4));
        const quint8 t = r.p[types + i];
        if ((t & 6) == 6) {
            path.moveTo(p);
        } else if ((t & 6) == 4 && i + 2 < count) {
            const quint32 o1 = o + sz, o2 = o + 2 * sz;
            const QPointF p1 = bits16 ? QPointF(r.I16(o1), r.I16(o1 + 2)) : QPointF(r.I32(o1), r.I32(o1 + 4));
            const QPointF p2 = bits16 ? QPointF(r.I16(o2), r.I16(o2 + 2)) : QPointF(r.I32(o2), r.I32(o2 + 4));
            path.cubicTo(p, p1, p2);
            i += 2;
        } else {
            path.lineTo(p);
        }
        if (t & 1)
            path.closeSubpath();
        m_dc.cur = path.currentPosition();
    }
    Draw(path, false, true);
}

void Player::Arc(const Rec& r, quint32 type)
{
    const QRectF box(QPointF(r.I32(8), r.I32(12)), QPointF(r.I32(16), r.I32(20)));
    const QRectF b = box.normalized();
    const QPointF c = b.center();
    auto angle = [&](double x, double y) {
        // Angles on the ellipse, counter-clockwise on screen, in degrees.
        const double a = std::atan2(-(y - c.y()) / std::max(b.height(), 1e-9),
                                    (x - c.x()) / std::max(b.width(), 1e-9));
        return a * 180 / M_PI;
    };
    const double a1 = angle(r.I32(24), r.I32(28));
    const double a2 = angle(r.I32(32), r.I32(36));
    double sweep = a2 - a1;
    if (m_dc.clockwise) {
        while (sweep >= 0) sweep -= 360;
    } else {
        while (sweep <= 0) sweep += 360;
    }
    QPainterPath path;
    if (type == EMR_PIE) {
        path.moveTo(c);
        path.arcTo(b, a1, sweep);
        path.closeSubpath();
    } else {
        path.arcMoveTo(b, a1);
        if (type == EMR_ARCTO) {
            QPainterPath p2;
            p2.moveTo(m_dc.cur);
            p2.lineTo(path.currentPosition());
            p2.arcTo(b, a1, sweep);
            path = p2;
        } else {
            path.arcTo(b, a1, sweep);
        }
        if (type == EMR_CHORD)
            path.closeSubpath();
    }
    if (type == EMR_ARCTO)
        m_dc.cur = path.currentPosition();
    Draw(path, type == EMR_CHORD || type == EMR_PIE, true);
}

bool Player::ShapeRecord(quint32 type, const Rec& r, quint32 offset)
{
    switch (type) {
    case EMR_MOVETOEX:
        if (Need(r, type, offset, 16)) {
            m_dc.cur = QPointF(r.I32(8), r.I32(12));
            if (m_inPath)
                m_path.moveTo(LogicalToDevice().map(m_dc.cur));
        }
        break;
    case EMR_LINETO:
        if (Need(r, type, offset, 16)) {
            const QPointF to(r.I32(8), r.I32(12));
            if (m_inPath) {
                if (m_path.elementCount() == 0)
                    m_path.moveTo(LogicalToDevice().map(m_dc.cur));
                m_path.lineTo(LogicalToDevice().map(to));
            } else {
                QPainterPath p;
                p.moveTo(m_dc.cur);
                p.lineTo(to);
                Draw(p, false, true);
            }
            m_dc.cur = to;
        }
        break;
    case EMR_RECTANGLE:
    case EMR_ELLIPSE:
    case EMR_ROUNDRECT:
        if (Need(r, type, offset, type == EMR_ROUNDRECT ? 32 : 24)) {
            QRectF box = QRectF(QPointF(r.I32(8), r.I32(12)), QPointF(r.I32(16), r.I32(20))).normalized();
            // The box excludes its right and bottom; the pen is centred on
            // the outline through the outer pixel centres.
            const QTransform l2d = LogicalToDevice();
            const double half = 0.5 / std::max(1e-9, std::abs(l2d.m11()));
            const double halfY = 0.5 / std::max(1e-9, std::abs(l2d.m22()));
            const bool stroke = !(m_dc.pen.null || (m_dc.pen.style & PS_STYLE_MASK) == PS_NULL);
            if (stroke && box.width() > 2 * half && box.height() > 2 * halfY)
                box.adjust(half, halfY, -half, -halfY);
            QPainterPath p;
            if (type == EMR_RECTANGLE)
                p.addRect(box);
            else if (type == EMR_ELLIPSE)
                p.addEllipse(box);
            else
                p.addRoundedRect(box, std::abs(r.I32(24)) / 2.0, std::abs(r.I32(28)) / 2.0);
            Draw(p, true, true);
        }
        break;
    case EMR_ARC:
    case EMR_CHORD:
    case EMR_PIE:
    case EMR_ARCTO:
        if (Need(r, type, offset, 40)) Arc(r, type);
        break;
    case EMR_ANGLEARC:
        break;
    case EMR_POLYBEZIER: case EMR_POLYGON: case EMR_POLYLINE: case EMR_POLYBEZIERTO: case EMR_POLYLINETO:
        Polyline(r, false, type, offset);
        break;
    case EMR_POLYBEZIER16: case EMR_POLYGON16: case EMR_POLYLINE16: case EMR_POLYBEZIERTO16:
    case EMR_POLYLINETO16:
        Polyline(r, true, type, offset);
        break;
    case EMR_POLYPOLYLINE: case EMR_POLYPOLYGON:
        Polypoly(r, false, type == EMR_POLYPOLYGON, offset);
        break;
    case EMR_POLYPOLYLINE16: case EMR_POLYPOLYGON16:
        Polypoly(r, true, type == EMR_POLYPOLYGON16, offset);
        break;
    case EMR_POLYDRAW:
        Polydraw(r, false, offset);
        break;
    case EMR_POLYDRAW16:
        Polydraw(r, true, offset);
        break;
    case EMR_SETPIXELV:
        if (Need(r, type, offset, 20)) {
            QPainterPath p;
            p.addRect(QRectF(r.I32(8), r.I32(12), 1, 1));
            const BrushObj keep = m_dc.brush;
            const PenObj pen = m_dc.pen;
            m_dc.brush = BrushObj{false, ColorRef(r.U32(16)), -1, {}};
            m_dc.pen.null = true;
            Draw(p, true, false);
            m_dc.brush = keep;
            m_dc.pen = pen;
        }
        break;
    case EMR_BEGINPATH:
        m_inPath = true;
        m_path = QPainterPath();
        break;
    case EMR_ENDPATH:
        m_inPath = false;
        break;
    case EMR_ABORTPATH:
        m_inPath = false;
        m_path = QPainterPath();
        break;
    case EMR_CLOSEFIGURE:
        if (m_inPath)
            m_path.closeSubpath();
        break;
    case EMR_FILLPATH:
    case EMR_STROKEPATH:
    case EMR_STROKEANDFILLPATH:
        m_inPath = false;
        StrokeFill(m_path, type != EMR_STROKEPATH, type != EMR_FILLPATH);
        m_path = QPainterPath();
        break;
    default:
        return false;
    }
    return true;
}

}  // namespace emf::play
