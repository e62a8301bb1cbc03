#include "EmfPlayer.h"

#include "EmfRecords.h"
#include "FontMapper.h"
#include "TextMeasure.h"

#include <QGlyphRun>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <optional>
#include <vector>

using namespace emf;

namespace {

// Limits that keep hostile files from exhausting time or memory.
constexpr quint32 kMaxBytes = quint32(EmfPlayer::MaxBytes);
constexpr int kMaxRecords = 4 * 1024 * 1024;
constexpr quint32 kMaxObjects = 0x10000;       // handle indexes are 16-bit
constexpr int kMaxSaveDepth = 1024;
constexpr qint64 kMaxDibPixels = 32 * 1024 * 1024;
constexpr int kMaxDibSide = 32768;
constexpr double kMaxCoordinate = 1e7;         // target pixels
constexpr quint32 kMaxRegionRects = 4096;      // beyond, a region's bounding box stands in
constexpr qint64 kMaxPatternPixels = 16 * 1024 * 1024;  // all pattern brushes together
constexpr double kMaxCachedGlyph = 256;        // target pixels of em height
constexpr double kMaxPenWidth = 16384;         // target pixels (QPen refuses 32768 and up)

// Bounds-checked little-endian view of one record.
struct Rec {
    const uchar* p = nullptr;
    quint32 n = 0;
    bool has(quint64 off, quint64 len) const { return off <= n && len <= n - off; }
    quint32 u32(quint32 off) const { return qFromLittleEndian<quint32>(p + off); }
    qint32 i32(quint32 off) const { return qFromLittleEndian<qint32>(p + off); }
    quint16 u16(quint32 off) const { return qFromLittleEndian<quint16>(p + off); }
    qint16 i16(quint32 off) const { return qFromLittleEndian<qint16>(p + off); }
    float f32(quint32 off) const
    {
        const quint32 u = u32(off);
        float f;
        std::memcpy(&f, &u, 4);
        return f;
    }
};

QColor ColorRef(quint32 c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }

// Windows-1252 for the 8-bit text records.
QString DecodeAnsi(const uchar* s, int n)
{
    static const char16_t high[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    QString out;
    out.resize(n);
    for (int i = 0; i < n; ++i)
        out[i] = (s[i] >= 0x80 && s[i] < 0xA0) ? QChar(high[s[i] - 0x80]) : QChar(s[i]);
    return out;
}

struct PenObj {
    bool null = false;
    quint32 style = PS_SOLID;
    double width = 0;  // logical units; 0 draws one device pixel
    bool geometric = false;
    QColor color = Qt::black;
    QVector<qreal> dashes;
};

struct BrushObj {
    bool null = false;
    QColor color = Qt::white;
    int hatch = -1;
    QImage pattern;
};

struct FontObj {
    QString face = QStringLiteral("System");
    int height = 16;
    int escapement = 0;
    int weight = 700;
    bool italic = false, underline = false, strikeOut = false;
    quint8 charset = 1, pitch = 0;
};

struct Obj {
    enum Kind { None, Pen, Brush, Font, Other } kind = None;
    PenObj pen;
    BrushObj brush;
    FontObj font;
};

struct Dc {
    QTransform world;
    quint32 mapMode = MM_TEXT;
    QPointF winOrg, vpOrg;
    QSizeF winExt{1, 1}, vpExt{1, 1};
    PenObj pen;
    BrushObj brush;
    FontObj font;
    QColor textColor = Qt::black;
    QColor bkColor = Qt::white;
    int bkMode = OPAQUE;
    quint32 textAlign = 0;
    Qt::FillRule fillRule = Qt::OddEvenFill;
    QPointF cur;
    bool hasClip = false;
    QRegion clip;  // device coordinates; regions keep repeated clip edits cheap
    bool clockwise = false;
    double miterLimit = 10;
};

class Player {
public:
    Player(const QByteArray& data, QPainter* painter, const QRectF& target)
        : m_data(data), m_painter(painter), m_target(target)
    {
    }

    EmfPlayResult run();

private:
    const QByteArray& m_data;
    QPainter* m_painter;
    QRectF m_target;
    EmfHeaderInfo m_header;
    QTransform m_base;      // painter transform at start
    QTransform m_devToTarget;
    bool m_baseClip = false;
    QPainterPath m_baseClipPath;
    double m_pxPerMmX = 96 / 25.4, m_pxPerMmY = 96 / 25.4;
    Dc m_dc;
    std::vector<Dc> m_stack;
    std::map<quint32, Obj> m_objects;
    bool m_inPath = false;
    QPainterPath m_path;  // device coordinates
    QString m_problem;
    int m_skipped = 0;
    qint64 m_patternPixels = 0;
    int m_emfPlus = 0;   // EMF+ comments (their drawing is not played)
    int m_drawing = 0;   // records other than the header, comments and EOF
    TextMeasureCache m_measures;

    void problem(const QString& text, quint32 offset)
    {
        if (m_problem.isEmpty())
            m_problem = QStringLiteral("%1 at offset %2").arg(text).arg(offset);
    }

    QTransform pageTransform() const;
    QTransform logicalToDevice() const { return m_dc.world * pageTransform(); }
    QTransform logicalToTarget() const { return logicalToDevice() * m_devToTarget * m_base; }
    void applyClip();

    QPen qpen() const;
    QBrush qbrush() const { return toBrush(m_dc.brush); }
    QBrush toBrush(const BrushObj& b) const;
    // Draws or, inside a path bracket, collects a logical-coordinate path.
    void draw(const QPainterPath& path, bool fill, bool stroke);
    void strokeFill(const QPainterPath& devicePath, bool fill, bool stroke);
    bool sane(const QRectF& r) const;

    bool record(quint32 type, const Rec& r, quint32 offset);
    void polyline(const Rec& r, bool bits16, quint32 type, quint32 offset);
    void polypoly(const Rec& r, bool bits16, bool polygon, quint32 offset);
    void polydraw(const Rec& r, bool bits16, quint32 offset);
    void text(const Rec& r, bool wide, quint32 offset);
    void smallText(const Rec& r, quint32 offset);
    void arc(const Rec& r, quint32 type);
    void bitmap(const Rec& r, quint32 type, quint32 offset);
    void region(const Rec& r, quint32 type, quint32 offset);
    void selectObject(quint32 handle);
    // A fresh object of that kind in the handle's slot, or none for a handle
    // out of range.
    Obj* newObject(quint32 handle, Obj::Kind kind);
    void restoreDc(qint32 which);
    std::optional<QImage> dib(const Rec& r, quint32 offBmi, quint32 cbBmi, quint32 offBits, quint32 cbBits,
                              quint32 offset);
    std::optional<QRegion> regionData(const Rec& r, quint32 at, quint32 size);
    void combineClip(const QRegion& region, quint32 mode);
    static QRegion toRegion(const QPainterPath& devicePath);
};

QTransform Player::pageTransform() const
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

void Player::applyClip()
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

QBrush Player::toBrush(const BrushObj& b) const
{
    if (b.null)
        return Qt::NoBrush;
    if (!b.pattern.isNull())
        return QBrush(b.pattern);
    if (b.hatch >= 0) {
        static const Qt::BrushStyle styles[6] = {Qt::HorPattern, Qt::VerPattern, Qt::FDiagPattern,
                                                 Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
        return QBrush(b.color, styles[b.hatch % 6]);
    }
    return QBrush(b.color);
}

QPen Player::qpen() const
{
    const PenObj& p = m_dc.pen;
    if (p.null || (p.style & PS_STYLE_MASK) == PS_NULL)
        return Qt::NoPen;
    QPen pen(p.color);
    const quint32 style = p.style & PS_STYLE_MASK;
    const bool cosmetic = !p.geometric && p.width <= 1;
    if (cosmetic) {
        pen.setCosmetic(true);
        // One device pixel of the reference device, in target pixels.
        pen.setWidthF(std::clamp(std::abs(m_devToTarget.m11()), 1.0, kMaxPenWidth));
    } else {
        pen.setWidthF(std::clamp(p.width, 1.0, kMaxPenWidth));
    }
    // Dashes on wide cosmetic pens draw solid, as the platform does.
    if (p.geometric || p.width <= 1) {
        switch (style) {
        case PS_DASH: pen.setDashPattern({6, 2}); break;
        case PS_DOT: pen.setDashPattern({1, 1}); break;
        case PS_DASHDOT: pen.setDashPattern({3, 1, 1, 1}); break;
        case PS_DASHDOTDOT: pen.setDashPattern({3, 1, 1, 1, 1, 1}); break;
        case PS_ALTERNATE: pen.setDashPattern({1, 1}); break;
        case PS_USERSTYLE:
            if (!p.dashes.isEmpty())
                pen.setDashPattern(p.dashes);
            break;
        default: break;
        }
    }
    if (p.geometric) {
        switch (p.style & PS_ENDCAP_MASK) {
        case 0x100: pen.setCapStyle(Qt::SquareCap); break;
        case 0x200: pen.setCapStyle(Qt::FlatCap); break;
        default: pen.setCapStyle(Qt::RoundCap); break;
        }
        switch (p.style & PS_JOIN_MASK) {
        case 0x1000: pen.setJoinStyle(Qt::BevelJoin); break;
        case 0x2000: pen.setJoinStyle(Qt::MiterJoin); break;
        default: pen.setJoinStyle(Qt::RoundJoin); break;
        }
        pen.setMiterLimit(m_dc.miterLimit);
    } else {
        pen.setCapStyle(Qt::FlatCap);
        pen.setJoinStyle(Qt::MiterJoin);
    }
    return pen;
}

bool Player::sane(const QRectF& r) const
{
    return std::isfinite(r.left()) && std::isfinite(r.top()) && std::isfinite(r.right())
           && std::isfinite(r.bottom()) && std::abs(r.left()) < kMaxCoordinate && std::abs(r.right()) < kMaxCoordinate
           && std::abs(r.top()) < kMaxCoordinate && std::abs(r.bottom()) < kMaxCoordinate;
}

void Player::draw(const QPainterPath& path, bool fill, bool stroke)
{
    const QTransform l2d = logicalToDevice();
    if (m_inPath) {
        m_path.addPath(l2d.map(path));
        return;
    }
    strokeFill(l2d.map(path), fill, stroke);
}

void Player::strokeFill(const QPainterPath& devicePath, bool fill, bool stroke)
{
    const QTransform t = m_devToTarget * m_base;
    const QRectF box = t.mapRect(devicePath.controlPointRect());
    if (!sane(box))
        return;
    QPen pen = stroke ? qpen() : QPen(Qt::NoPen);
    if (pen.style() != Qt::NoPen && pen.style() != Qt::SolidLine) {
        // Dashing very long outlines costs time without showing anything.
        if (box.width() + box.height() > 20000)
            pen.setStyle(Qt::SolidLine);
    }
    if (!pen.isCosmetic() && pen.style() != Qt::NoPen) {
        // Geometric widths are in logical units: scale them like the path.
        const QTransform l2d = logicalToDevice();
        const double scale = std::sqrt(std::abs(l2d.determinant()));
        const double w = pen.widthF() * (std::isfinite(scale) && scale > 0 ? scale : 1.0);
        pen.setWidthF(w >= 0 ? std::min(kMaxPenWidth, w) : 1.0);
    }
    QPainterPath p = devicePath;
    p.setFillRule(m_dc.fillRule);
    m_painter->setTransform(t);
    m_painter->setPen(pen);
    m_painter->setBrush(fill ? qbrush() : QBrush(Qt::NoBrush));
    if (fill && !stroke)
        m_painter->fillPath(p, qbrush());
    else
        m_painter->drawPath(p);
}

void Player::selectObject(quint32 h)
{
    if (h & STOCK_BIT) {
        switch (h & ~STOCK_BIT) {
        case WHITE_BRUSH: case DC_BRUSH: m_dc.brush = BrushObj{false, Qt::white, -1, {}}; break;
        case LTGRAY_BRUSH: m_dc.brush = BrushObj{false, QColor(0xC0, 0xC0, 0xC0), -1, {}}; break;
        case GRAY_BRUSH: m_dc.brush = BrushObj{false, QColor(0x80, 0x80, 0x80), -1, {}}; break;
        case DKGRAY_BRUSH: m_dc.brush = BrushObj{false, QColor(0x40, 0x40, 0x40), -1, {}}; break;
        case BLACK_BRUSH: m_dc.brush = BrushObj{false, Qt::black, -1, {}}; break;
        case NULL_BRUSH: m_dc.brush = BrushObj{true, Qt::white, -1, {}}; break;
        case WHITE_PEN: m_dc.pen = PenObj{}; m_dc.pen.color = Qt::white; break;
        case BLACK_PEN: case DC_PEN: m_dc.pen = PenObj{}; break;
        case NULL_PEN: m_dc.pen = PenObj{}; m_dc.pen.null = true; break;
        case OEM_FIXED_FONT: case ANSI_FIXED_FONT: case SYSTEM_FIXED_FONT:
            m_dc.font = FontObj{};
            m_dc.font.face = QStringLiteral("Courier New");
            m_dc.font.weight = 400;
            break;
        case ANSI_VAR_FONT: case SYSTEM_FONT: case DEVICE_DEFAULT_FONT: case DEFAULT_GUI_FONT:
            m_dc.font = FontObj{};
            break;
        default: break;
        }
        return;
    }
    auto it = m_objects.find(h);
    if (it == m_objects.end())
        return;
    switch (it->second.kind) {
    case Obj::Pen: m_dc.pen = it->second.pen; break;
    case Obj::Brush: m_dc.brush = it->second.brush; break;
    case Obj::Font: m_dc.font = it->second.font; break;
    default: break;
    }
}

void Player::restoreDc(qint32 which)
{
    // Negative: relative to the current state; positive: an absolute level.
    qint64 target = which < 0 ? qint64(m_stack.size()) + which : qint64(which) - 1;
    if (target < 0 || target >= qint64(m_stack.size()))
        return;
    m_dc = m_stack[size_t(target)];
    m_stack.resize(size_t(target));
    applyClip();
}

Obj* Player::newObject(quint32 handle, Obj::Kind kind)
{
    if (handle == 0 || handle >= kMaxObjects)
        return nullptr;
    Obj& o = m_objects[handle];
    o = Obj{};
    o.kind = kind;
    return &o;
}

std::optional<QRegion> Player::regionData(const Rec& r, quint32 at, quint32 size)
{
    // RGNDATAHEADER (32 bytes: size, type, count, bytes, bounds) then
    // rectangles in device units.
    if (size < 32 || !r.has(at, size))
        return std::nullopt;
    const quint32 count = r.u32(at + 8);
    if (quint64(count) * 16 > size - 32)
        return std::nullopt;
    auto c = [&](quint32 o) { return std::clamp(r.i32(o), -int(kMaxCoordinate), int(kMaxCoordinate)); };
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

QRegion Player::toRegion(const QPainterPath& devicePath)
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

void Player::combineClip(const QRegion& region, quint32 mode)
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
    applyClip();
}

void Player::region(const Rec& r, quint32 type, quint32 offset)
{
    if (type == EMR_EXTSELECTCLIPRGN) {
        if (!r.has(0, 16)) return problem(QStringLiteral("short clip record"), offset);
        const quint32 size = r.u32(8), mode = r.u32(12);
        if (size == 0) {
            // No region: RGN_COPY removes the clipping, other modes do nothing.
            if (mode == RGN_COPY) {
                m_dc.hasClip = false;
                m_dc.clip = QRegion();
                applyClip();
            }
            return;
        }
        const auto region = regionData(r, 16, size);
        if (!region) return problem(QStringLiteral("bad clip region"), offset);
        combineClip(*region, mode);
        return;
    }
    // FILLRGN (brush at 28, data at 32) and PAINTRGN (current brush, data at 28).
    if (!r.has(0, 28)) return problem(QStringLiteral("short region record"), offset);
    const quint32 size = r.u32(24);
    BrushObj brush = m_dc.brush;
    quint32 at = 28;
    if (type == EMR_FILLRGN) {
        if (!r.has(0, 32)) return problem(QStringLiteral("short region record"), offset);
        const quint32 h = r.u32(28);
        if (h & STOCK_BIT) {
            const BrushObj keep = m_dc.brush;
            selectObject(h);
            brush = m_dc.brush;
            m_dc.brush = keep;
        } else if (auto it = m_objects.find(h); it != m_objects.end() && it->second.kind == Obj::Brush) {
            brush = it->second.brush;
        }
        at = 32;
    }
    const auto region = regionData(r, at, size);
    if (!region) return problem(QStringLiteral("bad region"), offset);
    const BrushObj keep = m_dc.brush;
    m_dc.brush = brush;
    QPainterPath path;
    path.addRegion(*region);
    strokeFill(path, true, false);
    m_dc.brush = keep;
}

void Player::polyline(const Rec& r, bool bits16, quint32 type, quint32 offset)
{
    if (!r.has(0, 28)) return problem(QStringLiteral("short polyline"), offset);
    const quint32 count = r.u32(24);
    const quint32 sz = bits16 ? 4 : 8;
    if (quint64(count) * sz > r.n - 28) return problem(QStringLiteral("point count beyond record"), offset);
    QPolygonF pts;
    pts.reserve(int(count));
    for (quint32 i = 0; i < count; ++i) {
        const quint32 o = 28 + i * sz;
        pts.append(bits16 ? QPointF(r.i16(o), r.i16(o + 2)) : QPointF(r.i32(o), r.i32(o + 4)));
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
        const QTransform l2d = logicalToDevice();
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
    draw(path, base == EMR_POLYGON, true);
}

void Player::polypoly(const Rec& r, bool bits16, bool polygon, quint32 offset)
{
    if (!r.has(0, 32)) return problem(QStringLiteral("short polypolygon"), offset);
    const quint32 polys = r.u32(24), total = r.u32(28);
    const quint32 sz = bits16 ? 4 : 8;
    if (quint64(polys) * 4 + quint64(total) * sz > r.n - 32)
        return problem(QStringLiteral("polygon counts beyond record"), offset);
    quint64 sum = 0;
    for (quint32 k = 0; k < polys; ++k)
        sum += r.u32(32 + k * 4);
    if (sum > total) return problem(QStringLiteral("polygon counts disagree"), offset);
    QPainterPath path;
    quint32 at = 32 + polys * 4;
    for (quint32 k = 0; k < polys; ++k) {
        const quint32 n = r.u32(32 + k * 4);
        for (quint32 i = 0; i < n; ++i, at += sz) {
            const QPointF p = bits16 ? QPointF(r.i16(at), r.i16(at + 2)) : QPointF(r.i32(at), r.i32(at + 4));
            if (i == 0)
                path.moveTo(p);
            else
                path.lineTo(p);
        }
        if (polygon && n > 0)
            path.closeSubpath();
    }
    draw(path, polygon, true);
}

void Player::polydraw(const Rec& r, bool bits16, quint32 offset)
{
    if (!r.has(0, 28)) return problem(QStringLiteral("short polydraw"), offset);
    const quint32 count = r.u32(24);
    const quint32 sz = bits16 ? 4 : 8;
    if (quint64(count) * (sz + 1) > r.n - 28) return problem(QStringLiteral("point count beyond record"), offset);
    QPainterPath path;
    path.moveTo(m_dc.cur);
    const quint32 types = 28 + count * sz;
    for (quint32 i = 0; i < count; ++i) {
        const quint32 o = 28 + i * sz;
        const QPointF p = bits16 ? QPointF(r.i16(o), r.i16(o + 2)) : QPointF(r.i32(o), r.i32(o + 4));
        const quint8 t = r.p[types + i];
        if ((t & 6) == 6) {
            path.moveTo(p);
        } else if ((t & 6) == 4 && i + 2 < count) {
            const quint32 o1 = o + sz, o2 = o + 2 * sz;
            const QPointF p1 = bits16 ? QPointF(r.i16(o1), r.i16(o1 + 2)) : QPointF(r.i32(o1), r.i32(o1 + 4));
            const QPointF p2 = bits16 ? QPointF(r.i16(o2), r.i16(o2 + 2)) : QPointF(r.i32(o2), r.i32(o2 + 4));
            path.cubicTo(p, p1, p2);
            i += 2;
        } else {
            path.lineTo(p);
        }
        if (t & 1)
            path.closeSubpath();
        m_dc.cur = path.currentPosition();
    }
    draw(path, false, true);
}

void Player::arc(const Rec& r, quint32 type)
{
    const QRectF box(QPointF(r.i32(8), r.i32(12)), QPointF(r.i32(16), r.i32(20)));
    const QRectF b = box.normalized();
    const QPointF c = b.center();
    auto angle = [&](double x, double y) {
        // Angles on the ellipse, counter-clockwise on screen, in degrees.
        const double a = std::atan2(-(y - c.y()) / std::max(b.height(), 1e-9),
                                    (x - c.x()) / std::max(b.width(), 1e-9));
        return a * 180 / M_PI;
    };
    const double a1 = angle(r.i32(24), r.i32(28));
    const double a2 = angle(r.i32(32), r.i32(36));
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
    draw(path, type == EMR_CHORD || type == EMR_PIE, true);
}

std::optional<QImage> Player::dib(const Rec& r, quint32 offBmi, quint32 cbBmi, quint32 offBits, quint32 cbBits,
                                  quint32 offset)
{
    if (cbBmi < 12 || !r.has(offBmi, cbBmi) || !r.has(offBits, cbBits)) {
        problem(QStringLiteral("bitmap outside its record"), offset);
        return std::nullopt;
    }
    const quint32 hsize = r.u32(offBmi);
    qint64 width, height;
    quint32 bpp, compression = 0, clrUsed = 0;
    quint32 palOff;
    int palEntry = 4;
    if (hsize == 12) {  // BITMAPCOREHEADER
        width = r.u16(offBmi + 4);
        height = r.i16(offBmi + 6);
        bpp = r.u16(offBmi + 10);
        palOff = offBmi + 12;
        palEntry = 3;
    } else {
        if (hsize < 40 || hsize > cbBmi) {
            problem(QStringLiteral("unknown bitmap header"), offset);
            return std::nullopt;
        }
        width = r.i32(offBmi + 4);
        height = r.i32(offBmi + 8);
        bpp = r.u16(offBmi + 14);
        compression = r.u32(offBmi + 16);
        clrUsed = r.u32(offBmi + 32);
        palOff = offBmi + hsize;
    }
    if (compression == 4 || compression == 5) {  // embedded JPEG or PNG
        QImage img;
        if (cbBits == 0 || !img.loadFromData(r.p + offBits, int(cbBits)) || img.isNull())
            return std::nullopt;
        if (qint64(img.width()) * img.height() > kMaxDibPixels)
            return std::nullopt;
        return img;
    }
    const bool topDown = height < 0;
    height = std::abs(height);
    if (width <= 0 || height <= 0 || width > kMaxDibSide || height > kMaxDibSide || width * height > kMaxDibPixels) {
        problem(QStringLiteral("bitmap size out of range"), offset);
        return std::nullopt;
    }
    if (!(bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32)
        || !(compression == 0 || compression == 3)) {
        return std::nullopt;  // RLE and odd depths are not painted
    }
    quint32 masks[3] = {0, 0, 0};
    if (compression == 3) {
        // Bit fields follow a 40-byte header (or live inside a larger one).
        const quint32 at = offBmi + 40;
        if (!r.has(at, 12)) return std::nullopt;
        for (int i = 0; i < 3; ++i)
            masks[i] = r.u32(at + quint32(i) * 4);
        if (hsize == 40)
            palOff += 12;
    } else if (bpp == 16) {
        masks[0] = 0x7C00; masks[1] = 0x03E0; masks[2] = 0x001F;
    } else if (bpp == 32) {
        masks[0] = 0xFF0000; masks[1] = 0xFF00; masks[2] = 0xFF;
    }
    QVector<QRgb> palette;
    if (bpp <= 8) {
        quint32 entries = clrUsed ? clrUsed : (1u << bpp);
        entries = std::min<quint32>(entries, 256);
        const quint32 avail = (offBmi + cbBmi > palOff) ? (offBmi + cbBmi - palOff) / quint32(palEntry) : 0;
        entries = std::min(entries, avail);
        for (quint32 i = 0; i < entries; ++i) {
            const quint32 o = palOff + i * quint32(palEntry);
            palette.append(qRgb(r.p[o + 2], r.p[o + 1], r.p[o]));
        }
        while (palette.size() < (1 << bpp))
            palette.append(palette.isEmpty() && bpp == 1 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    }
    const qint64 stride = ((width * bpp + 31) / 32) * 4;
    if (stride * height > qint64(cbBits)) {
        problem(QStringLiteral("bitmap bits shorter than the image"), offset);
        return std::nullopt;
    }
    auto channel = [](quint32 v, quint32 mask) -> int {
        if (!mask) return 0;
        while (!(mask & 1)) { mask >>= 1; v >>= 1; }
        return int(((v & mask) * 255) / mask);
    };
    QImage img(int(width), int(height), QImage::Format_RGB32);
    if (img.isNull())
        return std::nullopt;
    for (qint64 y = 0; y < height; ++y) {
        const uchar* row = r.p + offBits + (topDown ? y : height - 1 - y) * stride;
        QRgb* out = reinterpret_cast<QRgb*>(img.scanLine(int(y)));
        for (qint64 x = 0; x < width; ++x) {
            switch (bpp) {
            case 1: out[x] = palette[(row[x / 8] >> (7 - x % 8)) & 1]; break;
            case 4: out[x] = palette[(row[x / 2] >> (x % 2 ? 0 : 4)) & 0xF]; break;
            case 8: out[x] = palette[row[x]]; break;
            case 16: {
                const quint32 v = qFromLittleEndian<quint16>(row + x * 2);
                out[x] = qRgb(channel(v, masks[0]), channel(v, masks[1]), channel(v, masks[2]));
                break;
            }
            case 24: out[x] = qRgb(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]); break;
            default: {
                const quint32 v = qFromLittleEndian<quint32>(row + x * 4);
                out[x] = qRgb(channel(v, masks[0]), channel(v, masks[1]), channel(v, masks[2]));
                break;
            }
            }
        }
    }
    if (!topDown)
        img.setText(QStringLiteral("bottomup"), QStringLiteral("1"));
    return img;
}

void Player::bitmap(const Rec& r, quint32 type, quint32 offset)
{
    // Source positions index a bitmap of at most kMaxDibSide pixels a side:
    // clamping them keeps rectangle arithmetic from overflowing.
    auto sc = [&](quint32 o) { return std::clamp(r.i32(o), -kMaxDibSide, kMaxDibSide); };
    QRectF dest;
    QRect src;
    quint32 rop = SRCCOPY;
    quint32 offBmi = 0, cbBmi = 0, offBits = 0, cbBits = 0;
    switch (type) {
    case EMR_BITBLT:
    case EMR_STRETCHBLT:
    case EMR_ALPHABLEND:
    case EMR_TRANSPARENTBLT: {
        if (!r.has(0, 100)) return problem(QStringLiteral("short bitmap record"), offset);
        dest = QRectF(r.i32(24), r.i32(28), r.i32(32), r.i32(36));
        rop = r.u32(40);
        offBmi = r.u32(84); cbBmi = r.u32(88); offBits = r.u32(92); cbBits = r.u32(96);
        src = QRect(sc(44), sc(48), sc(32), sc(36));
        if (type != EMR_BITBLT) {
            if (!r.has(0, 108)) return problem(QStringLiteral("short bitmap record"), offset);
            src.setSize(QSize(sc(100), sc(104)));
        }
        if (cbBmi == 0) {
            // No source: a pattern fill with the current brush.
            if (type != EMR_BITBLT)
                return;
            QPainterPath p;
            p.addRect(dest.normalized());
            const BrushObj keep = m_dc.brush;
            if (rop == 0x00000042)
                m_dc.brush = BrushObj{false, Qt::black, -1, {}};
            else if (rop == 0x00FF0062)
                m_dc.brush = BrushObj{false, Qt::white, -1, {}};
            else if (rop == 0x00AA0029 || rop == 0x00550009)
                return;
            const PenObj pen = m_dc.pen;
            m_dc.pen.null = true;
            draw(p, true, false);
            m_dc.pen = pen;
            m_dc.brush = keep;
            return;
        }
        break;
    }
    case EMR_STRETCHDIBITS:
        if (!r.has(0, 80)) return problem(QStringLiteral("short bitmap record"), offset);
        src = QRect(sc(32), sc(36), sc(40), sc(44));
        offBmi = r.u32(48); cbBmi = r.u32(52); offBits = r.u32(56); cbBits = r.u32(60);
        rop = r.u32(68);
        dest = QRectF(r.i32(24), r.i32(28), r.i32(72), r.i32(76));
        break;
    case EMR_SETDIBITSTODEVICE:
        if (!r.has(0, 76)) return problem(QStringLiteral("short bitmap record"), offset);
        src = QRect(sc(32), sc(36), sc(40), sc(44));
        offBmi = r.u32(48); cbBmi = r.u32(52); offBits = r.u32(56); cbBits = r.u32(60);
        dest = QRectF(r.i32(24), r.i32(28), src.width(), src.height());
        break;
    default: return;
    }
    if (rop == 0x00AA0029)
        return;
    const auto img = dib(r, offBmi, cbBmi, offBits, cbBits, offset);
    if (!img)
        return;
    QRect s = src;
    if (s.width() <= 0 || s.height() <= 0)
        s = img->rect();
    else if (!img->text(QStringLiteral("bottomup")).isEmpty() && type != EMR_BITBLT && type != EMR_STRETCHBLT)
        s.moveTop(img->height() - s.top() - s.height());  // DIB origin at the lower left
    s = s.intersected(img->rect());
    if (s.isEmpty())
        s = img->rect();
    if (m_inPath)
        return;
    const QTransform t = logicalToTarget();
    if (!sane(t.mapRect(dest)))
        return;
    m_painter->setTransform(t);
    m_painter->drawImage(dest, *img, QRectF(s));
}

void Player::smallText(const Rec& r, quint32 offset)
{
    // x, y, cChars, fuOptions, iGraphicsMode, exScale, eyScale, [bounds], text
    if (!r.has(0, 36)) return problem(QStringLiteral("short text record"), offset);
    const quint32 n = r.u32(16), opts = r.u32(20);
    quint32 at = 36;
    if (!(opts & 0x100))  // ETO_NO_RECT
        at += 16;
    const bool ansi = opts & 0x200;  // ETO_SMALL_CHARS
    if (quint64(n) * (ansi ? 1 : 2) > quint64(r.n) - std::min<quint64>(at, r.n) || at > r.n)
        return problem(QStringLiteral("text beyond record"), offset);
    QString s;
    if (ansi)
        s = DecodeAnsi(r.p + at, int(n));
    else
        for (quint32 i = 0; i < n; ++i)
            s.append(QChar(r.u16(at + i * 2)));
    // Re-encode as an EMR_EXTTEXTOUTW-like call through the common path.
    QByteArray rec(int(kExtTextOutHeader + s.size() * 2 + 4), '\0');
    uchar* p = reinterpret_cast<uchar*>(rec.data());
    qToLittleEndian<quint32>(EMR_EXTTEXTOUTW, p);
    qToLittleEndian<quint32>(quint32(rec.size()), p + 4);
    qToLittleEndian<qint32>(r.i32(8), p + 36);
    qToLittleEndian<qint32>(r.i32(12), p + 40);
    qToLittleEndian<quint32>(quint32(s.size()), p + 44);
    qToLittleEndian<quint32>(kExtTextOutHeader, p + 48);
    qToLittleEndian<quint32>(opts & (ETO_GLYPH_INDEX | ETO_RTLREADING), p + 52);
    for (int i = 0; i < s.size(); ++i)
        qToLittleEndian<quint16>(s.at(i).unicode(), p + kExtTextOutHeader + i * 2);
    Rec rr{p, quint32(rec.size())};
    text(rr, true, offset);
}

void Player::text(const Rec& r, bool wide, quint32 offset)
{
    if (!r.has(0, kExtTextOutHeader)) return problem(QStringLiteral("short text record"), offset);
    const QPointF ref(r.i32(36), r.i32(40));
    const quint32 n = r.u32(44), offString = r.u32(48), options = r.u32(52), offDx = r.u32(72);
    const QRectF optRect(QPointF(r.i32(56), r.i32(60)), QPointF(r.i32(64), r.i32(68)));
    if (n == 0) {
        if (options & ETO_OPAQUE) {
            QPainterPath p;
            p.addRect(optRect.normalized());
            const BrushObj keep = m_dc.brush;
            const PenObj pen = m_dc.pen;
            m_dc.brush = BrushObj{false, m_dc.bkColor, -1, {}};
            m_dc.pen.null = true;
            draw(p, true, false);
            m_dc.brush = keep;
            m_dc.pen = pen;
        }
        return;
    }
    const quint64 charBytes = quint64(n) * (wide ? 2 : 1);
    if (!r.has(offString, charBytes)) return problem(QStringLiteral("text beyond record"), offset);
    const bool glyphIndex = options & ETO_GLYPH_INDEX;
    QString s;
    QVector<quint32> glyphIdx;
    if (wide) {
        s.resize(int(n));
        for (quint32 i = 0; i < n; ++i) {
            const quint16 u = r.u16(offString + i * 2);
            s[int(i)] = QChar(u);
            if (glyphIndex)
                glyphIdx.append(u);
        }
    } else {
        s = DecodeAnsi(r.p + offString, int(n));
    }
    const bool pdy = options & ETO_PDY;
    QVector<QPointF> adv;
    if (offDx != 0 && r.has(offDx, quint64(n) * (pdy ? 8 : 4))) {
        adv.reserve(int(n));
        for (quint32 i = 0; i < n; ++i)
            adv.append(pdy ? QPointF(r.i32(offDx + i * 8), r.i32(offDx + i * 8 + 4)) : QPointF(r.i32(offDx + i * 4), 0));
    }

    const FontObj& f = m_dc.font;
    QFont qf = FontMapper::ToQFont(f.face, f.height, f.weight, f.italic, f.underline, f.strikeOut, f.charset, f.pitch);
    if (glyphIndex && FontMapper::MapFamily(f.face).compare(f.face, Qt::CaseInsensitive) != 0) {
        // Glyph numbers of a face that is not installed would pick wrong glyphs.
        ++m_skipped;
        return;
    }
    const TextMeasure& m = m_measures.For(qf);
    QVector<quint32> glyphs;
    QVector<int> natural;
    m.Measure(s, &glyphs, &natural);
    if (glyphIndex)
        glyphs = glyphIdx;
    if (adv.isEmpty()) {
        for (int v : natural)
            adv.append(QPointF(v, 0));
    }
    double width = 0;
    for (const QPointF& a : adv)
        width += a.x();
    if (!std::isfinite(width))
        return;

    const quint32 align = m_dc.textAlign;
    const bool updateCp = align & TA_UPDATECP;
    QPointF origin = updateCp ? m_dc.cur : ref;
    double dx = 0;
    if ((align & TA_CENTER) == TA_CENTER)
        dx = -std::trunc(width / 2);  // integer halving, as the recorder placed it
    else if (align & TA_RIGHT)
        dx = -width;
    double baseline = m.Ascent();
    if ((align & TA_BASELINE) == TA_BASELINE)
        baseline = 0;
    else if (align & TA_BOTTOM)
        baseline = -m.Descent();
    if (updateCp)
        m_dc.cur = QPointF(origin.x() + ((align & TA_RIGHT) && (align & TA_CENTER) != TA_CENTER ? -width : width),
                           origin.y());
    if (m_inPath)
        return;

    // Text stays upright whatever the axis directions: draw in a local frame
    // at the mapped reference point, scaled by the magnitudes only.
    const QTransform l2t = logicalToTarget();
    const QPointF o = l2t.map(origin);
    const QPointF ux = l2t.map(origin + QPointF(1, 0)) - o;
    const QPointF uy = l2t.map(origin + QPointF(0, 1)) - o;
    const double sx = std::hypot(ux.x(), ux.y()), sy = std::hypot(uy.x(), uy.y());
    if (!sane(QRectF(o, QSizeF(1, 1))) || !(sx > 0) || !(sy > 0) || sx * width > kMaxCoordinate
        || sy * m.Height() > kMaxCoordinate)
        return;
    QTransform local;
    local.translate(o.x(), o.y());
    const double rot = std::atan2(ux.y(), ux.x()) * 180 / M_PI - f.escapement / 10.0;
    if (rot != 0)
        local.rotate(rot);
    local.scale(sx, sy);

    if ((options & ETO_OPAQUE) && optRect.width() != 0) {
        m_painter->setTransform(l2t);
        m_painter->fillRect(optRect.normalized(), m_dc.bkColor);
    }
    m_painter->save();
    if (options & ETO_CLIPPED) {
        m_painter->setTransform(l2t);
        m_painter->setClipRect(optRect.normalized(), Qt::IntersectClip);
    }
    m_painter->setTransform(local);
    if (m_dc.bkMode == OPAQUE)
        m_painter->fillRect(QRectF(dx, baseline - m.Ascent(), width, m.Height()), m_dc.bkColor);
    QVector<quint32> runGlyphs;
    QVector<QPointF> positions;
    double x = dx, y = 0;
    for (int i = 0; i < glyphs.size() && i < adv.size(); ++i) {
        if (glyphIndex || !(s.at(i).isLowSurrogate() && glyphs[i] == 0)) {
            runGlyphs.append(glyphs[i]);
            positions.append(QPointF(x - dx, y));
        }
        x += adv[i].x();
        y += adv[i].y();
    }
    if (m.RawFont().isValid()) {
        // On pixel surfaces, glyphs that come out very large or very stretched
        // are drawn as outlines: the raster glyph cache cannot hold them (and
        // mishandles them). Vector surfaces (PDF, printers) keep real text.
        const double em = m.Font().pixelSize();
        const QPaintEngine* engine = m_painter->paintEngine();
        const bool raster = !engine || engine->type() != QPaintEngine::Pdf;
        const bool outlines =
            raster && (em * std::max(sx, sy) > kMaxCachedGlyph || std::max(sx, sy) > 8 * std::min(sx, sy));
        if (outlines) {
            QPainterPath path;
            for (int i = 0; i < runGlyphs.size(); ++i)
                path.addPath(m.RawFont().pathForGlyph(runGlyphs[i]).translated(positions[i]));
            m_painter->fillPath(path.translated(dx, baseline), m_dc.textColor);
        } else {
            QGlyphRun run;
            run.setRawFont(m.RawFont());
            run.setGlyphIndexes(runGlyphs);
            run.setPositions(positions);
            m_painter->setPen(m_dc.textColor);
            m_painter->drawGlyphRun(QPointF(dx, baseline), run);
        }
        m.DrawDecorations(m_painter, dx, baseline, width, f.underline, f.strikeOut, m_dc.textColor);
    }
    m_painter->restore();
}

bool Player::record(quint32 type, const Rec& r, quint32 offset)
{
    auto need = [&](quint32 size) {
        if (r.n >= size)
            return true;
        problem(QStringLiteral("record %1 shorter than its fields").arg(type), offset);
        return false;
    };
    switch (type) {
    case EMR_EOF:
        return false;
    case EMR_SETWINDOWEXTEX:
        if (need(16)) m_dc.winExt = QSizeF(r.i32(8), r.i32(12));
        break;
    case EMR_SETWINDOWORGEX:
        if (need(16)) m_dc.winOrg = QPointF(r.i32(8), r.i32(12));
        break;
    case EMR_SETVIEWPORTEXTEX:
        if (need(16)) m_dc.vpExt = QSizeF(r.i32(8), r.i32(12));
        break;
    case EMR_SETVIEWPORTORGEX:
        if (need(16)) m_dc.vpOrg = QPointF(r.i32(8), r.i32(12));
        break;
    case EMR_SCALEVIEWPORTEXTEX:
    case EMR_SCALEWINDOWEXTEX:
        if (need(24)) {
            const qint32 xn = r.i32(8), xd = r.i32(12), yn = r.i32(16), yd = r.i32(20);
            if (xd != 0 && yd != 0) {
                QSizeF& e = type == EMR_SCALEVIEWPORTEXTEX ? m_dc.vpExt : m_dc.winExt;
                e = QSizeF(e.width() * xn / xd, e.height() * yn / yd);
            }
        }
        break;
    case EMR_SETMAPMODE:
        if (need(12)) m_dc.mapMode = r.u32(8);
        break;
    case EMR_SETBKMODE:
        if (need(12)) m_dc.bkMode = int(r.u32(8));
        break;
    case EMR_SETPOLYFILLMODE:
        if (need(12)) m_dc.fillRule = r.u32(8) == 2 ? Qt::WindingFill : Qt::OddEvenFill;
        break;
    case EMR_SETTEXTALIGN:
        if (need(12)) m_dc.textAlign = r.u32(8);
        break;
    case EMR_SETTEXTCOLOR:
        if (need(12)) m_dc.textColor = ColorRef(r.u32(8));
        break;
    case EMR_SETBKCOLOR:
        if (need(12)) m_dc.bkColor = ColorRef(r.u32(8));
        break;
    case EMR_SETARCDIRECTION:
        if (need(12)) m_dc.clockwise = r.u32(8) == 2;
        break;
    case EMR_SETMITERLIMIT:
        if (need(12)) m_dc.miterLimit = std::clamp(double(r.u32(8)), 1.0, 100.0);
        break;
    case EMR_MOVETOEX:
        if (need(16)) {
            m_dc.cur = QPointF(r.i32(8), r.i32(12));
            if (m_inPath)
                m_path.moveTo(logicalToDevice().map(m_dc.cur));
        }
        break;
    case EMR_LINETO:
        if (need(16)) {
            const QPointF to(r.i32(8), r.i32(12));
            if (m_inPath) {
                if (m_path.elementCount() == 0)
                    m_path.moveTo(logicalToDevice().map(m_dc.cur));
                m_path.lineTo(logicalToDevice().map(to));
            } else {
                QPainterPath p;
                p.moveTo(m_dc.cur);
                p.lineTo(to);
                draw(p, false, true);
            }
            m_dc.cur = to;
        }
        break;
    case EMR_SAVEDC:
        if (m_stack.size() < size_t(kMaxSaveDepth))
            m_stack.push_back(m_dc);
        break;
    case EMR_RESTOREDC:
        if (need(12)) restoreDc(r.i32(8));
        break;
    case EMR_SETWORLDTRANSFORM:
    case EMR_MODIFYWORLDTRANSFORM:
        if (need(32)) {
            const float v[6] = {r.f32(8), r.f32(12), r.f32(16), r.f32(20), r.f32(24), r.f32(28)};
            for (float x : v)
                if (!std::isfinite(x) || std::abs(x) > 1e9f)
                    return true;
            const QTransform x(v[0], v[1], v[2], v[3], v[4], v[5]);
            if (type == EMR_SETWORLDTRANSFORM) {
                m_dc.world = x;
            } else if (need(36)) {
                switch (r.u32(32)) {
                case MWT_IDENTITY: m_dc.world = QTransform(); break;
                case MWT_LEFTMULTIPLY: m_dc.world = x * m_dc.world; break;
                case MWT_RIGHTMULTIPLY: m_dc.world = m_dc.world * x; break;
                case MWT_SET: m_dc.world = x; break;
                default: break;
                }
            }
        }
        break;
    case EMR_SELECTOBJECT:
        if (need(12)) selectObject(r.u32(8));
        break;
    case EMR_DELETEOBJECT:
        if (need(12)) m_objects.erase(r.u32(8));
        break;
    case EMR_CREATEPEN:
        if (need(28)) {
            Obj* o = newObject(r.u32(8), Obj::Pen);
            if (!o)
                break;
            o->pen.style = r.u32(12);
            o->pen.width = std::abs(double(r.i32(16)));
            o->pen.color = ColorRef(r.u32(24));
            o->pen.null = (o->pen.style & PS_STYLE_MASK) == PS_NULL;
        }
        break;
    case EMR_EXTCREATEPEN:
        if (need(52)) {
            Obj* o = newObject(r.u32(8), Obj::Pen);
            if (!o)
                break;
            o->pen.style = r.u32(28);
            o->pen.geometric = o->pen.style & PS_GEOMETRIC;
            o->pen.width = o->pen.geometric ? double(r.u32(32) & 0x7FFFFFFF) : 0;
            o->pen.null = (o->pen.style & PS_STYLE_MASK) == PS_NULL || r.u32(36) == BS_NULL;
            o->pen.color = ColorRef(r.u32(40));
            const quint32 entries = r.u32(48);
            if ((o->pen.style & PS_STYLE_MASK) == PS_USERSTYLE && entries > 0 && entries <= 16
                && r.has(52, quint64(entries) * 4)) {
                const double w = std::max(1.0, o->pen.width);
                for (quint32 i = 0; i < entries; ++i)
                    o->pen.dashes.append(std::clamp(r.u32(52 + i * 4) / w, 0.5, 1000.0));
                if (o->pen.dashes.size() % 2)
                    o->pen.dashes.append(o->pen.dashes.last());
            }
        }
        break;
    case EMR_CREATEBRUSHINDIRECT:
        if (need(24)) {
            Obj* o = newObject(r.u32(8), Obj::Brush);
            if (!o)
                break;
            const quint32 style = r.u32(12);
            o->brush.null = style == BS_NULL;
            o->brush.color = ColorRef(r.u32(16));
            if (style == BS_HATCHED)
                o->brush.hatch = int(std::min<quint32>(r.u32(20), 5));
        }
        break;
    case EMR_CREATEMONOBRUSH:
    case EMR_CREATEDIBPATTERNBRUSHPT:
        if (need(32)) {
            Obj* o = newObject(r.u32(8), Obj::Brush);
            if (!o)
                break;
            o->brush.color = Qt::gray;
            if (auto img = dib(r, r.u32(16), r.u32(20), r.u32(24), r.u32(28), offset);
                img && img->width() <= 256 && img->height() <= 256
                && m_patternPixels + qint64(img->width()) * img->height() <= kMaxPatternPixels) {
                m_patternPixels += qint64(img->width()) * img->height();
                o->brush.pattern = *img;
            }
        }
        break;
    case EMR_EXTCREATEFONTINDIRECTW:
        if (need(40)) {
            Obj* o = newObject(r.u32(8), Obj::Font);
            if (!o)
                break;
            FontObj& f = o->font;
            f.height = r.i32(12);
            f.escapement = r.i32(20);
            f.weight = r.i32(28);
            f.italic = r.p[32];
            f.underline = r.p[33];
            f.strikeOut = r.p[34];
            f.charset = r.p[35];
            f.pitch = r.p[39];
            f.face.clear();
            for (quint32 i = 0; i < 32 && r.has(40 + i * 2, 2); ++i) {
                const quint16 c = r.u16(40 + i * 2);
                if (c == 0)
                    break;
                f.face.append(QChar(c));
            }
        }
        break;
    case EMR_CREATEPALETTE:
        if (need(12))
            newObject(r.u32(8), Obj::Other);
        break;
    case EMR_RECTANGLE:
    case EMR_ELLIPSE:
    case EMR_ROUNDRECT:
        if (need(type == EMR_ROUNDRECT ? 32 : 24)) {
            QRectF box = QRectF(QPointF(r.i32(8), r.i32(12)), QPointF(r.i32(16), r.i32(20))).normalized();
            // The box excludes its right and bottom; the pen is centred on
            // the outline through the outer pixel centres.
            const QTransform l2d = logicalToDevice();
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
                p.addRoundedRect(box, std::abs(r.i32(24)) / 2.0, std::abs(r.i32(28)) / 2.0);
            draw(p, true, true);
        }
        break;
    case EMR_ARC:
    case EMR_CHORD:
    case EMR_PIE:
    case EMR_ARCTO:
        if (need(40)) arc(r, type);
        break;
    case EMR_ANGLEARC:
        break;
    case EMR_POLYBEZIER: case EMR_POLYGON: case EMR_POLYLINE: case EMR_POLYBEZIERTO: case EMR_POLYLINETO:
        polyline(r, false, type, offset);
        break;
    case EMR_POLYBEZIER16: case EMR_POLYGON16: case EMR_POLYLINE16: case EMR_POLYBEZIERTO16:
    case EMR_POLYLINETO16:
        polyline(r, true, type, offset);
        break;
    case EMR_POLYPOLYLINE: case EMR_POLYPOLYGON:
        polypoly(r, false, type == EMR_POLYPOLYGON, offset);
        break;
    case EMR_POLYPOLYLINE16: case EMR_POLYPOLYGON16:
        polypoly(r, true, type == EMR_POLYPOLYGON16, offset);
        break;
    case EMR_POLYDRAW:
        polydraw(r, false, offset);
        break;
    case EMR_POLYDRAW16:
        polydraw(r, true, offset);
        break;
    case EMR_SETPIXELV:
        if (need(20)) {
            QPainterPath p;
            p.addRect(QRectF(r.i32(8), r.i32(12), 1, 1));
            const BrushObj keep = m_dc.brush;
            const PenObj pen = m_dc.pen;
            m_dc.brush = BrushObj{false, ColorRef(r.u32(16)), -1, {}};
            m_dc.pen.null = true;
            draw(p, true, false);
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
        strokeFill(m_path, type != EMR_STROKEPATH, type != EMR_FILLPATH);
        m_path = QPainterPath();
        break;
    case EMR_SELECTCLIPPATH:
        m_inPath = false;
        combineClip(toRegion(m_path), need(12) ? r.u32(8) : RGN_COPY);
        m_path = QPainterPath();
        break;
    case EMR_INTERSECTCLIPRECT:
    case EMR_EXCLUDECLIPRECT:
        if (need(24)) {
            QPainterPath p;
            p.addRect(QRectF(QPointF(r.i32(8), r.i32(12)), QPointF(r.i32(16), r.i32(20))).normalized());
            combineClip(toRegion(logicalToDevice().map(p)), type == EMR_INTERSECTCLIPRECT ? RGN_AND : RGN_DIFF);
        }
        break;
    case EMR_OFFSETCLIPRGN:
        if (need(16) && m_dc.hasClip) {
            m_dc.clip.translate(std::clamp(r.i32(8), -1000000, 1000000), std::clamp(r.i32(12), -1000000, 1000000));
            applyClip();
        }
        break;
    case EMR_EXTSELECTCLIPRGN:
    case EMR_FILLRGN:
    case EMR_PAINTRGN:
        region(r, type, offset);
        break;
    case EMR_BITBLT:
    case EMR_STRETCHBLT:
    case EMR_STRETCHDIBITS:
    case EMR_SETDIBITSTODEVICE:
    case EMR_ALPHABLEND:
    case EMR_TRANSPARENTBLT:
        bitmap(r, type, offset);
        break;
    case EMR_EXTTEXTOUTW:
        text(r, true, offset);
        break;
    case EMR_EXTTEXTOUTA:
        text(r, false, offset);
        break;
    case EMR_SMALLTEXTOUT:
        smallText(r, offset);
        break;
    case EMR_GDICOMMENT:
        if (r.has(8, 8) && r.u32(12) == 0x2B464D45)  // "EMF+"
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

EmfPlayResult Player::run()
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
            problem(QStringLiteral("trailing bytes"), offset);
            break;
        }
        const quint32 type = qFromLittleEndian<quint32>(data + offset);
        const quint32 rsize = qFromLittleEndian<quint32>(data + offset + 4);
        if (rsize < 8 || rsize > size - offset) {
            problem(QStringLiteral("record size %1 out of range").arg(rsize), offset);
            break;
        }
        if (++count > kMaxRecords) {
            problem(QStringLiteral("too many records"), offset);
            break;
        }
        const Rec r{data + offset, rsize};
        if (type != EMR_GDICOMMENT && type != EMR_EOF && type != EMR_HEADER)
            ++m_drawing;
        if (!record(type, r, offset)) {
            sawEof = true;
            break;
        }
        offset += rsize;
    }
    m_painter->restore();
    result.recordsPlayed = count;
    result.recordsSkipped = m_skipped;
    if (!sawEof && m_problem.isEmpty())
        problem(QStringLiteral("no end-of-file record"), offset);
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

}  // namespace

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
    return player.run();
}
