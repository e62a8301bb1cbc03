#include "TBRShape.h"
#include "BRDefinitionWriter.h"
#include "BRRound.h"
#include "TBRPrinter.h"
#include "TCanvas.h"

#include <charconv>

TBRShape::TBRShape(TComponent* owner)
    : TBRPrintable(owner), m_pen(std::make_unique<PenHolder>([this] { Repaint(); })),
      m_brush(std::make_unique<BrushHolder>([this] { Repaint(); }))
{
    SetBounds(Left(), Top(), 65, 65);
}

TBRShape::~TBRShape() = default;

void TBRShape::SetShape(TBRShapeType shape)
{
    if (shape != m_shape) {
        m_shape = shape;
        Repaint();
    }
}

void TBRShape::SetShapeValue(int v)
{
    if (v >= brsRectangle && v <= brsRoundRect)
        SetShape(static_cast<TBRShapeType>(v));
}

void TBRShape::SetRoundFactor(double factor)
{
    const float f = static_cast<float>(factor);
    if (f != m_roundFactor) {
        m_roundFactor = f;
        Repaint();
    }
}

void TBRShape::PrintAt(int offsetX, int offsetY)
{
    TBRPrinter* target = OutputTarget();
    TCanvas* canvas = target ? target->PageCanvas() : nullptr;
    if (!canvas || !RenderToSurface() || !CanOutput())
        return;
    canvas->Brush = Brush();
    canvas->Pen = Pen();
    const TBRPrintableSize& size = *Size();
    const BRNative left = offsetX + size.Native(TBRPrintableSize::iLeft);
    const BRNative top = offsetY + size.Native(TBRPrintableSize::iTop);
    const BRNative width = size.Native(TBRPrintableSize::iWidth);
    const BRNative height = size.Native(TBRPrintableSize::iHeight);
    const int x1 = target->DeviceX(left), y1 = target->DeviceY(top);
    const int x2 = target->DeviceX(left + width), y2 = target->DeviceY(top + height);
    auto line = [canvas](int ax, int ay, int bx, int by) {
        canvas->MoveTo(ax, ay);
        canvas->LineTo(bx, by);
    };
    switch (m_shape) {
    case brsRectangle: canvas->Rectangle(x1, y1, x2, y2); break;
    case brsCircle: canvas->Ellipse(x1, y1, x2, y2); break;
    case brsVertLine: {
        const int xm = target->DeviceX(left + width / 2);
        line(xm, y1, xm, y2);
        break;
    }
    case brsHorLine: {
        const int ym = target->DeviceY(top + height / 2);
        line(x1, ym, x2, ym);
        break;
    }
    case brsTopAndBottom:
        line(x1, y1, x2, y1);
        line(x1, y2, x2, y2);
        break;
    case brsRightAndLeft:
        line(x1, y1, x1, y2);
        line(x2, y1, x2, y2);
        break;
    case brsRoundRect: {
        const int corner = brp::Trunc(static_cast<long double>(Width()) * m_roundFactor);
        canvas->RoundRect(x1, y1, x2, y2, corner, corner);
        break;
    }
    }
}

void TBRShape::WriteProperties(BRDefinitionWriter& w) const
{
    TBRPrintable::WriteProperties(w);
    const TBrush& brush = Brush();
    if (brush.Color != clWhite)
        w.WriteColor(QStringLiteral("Brush.Color"), brush.Color);
    if (brush.Style != TBrushStyle::bsSolid)
        w.WriteIdent(QStringLiteral("Brush.Style"),
                     BRDefinitionWriter::EnumName(*m_brush, "Style", static_cast<int>(brush.Style)));
    const TPen& pen = Pen();
    if (pen.Color != clBlack)
        w.WriteColor(QStringLiteral("Pen.Color"), pen.Color);
    if (pen.Mode != TPenMode::pmCopy)
        w.WriteIdent(QStringLiteral("Pen.Mode"), BRDefinitionWriter::EnumName(*m_pen, "Mode", static_cast<int>(pen.Mode)));
    if (pen.Style != TPenStyle::psSolid)
        w.WriteIdent(QStringLiteral("Pen.Style"),
                     BRDefinitionWriter::EnumName(*m_pen, "Style", static_cast<int>(pen.Style)));
    if (pen.Width != 1)
        w.WriteInt(QStringLiteral("Pen.Width"), pen.Width);
    w.WriteIdent(QStringLiteral("Shape"), BRDefinitionWriter::EnumName(*this, "Shape", m_shape));
    if (m_roundFactor != 0) {
        // The shortest text that reads back as the same single-precision value.
        char digits[32];
        const auto end = std::to_chars(digits, digits + sizeof digits, m_roundFactor).ptr;
        w.WriteIdent(QStringLiteral("RoundFactor"), QString::fromLatin1(digits, end - digits));
    }
    w.WriteInt(QStringLiteral("VertAdjust"), m_vertAdjust);
}
