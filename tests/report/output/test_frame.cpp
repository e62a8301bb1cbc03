// Frame painting: side thickness from the width in points and the scales.
#include "BRReportHost.h"
#include "FakeCanvas.h"
#include "TBRFrame.h"
#include <gtest/gtest.h>

namespace {
struct Repaints : BRRepaintable {
    int count = 0;
    void Repaint() override { ++count; }
};
} // namespace

TEST(Frame, DefaultsAndRepaint)
{
    Repaints control;
    TBRFrame frame(&control);
    EXPECT_EQ(frame.Width(), 1);
    EXPECT_EQ(frame.Style(), TPenStyle::psSolid);
    EXPECT_EQ(frame.Color(), clBlack);
    EXPECT_FALSE(frame.HasAnySide());
    frame.SetDrawRight(true);
    frame.SetColor(clRed);
    EXPECT_TRUE(frame.HasAnySide());
    EXPECT_EQ(control.count, 2);
}

TEST(Frame, PaintFrameWidths)
{
    const TRect r{10, 20, 110, 220};
    struct Case {
        int width;
        long double sx, sy;
        int tx, ty;
    };
    const Case cases[] = {
        {-1, 600.0L / 254, 600.0L / 254, 1, 1},   // one device pixel at any resolution
        {-1, 0.01L, 0.01L, 1, 1},
        {1, 96.0L / 254, 96.0L / 254, 1, 1},       // 1.33 px
        {1, 50.0L / 254, 50.0L / 254, 1, 1},       // below one pixel per point
        {2, 600.0L / 254, 300.0L / 254, 17, 8},    // 16.67 and 8.33
        {3, 96.0L / 254, 96.0L / 254, 4, 4},
        {0, 600.0L / 254, 600.0L / 254, 0, 0},     // draws nothing
        {-5, 600.0L / 254, 600.0L / 254, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width);
        TBRFrame frame;
        frame.SetColor(clBlue);
        frame.SetWidth(c.width);
        for (int side = 0; side < 4; ++side)
            frame.SetSide(side, true);
        FakeCanvas canvas;
        frame.PaintFrame(canvas, r, c.sx, c.sy);
        EXPECT_EQ(canvas.Brush.Style, TBrushStyle::bsClear);
        EXPECT_EQ(canvas.Pen.Width, 1);
        EXPECT_EQ(canvas.Pen.Color, clBlue);
        if (c.tx == 0) {
            EXPECT_TRUE(canvas.fills.isEmpty());
            continue;
        }
        ASSERT_EQ(canvas.fills.size(), 4);
        EXPECT_EQ(canvas.fills[0].rect, (TRect{10, 20, 110, 20 + c.ty}));
        EXPECT_EQ(canvas.fills[1].rect, (TRect{10, 220 - c.ty, 110, 220}));
        EXPECT_EQ(canvas.fills[2].rect, (TRect{10, 20, 10 + c.tx, 220}));
        EXPECT_EQ(canvas.fills[3].rect, (TRect{110 - c.tx, 20, 110, 220}));
        EXPECT_EQ(canvas.fills[0].color, clBlue);
    }
}

TEST(Frame, OnlyEnabledSidesInOrder)
{
    TBRFrame frame;
    frame.SetDrawLeft(true);
    frame.SetDrawBottom(true);
    frame.SetStyle(TPenStyle::psDash);
    FakeCanvas canvas;
    frame.PaintFrame(canvas, TRect{0, 0, 50, 50}, 1, 1);
    ASSERT_EQ(canvas.fills.size(), 2);
    EXPECT_EQ(canvas.fills[0].rect.Top, 50 - 4); // bottom first: 1 / 72 * 254 = 3.53 -> 4
    EXPECT_EQ(canvas.fills[1].rect.Right, 4);
    EXPECT_EQ(canvas.Pen.Style, TPenStyle::psDash);
}
