#pragma once
// Canvas over a QPainter: screen, printer, PDF writer or image. Coordinates
// are device units of the painter's device (its logical resolution gives
// PixelsPerInch, so font sizes in points come out at their physical size).

#include "TCanvas.h"

#include <memory>

class QPainter;

class PainterCanvas : public TCanvas {
public:
    // The painter must outlive the canvas. `pixelsPerInch` 0 takes the
    // device's logical resolution.
    explicit PainterCanvas(QPainter* painter, int pixelsPerInch = 0);
    ~PainterCanvas() override;

    PainterCanvas(const PainterCanvas&) = delete;
    PainterCanvas& operator=(const PainterCanvas&) = delete;

    QPainter* Painter() const;

    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Rectangle(int x1, int y1, int x2, int y2) override;
    void RoundRect(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight) override;
    void Ellipse(int x1, int y1, int x2, int y2) override;
    void FillRect(const TRect& rect) override;
    void TextOut(int x, int y, const QString& text, unsigned options = 0) override;
    QSize TextExtent(const QString& text) override;
    bool StretchDraw(const TRect& rect, const QByteArray& emf) override;
    void RemoveClipRegion() override;
    void Refresh() override;
    int PixelsPerInchX() const override;
    int PixelsPerInchY() const override;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
