#include "TBRBasePanel.h"
#include "BRDefinitionWriter.h"
#include "TBRPrintable.h"

#include <algorithm>

namespace brp {

QRect SafeRect(qint64 left, qint64 top, qint64 width, qint64 height)
{
    auto c = [](qint64 v) { return int(std::clamp<qint64>(v, -BRMaxPixels, BRMaxPixels)); };
    return QRect(c(left), c(top), c(width), c(height));
}

} // namespace brp

TBRBasePanel::TBRBasePanel(TComponent* owner)
    : TComponent(owner), m_frame(std::make_unique<TBRFrame>(this))
{
}

TBRBasePanel::~TBRBasePanel()
{
    DestroyPrintables();
}

void TBRBasePanel::DestroyPrintables()
{
    // Printables placed here go with the panel, whoever owns them.
    while (!m_printables.isEmpty())
        delete m_printables.takeLast();
}

void TBRBasePanel::SetBounds(int left, int top, int width, int height)
{
    m_bounds = brp::SafeRect(left, top, width, height);
}

void TBRBasePanel::SetZoom(int zoom)
{
    m_zoom = zoom;
    const QList<TBRPrintable*> printables = m_printables;
    for (TBRPrintable* p : printables)
        p->SetZoom(zoom);
}

void TBRBasePanel::SetColor(TColor color)
{
    m_color = color;
    Repaint();
}

const TFont& TBRBasePanel::Font() const
{
    const TBRBasePanel* parent = m_font.Inherits() ? FontParent() : nullptr;
    return m_font.Effective(parent ? &parent->Font() : nullptr);
}

void TBRBasePanel::SetFont(const TFont& font)
{
    m_font.Set(font);
    Repaint();
}

void TBRBasePanel::SetParentFont(bool value)
{
    const TBRBasePanel* parent = value && !m_font.Inherits() ? FontParent() : nullptr;
    m_font.SetInherits(value, parent ? &parent->Font() : nullptr);
}

void TBRBasePanel::InsertPrintable(TBRPrintable* printable)
{
    if (printable && !m_printables.contains(printable))
        m_printables.append(printable);
}

void TBRBasePanel::RemovePrintable(TBRPrintable* printable)
{
    m_printables.removeAll(printable);
}

void TBRBasePanel::WriteProperties(BRDefinitionWriter& w) const
{
    if (m_tag)
        w.WriteInt(QStringLiteral("Tag"), m_tag);
    w.WriteInt(QStringLiteral("Left"), Left());
    w.WriteInt(QStringLiteral("Top"), Top());
    w.WriteInt(QStringLiteral("Width"), Width());
    w.WriteInt(QStringLiteral("Height"), Height());
    w.WriteFrame(*m_frame);
}
