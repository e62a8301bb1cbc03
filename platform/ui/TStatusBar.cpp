#include "TStatusBar.h"

#include <QLabel>

TStatusBar::TStatusBar(QWidget* parent) : QStatusBar(parent)
{
    setSizeGripEnabled(false);
    setContentsMargins(0, 0, 0, 0);
}

void TStatusBar::AddPanel(int width)
{
    // The panel that was last stops at its own width.
    if (!m_panels.isEmpty())
        m_panels.last()->setFixedWidth(m_widths.last());
    auto* panel = new QLabel(this);
    panel->setMinimumWidth(width);
    panel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    addWidget(panel, 1);
    m_panels.append(panel);
    m_widths.append(width);
}

void TStatusBar::AddFillPanel(int width)
{
    // The panel that was last stops at its own width: this one takes the rest.
    if (!m_panels.isEmpty() && m_widths.size() == m_panels.size())
        m_panels.last()->setFixedWidth(m_widths.last());
    auto* panel = new QLabel(this);
    panel->setMinimumWidth(width);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    addWidget(panel, 1);
    m_panels.append(panel);
}

void TStatusBar::SetPanelAlignment(int index, Qt::Alignment alignment)
{
    if (index >= 0 && index < m_panels.size())
        m_panels[index]->setAlignment(alignment);
}

int TStatusBar::PanelWidth(int index) const
{
    return index >= 0 && index < m_widths.size() ? m_widths[index] : 0;
}

QString TStatusBar::PanelText(int index) const
{
    return index >= 0 && index < m_panels.size() ? m_panels[index]->text() : QString();
}

void TStatusBar::SetPanelText(int index, const QString& text)
{
    if (index >= 0 && index < m_panels.size())
        m_panels[index]->setText(text);
}

QRect TStatusBar::PanelGeometry(int index) const
{
    return index >= 0 && index < m_panels.size() ? m_panels[index]->geometry() : QRect();
}
