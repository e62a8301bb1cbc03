#include "BrushHolder.h"

void BrushHolder::changed()
{
    if (m_changed)
        m_changed();
}

void BrushHolder::Assign(const TBrush& brush)
{
    m_brush = brush;
    changed();
}

void BrushHolder::SetColor(TColor color)
{
    m_brush.Color = color;
    changed();
}

void BrushHolder::SetStyleValue(int v)
{
    if (v >= static_cast<int>(TBrushStyle::bsSolid) && v <= static_cast<int>(TBrushStyle::bsClear)) {
        m_brush.Style = static_cast<TBrushStyle>(v);
        changed();
    }
}
