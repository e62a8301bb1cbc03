#pragma once
// Status bar made of fixed-width text panels, docked at the bottom of its
// window.

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
    int PanelWidth(int index) const;
    QString PanelText(int index) const;
    void SetPanelText(int index, const QString& text);

private:
    QList<QLabel*> m_panels;
};
