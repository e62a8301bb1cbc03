#pragma once
// The drawing surface: a 2-D canvas with the platform's graphics semantics in
// device units (pixels of the screen reference for recorded pages, printer
// dots for direct printing). Font, Pen and Brush are plain state read when the
// next operation draws; implementations select what changed at that moment.

#include "TGraphics.h"

#include <QByteArray>
#include <QSize>
#include <QString>

class TCanvas {
public:
    virtual ~TCanvas();
    TCanvas() = default;
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    TFont Font;
    TPen Pen;
    TBrush Brush;

    // Assigns a font keeping its size in points at this device's resolution.
    void SetFont(const TFont& font);

    virtual void MoveTo(int x, int y) = 0;
    virtual void LineTo(int x, int y) = 0;
    // Outlined with the pen, filled with the brush; right/bottom exclusive.
    virtual void Rectangle(int x1, int y1, int x2, int y2) = 0;
    virtual void RoundRect(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight) = 0;
    virtual void Ellipse(int x1, int y1, int x2, int y2) = 0;
    // Fills with the brush only, no outline.
    virtual void FillRect(const TRect& rect) = 0;

    // Draws text at (x, y) placed by the text alignment: x is the left, right
    // or centre of the text, y its top (or bottom / baseline when asked).
    // `options` takes ETO_RTLREADING.
    virtual void TextOut(int x, int y, const QString& text, unsigned options = 0) = 0;
    // Extent of the text in the current font, from the metrics that place it.
    virtual QSize TextExtent(const QString& text) = 0;
    int TextWidth(const QString& text) { return TextExtent(text).width(); }
    int TextHeight(const QString& text) { return TextExtent(text).height(); }

    void SetTextAlign(unsigned align) { m_textAlign = align; }
    unsigned TextAlign() const { return m_textAlign; }
    void SetBkMode(int mode) { m_bkMode = mode; }
    int BkMode() const { return m_bkMode; }

    // Paints a recorded page (EMF bytes) scaled into the rectangle.
    // Returns false, drawing what it could, when the picture is damaged.
    virtual bool StretchDraw(const TRect& rect, const QByteArray& emf) = 0;

    // Removes any clipping region (SelectClipRgn with no region).
    virtual void RemoveClipRegion() = 0;
    // Re-selects the canvas objects into a fresh page of the same device.
    virtual void Refresh() = 0;

    // Logical resolution of the device (pixels per inch).
    virtual int PixelsPerInchX() const = 0;
    virtual int PixelsPerInchY() const = 0;

protected:
    unsigned m_textAlign = TA_LEFT | TA_TOP;
    int m_bkMode = OPAQUE;
};
