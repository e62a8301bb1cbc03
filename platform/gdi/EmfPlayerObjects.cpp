// EMF player: pens, brushes and fonts; creating, selecting and deleting them.
#include "EmfPlayer_p.h"

#include <QPen>
#include <algorithm>
#include <cmath>

using namespace emf;

namespace emf::play {

QBrush Player::ToBrush(const BrushObj& b) const
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

QPen Player::Qpen() const
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

void Player::SelectObject(quint32 h)
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

Obj* Player::NewObject(quint32 handle, Obj::Kind kind)
{
    if (handle == 0 || handle >= kMaxObjects)
        return nullptr;
    Obj& o = m_objects[handle];
    o = Obj{};
    o.kind = kind;
    return &o;
}

bool Player::ObjectRecord(quint32 type, const Rec& r, quint32 offset)
{
    switch (type) {
    case EMR_SELECTOBJECT:
        if (Need(r, type, offset, 12)) SelectObject(r.U32(8));
        break;
    case EMR_DELETEOBJECT:
        if (Need(r, type, offset, 12)) m_objects.erase(r.U32(8));
        break;
    case EMR_CREATEPEN:
        if (Need(r, type, offset, 28)) {
            Obj* o = NewObject(r.U32(8), Obj::Pen);
            if (!o)
                break;
            o->pen.style = r.U32(12);
            o->pen.width = std::abs(double(r.I32(16)));
            o->pen.color = ColorRef(r.U32(24));
            o->pen.null = (o->pen.style & PS_STYLE_MASK) == PS_NULL;
        }
        break;
    case EMR_EXTCREATEPEN:
        if (Need(r, type, offset, 52)) {
            Obj* o = NewObject(r.U32(8), Obj::Pen);
            if (!o)
                break;
            o->pen.style = r.U32(28);
            o->pen.geometric = o->pen.style & PS_GEOMETRIC;
            o->pen.width = o->pen.geometric ? double(r.U32(32) & 0x7FFFFFFF) : 0;
            o->pen.null = (o->pen.style & PS_STYLE_MASK) == PS_NULL || r.U32(36) == BS_NULL;
            o->pen.color = ColorRef(r.U32(40));
            const quint32 entries = r.U32(48);
            if ((o->pen.style & PS_STYLE_MASK) == PS_USERSTYLE && entries > 0 && entries <= 16
                && r.Has(52, quint64(entries) * 4)) {
                const double w = std::max(1.0, o->pen.width);
                for (quint32 i = 0; i < entries; ++i)
                    o->pen.dashes.append(std::clamp(r.U32(52 + i * 4) / w, 0.5, 1000.0));
                if (o->pen.dashes.size() % 2)
                    o->pen.dashes.append(o->pen.dashes.last());
            }
        }
        break;
    case EMR_CREATEBRUSHINDIRECT:
        if (Need(r, type, offset, 24)) {
            Obj* o = NewObject(r.U32(8), Obj::Brush);
            if (!o)
                break;
            const quint32 style = r.U32(12);
            o->brush.null = style == BS_NULL;
            o->brush.color = ColorRef(r.U32(16));
            if (style == BS_HATCHED)
                o->brush.hatch = int(std::min<quint32>(r.U32(20), 5));
        }
        break;
    case EMR_CREATEMONOBRUSH:
    case EMR_CREATEDIBPATTERNBRUSHPT:
        if (Need(r, type, offset, 32)) {
            Obj* o = NewObject(r.U32(8), Obj::Brush);
            if (!o)
                break;
            o->brush.color = Qt::gray;
            if (auto img = Dib(r, r.U32(16), r.U32(20), r.U32(24), r.U32(28), offset);
                img && img->width() <= 256 && img->height() <= 256
                && m_patternPixels + qint64(img->width()) * img->height() <= kMaxPatternPixels) {
                m_patternPixels += qint64(img->width()) * img->height();
                o->brush.pattern = *img;
            }
        }
        break;
    case EMR_EXTCREATEFONTINDIRECTW:
        if (Need(r, type, offset, 40)) {
            Obj* o = NewObject(r.U32(8), Obj::Font);
            if (!o)
                break;
            FontObj& f = o->font;
            f.height = r.I32(12);
            f.escapement = r.I32(20);
            f.weight = r.I32(28);
            f.italic = r.p[32];
            f.underline = r.p[33];
            f.strikeOut = r.p[34];
            f.charset = r.p[35];
            f.pitch = r.p[39];
            f.face.clear();
            for (quint32 i = 0; i < 32 && r.Has(40 + i * 2, 2); ++i) {
                const quint16 c = r.U16(40 + i * 2);
                if (c == 0)
                    break;
                f.face.append(QChar(c));
            }
        }
        break;
    case EMR_CREATEPALETTE:
        if (Need(r, type, offset, 12))
            NewObject(r.U32(8), Obj::Other);
        break;
    default:
        return false;
    }
    return true;
}

}  // namespace emf::play
