#pragma once
// Border lines of the report page, a band or a printable control.

#include "TGraphics.h"
#include <QObject>

class TCanvas;
class BRRepaintable;

class TBRFrame : public QObject {
    Q_OBJECT
    Q_PROPERTY(uint Color READ Color WRITE SetColor)
    Q_PROPERTY(bool DrawTop READ DrawTop WRITE SetDrawTop)
    Q_PROPERTY(bool DrawBottom READ DrawBottom WRITE SetDrawBottom)
    Q_PROPERTY(bool DrawLeft READ DrawLeft WRITE SetDrawLeft)
    Q_PROPERTY(bool DrawRight READ DrawRight WRITE SetDrawRight)
    Q_PROPERTY(int Style READ StyleValue WRITE SetStyleValue)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
public:
    enum Side { sTop = 0, sBottom = 1, sLeft = 2, sRight = 3 };

    explicit TBRFrame(BRRepaintable* control = nullptr);

    TColor Color() const { return m_color; }
    void SetColor(TColor color);
    bool GetSide(int index) const { return (index >= 0 && index < 4) ? m_sides[index] : false; }
    void SetSide(int index, bool value);
    bool DrawTop() const { return m_sides[sTop]; }
    void SetDrawTop(bool v) { SetSide(sTop, v); }
    bool DrawBottom() const { return m_sides[sBottom]; }
    void SetDrawBottom(bool v) { SetSide(sBottom, v); }
    bool DrawLeft() const { return m_sides[sLeft]; }
    void SetDrawLeft(bool v) { SetSide(sLeft, v); }
    bool DrawRight() const { return m_sides[sRight]; }
    void SetDrawRight(bool v) { SetSide(sRight, v); }
    TPenStyle Style() const { return m_style; }
    void SetStyle(TPenStyle style);
    // Points (1/72 inch); -1 is exactly one device pixel.
    int Width() const { return m_width; }
    void SetWidth(int width);

    BRRepaintable* Control() const { return m_control; }
    void SetControl(BRRepaintable* control) { m_control = control; }

    bool HasAnySide() const;
    void ApplyToPen(TPen& pen) const;
    // Scales are device pixels per native unit along each axis.
    void PaintFrame(TCanvas& surface, const TRect& rect, long double horzScale, long double vertScale) const;

private:
    int StyleValue() const { return static_cast<int>(m_style); }
    void SetStyleValue(int v);
    void Changed();

    BRRepaintable* m_control;
    TColor m_color = clBlack;
    bool m_sides[4] = {false, false, false, false};
    TPenStyle m_style = TPenStyle::psSolid;
    int m_width = 1;
};
