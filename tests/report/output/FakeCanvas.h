#pragma once
// A drawing surface that only remembers the rectangles filled on it.

#include "TCanvas.h"
#include <QList>

struct FakeCanvas : TCanvas {
    struct Fill {
        TRect rect;
        TColor color;
    };
    QList<Fill> fills;
    QStringList texts;

    void MoveTo(int, int) override {}
    void LineTo(int, int) override {}
    void Rectangle(int, int, int, int) override {}
    void RoundRect(int, int, int, int, int, int) override {}
    void Ellipse(int, int, int, int) override {}
    void FillRect(const TRect& rect) override { fills.append({rect, Brush.Color}); }
    void TextOut(int, int, const QString& text, unsigned) override { texts.append(text); }
    QSize TextExtent(const QString& text) override { return QSize(int(text.size()) * 7, 13); }
    bool StretchDraw(const TRect&, const QByteArray&) override { return true; }
    void RemoveClipRegion() override {}
    void Refresh() override {}
    int PixelsPerInchX() const override { return 96; }
    int PixelsPerInchY() const override { return 96; }
};
