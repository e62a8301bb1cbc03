#include "TStatusBar.h"

#include <QLabel>

TStatusBar::TStatusBar(QWidget* parent) : QStatusBar(parent)
{
    setSizeGripEnabled(false);
    setContentsMargins(0, 0, 0, 0);
}

void TStatusBar::AddPanel(int width)
{
    auto* panel = new QLabel(this);
    panel->setFixedWidth(width);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    addWidget(panel);
    m_panels.append(panel);
}

void TStatusBar::AddFillPanel(int width)
{
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
    return index >= 0 && index < m_panels.size() ? m_panels[index]->width() : 0;
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
