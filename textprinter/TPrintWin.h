#pragma once
// Options for printing the text pages through graphical printing.

#include <QFont>
#include <QObject>

class TPrintWin : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool PrintForWindows READ PrintForWindows WRITE SetPrintForWindows)
    Q_PROPERTY(QFont Font READ Font WRITE SetFont)
    Q_PROPERTY(qint16 LineSpace READ LineSpace WRITE SetLineSpace)
    Q_PROPERTY(TOrientation Orientation READ Orientation WRITE SetOrientation)
public:
    enum TOrientation { poPortrait, poLandscape };
    Q_ENUM(TOrientation)

    explicit TPrintWin(QObject* parent = nullptr) : QObject(parent) {}

    bool PrintForWindows() const { return m_printForWindows; }
    void SetPrintForWindows(bool v) { m_printForWindows = v; }
    // The font is owned: setting it copies the given font's attributes.
    const QFont& Font() const { return m_font; }
    QFont& Font() { return m_font; }
    void SetFont(const QFont& font) { m_font = font; }
    qint16 LineSpace() const { return m_lineSpace; }
    void SetLineSpace(qint16 v) { m_lineSpace = v; }
    TOrientation Orientation() const { return m_orientation; }
    void SetOrientation(TOrientation v) { m_orientation = v; }

private:
    bool m_printForWindows = false;
    QFont m_font;
    qint16 m_lineSpace = 0;
    TOrientation m_orientation = poPortrait;
};
