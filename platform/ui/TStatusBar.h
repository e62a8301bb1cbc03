#pragma once
// Status bar made of text panels, docked at the bottom of its window. Each
// panel keeps the width it was given; the last one runs on to the bar's
// right edge, as a platform status bar's last panel does, so its text gets
// the room that is left.

#include <QList>
#include <QStatusBar>

class QLabel;

class TStatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit TStatusBar(QWidget* parent = nullptr);

    void AddPanel(int width);
    // A panel at least `width` wide that takes what is left of the bar, as the
    // last panel of the platform's status bars does.
    void AddFillPanel(int width);
    void SetPanelAlignment(int index, Qt::Alignment alignment);
    int PanelCount() const { return m_panels.size(); }
    // The stored width, not the room the last panel takes on screen.
    int PanelWidth(int index) const;
    QString PanelText(int index) const;
    void SetPanelText(int index, const QString& text);
    // Where the panel lies within the bar (for tests and layout checks).
    QRect PanelGeometry(int index) const;

private:
    QList<QLabel*> m_panels;
    QList<int> m_widths;
};
