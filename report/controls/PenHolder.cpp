#include "PenHolder.h"

void PenHolder::Changed()
{
    if (m_changed)
        m_changed();
}

void PenHolder::Assign(const TPen& pen)
{
    m_pen = pen;
    Changed();
}

void PenHolder::SetColor(TColor color)
{
    m_pen.Color = color;
    Changed();
}

void PenHolder::SetWidth(int width)
{
    m_pen.Width = width;
    Changed();
}

void PenHolder::SetModeValue(int v)
{
    if (v >= static_cast<int>(TPenMode::pmBlack) && v <= static_cast<int>(TPenMode::pmNotXor)) {
        m_pen.Mode = static_cast<TPenMode>(v);
        Changed();
    }
}

void PenHolder::SetStyleValue(int v)
{
    if (v >= static_cast<int>(TPenStyle::psSolid) && v <= static_cast<int>(TPenStyle::psInsideFrame)) {
        m_pen.Style = static_cast<TPenStyle>(v);
        Changed();
    }
}
