// Shapes drawn on a recorded page: the seven figures in device pixels, the
// dashed rule of the listing's header, corner size, and what draws nothing.
#include "ControlsFixture.h"

namespace {

class ShapePrint : public ControlsTest {
protected:
    TBRShape* shape(TBRShapeType type, int height = 9)
    {
        auto* s = place<TBRShape>(QStringLiteral("BRShape%1").arg(++m_count), 8, 112, 700, height);
        s->SetShape(type);
        return s;
    }
    RecordedPage print(TBRPrintable* p)
    {
        startPage();
        printOnce(p, OX, OY);
        box = {dx(OX + p->Size()->Native(TBRPrintableSize::iLeft)), dy(OY + p->Size()->Native(TBRPrintableSize::iTop)),
               dx(OX + p->Size()->Native(TBRPrintableSize::iLeft) + p->Size()->Native(TBRPrintableSize::iWidth)),
               dy(OY + p->Size()->Native(TBRPrintableSize::iTop) + p->Size()->Native(TBRPrintableSize::iHeight))};
        middleX = dx(OX + p->Size()->Native(TBRPrintableSize::iLeft) + p->Size()->Native(TBRPrintableSize::iWidth) / 2);
        middleY = dy(OY + p->Size()->Native(TBRPrintableSize::iTop) + p->Size()->Native(TBRPrintableSize::iHeight) / 2);
        RecordedPage page = finishPage();
        target.reset();
        return page;
    }

    static constexpr int OX = 100, OY = 100;
    TRect box;
    int middleX = 0, middleY = 0;

private:
    int m_count = 0;
};

} // namespace

TEST_F(ShapePrint, EachFigureInTheDeviceBox)
{
    for (int t = brsRectangle; t <= brsRoundRect; ++t) {
        TBRShape* s = shape(static_cast<TBRShapeType>(t), 40);
        s->SetRoundFactor(0.1);
        const RecordedPage page = print(s);
        const TRect& b = box;
        QList<RecordedLine> lines;
        std::uint32_t figure = 0;
        switch (t) {
        case brsRectangle: figure = emf::EMR_RECTANGLE; break;
        case brsCircle: figure = emf::EMR_ELLIPSE; break;
        case brsRoundRect: figure = emf::EMR_ROUNDRECT; break;
        case brsVertLine: lines = {{middleX, b.Top, middleX, b.Bottom}}; break;
        case brsHorLine: lines = {{b.Left, middleY, b.Right, middleY}}; break;
        case brsTopAndBottom: lines = {{b.Left, b.Top, b.Right, b.Top}, {b.Left, b.Bottom, b.Right, b.Bottom}}; break;
        case brsRightAndLeft: lines = {{b.Left, b.Top, b.Left, b.Bottom}, {b.Right, b.Top, b.Right, b.Bottom}}; break;
        }
        EXPECT_EQ(page.lines, lines) << t;
        if (figure) {
            ASSERT_EQ(page.shapes.size(), 1) << t;
            EXPECT_EQ(page.shapes[0].type, figure);
            EXPECT_EQ(page.shapes[0].rect, b);
            if (figure == emf::EMR_ROUNDRECT) {
                EXPECT_EQ(page.shapes[0].cornerWidth, 70); // 700 pixels x 0.1
            }
        } else {
            EXPECT_TRUE(page.shapes.isEmpty()) << t;
        }
        EXPECT_TRUE(page.fills.isEmpty()) << t;
        EXPECT_TRUE(s->OutputComplete());
    }
}

TEST_F(ShapePrint, DashedRuleRunsThroughTheMiddleOfItsNinePixelBox)
{
    TBRShape* rule = shape(brsHorLine);
    TPen pen;
    pen.Style = TPenStyle::psDash;
    rule->SetPen(pen);
    const RecordedPage page = print(rule);
    ASSERT_EQ(page.lines.size(), 1);
    EXPECT_EQ(page.lines[0].y1, middleY);
    EXPECT_GT(middleY, box.Top + 3);
    EXPECT_LT(middleY, box.Bottom - 3);
    EXPECT_EQ(page.lines[0].penStyle, std::uint32_t(emf::PS_DASH));

    rule->SetVertAdjust(5);
    EXPECT_EQ(print(rule).lines, page.lines);
}

TEST_F(ShapePrint, RoundRectWithFactorZeroHasSquareCornersAndTheBrushFills)
{
    TBRShape* s = shape(brsRoundRect, 40);
    TBrush brush;
    brush.Color = clSilver;
    s->SetBrush(brush);
    const RecordedPage page = print(s);
    ASSERT_EQ(page.shapes.size(), 1);
    EXPECT_EQ(page.shapes[0].cornerWidth, 0);
    EXPECT_EQ(page.shapes[0].cornerHeight, 0);
    EXPECT_EQ(page.shapes[0].brushColor, clSilver);
}

TEST_F(ShapePrint, NothingDrawnWhenDisabledOrNotRendering)
{
    TBRShape* s = shape(brsRectangle);
    s->Frame()->SetDrawTop(true);
    s->SetEnabled(false);
    RecordedPage page = print(s);
    EXPECT_TRUE(page.shapes.isEmpty());
    s->SetEnabled(true);
    report->SetRenderToSurface(false);
    page = print(s);
    EXPECT_TRUE(page.shapes.isEmpty());
    EXPECT_TRUE(page.fills.isEmpty());
}

TEST_F(ShapePrint, NewShapeIsSixtyFivePixelsSquare)
{
    auto* s = new TBRShape(form.get());
    EXPECT_EQ(s->Width(), 65);
    EXPECT_EQ(s->Height(), 65);
    EXPECT_EQ(s->Shape(), brsRectangle);
}
