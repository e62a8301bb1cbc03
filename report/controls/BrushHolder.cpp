#include "BrushHolder.h"

void BrushHolder::Changed()
{
    if (m_changed)
        m_changed();
}

void BrushHolder::Assign(const TBrush& brush)
{
    m_brush = brush;
    Changed();
}

void BrushHolder::SetColor(TColor color)
{
    m_brush.Color = color;
    Changed();
}

void BrushHolder::SetStyleValue(int v)
{
    if (v >= static_cast<int>(TBrushStyle::bsSolid) && v <= static_cast<int>(TBrushStyle::bsClear)) {
        m_brush.Style = static_cast<TBrushStyle>(v);
        Changed();
    }
}
