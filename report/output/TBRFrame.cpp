#include "TBRFrame.h"
#include "BRReportHost.h"
#include "BRRound.h"
#include "TCanvas.h"

namespace {
// Line thickness in device pixels for one axis.
int thickness(int width, long double scale)
{
    if (width == -1)
        return 1;
    if (width <= 0)
        return 0; // nothing to draw (other negative widths included)
    const int t = brp::Round(scale / 72 * 254 * width);
    return t < 1 ? 1 : t;
}
} // namespace

TBRFrame::TBRFrame(BRRepaintable* control) : m_control(control) {}

void TBRFrame::Changed()
{
    if (m_control)
        m_control->Repaint();
}

void TBRFrame::SetColor(TColor color)
{
    m_color = color;
    Changed();
}

void TBRFrame::SetSide(int index, bool value)
{
    if (index < 0 || index >= 4)
        return;
    m_sides[index] = value;
    Changed();
}

void TBRFrame::SetStyle(TPenStyle style)
{
    m_style = style;
    Changed();
}

void TBRFrame::SetStyleValue(int v)
{
    if (v >= 0 && v <= static_cast<int>(TPenStyle::psInsideFrame))
        SetStyle(static_cast<TPenStyle>(v));
}

void TBRFrame::SetWidth(int width)
{
    m_width = width;
    Changed();
}

bool TBRFrame::HasAnySide() const
{
    return m_sides[0] || m_sides[1] || m_sides[2] || m_sides[3];
}

void TBRFrame::ApplyToPen(TPen& pen) const
{
    pen.Width = 1;
    pen.Style = m_style;
    pen.Color = m_color;
}

void TBRFrame::PaintFrame(TCanvas& surface, const TRect& r, long double horzScale, long double vertScale) const
{
    const int tx = thickness(m_width, horzScale);
    const int ty = thickness(m_width, vertScale);
    surface.Brush.Style = TBrushStyle::bsSolid;
    surface.Brush.Color = m_color;
    ApplyToPen(surface.Pen);
    if (ty > 0) {
        if (m_sides[sTop])
            surface.FillRect(TRect{r.Left, r.Top, r.Right, r.Top + ty});
        if (m_sides[sBottom])
            surface.FillRect(TRect{r.Left, r.Bottom - ty, r.Right, r.Bottom});
    }
    if (tx > 0) {
        if (m_sides[sLeft])
            surface.FillRect(TRect{r.Left, r.Top, r.Left + tx, r.Bottom});
        if (m_sides[sRight])
            surface.FillRect(TRect{r.Right - tx, r.Top, r.Right, r.Bottom});
    }
    surface.Brush.Style = TBrushStyle::bsClear;
}
