// The preview control: zoom and placement arithmetic, attaching and detaching
// a target, the page-number rules and pages arriving while the job runs.
#include "PreviewFixture.h"
#include "TBRPreview.h"
#include "TBRPreviewImage.h"

#include <QScrollBar>

namespace {

class PreviewControlTest : public PreviewTest {
protected:
    // A target recording A4 portrait pages at the screen's resolution.
    std::unique_ptr<TBRPrinter> runningTarget()
    {
        auto t = newTarget();
        t->StartJob();
        return t;
    }
};

TEST_F(PreviewControlTest, ScreenIsTheReferenceOfTheseCases)
{
    // The arithmetic below assumes the offscreen screen's 96 pixels per inch.
    ASSERT_EQ(brp::ScreenPixelsPerInch(), 96);
}

TEST_F(PreviewControlTest, ImageSizeAndPlacementAt100Percent)
{
    auto t = runningTarget();
    struct Case {
        int w, h;
        QPoint expected;
    };
    // 798 x 1127 (794 + 4 by 1123 + 4): centred only along a side that is larger.
    for (const Case& c : {Case{1000, 700, QPoint(101, 0)}, Case{1200, 1300, QPoint(201, 86)},
                          Case{600, 1200, QPoint(0, 36)}}) {
        SCOPED_TRACE(QStringLiteral("%1 x %2").arg(c.w).arg(c.h).toStdString());
        TBRPreview p;
        p.resize(c.w, c.h);
        p.SetBRPrinter(t.get());
        p.SetZoom(100);
        EXPECT_EQ(p.PreviewImage()->size(), QSize(798, 1127));
        EXPECT_EQ(p.PreviewImage()->pos(), c.expected);
        EXPECT_EQ(p.PreviewImage()->Zoom(), 100);
        p.SetBRPrinter(nullptr);
    }
}

TEST_F(PreviewControlTest, FitModes)
{
    auto t = runningTarget();
    TBRPreview p;
    p.resize(1000, 700);
    p.show(); // resize events reach shown widgets only
    p.SetBRPrinter(t.get());
    EXPECT_EQ(p.ZoomMode(), zmFree);
    p.FitWidth(); // round(1000 / 794 * 90)
    EXPECT_EQ(p.Zoom(), 113);
    EXPECT_EQ(p.ZoomMode(), zmWidth);
    p.FitPage(); // min(round(1000 / 794 * 95), round(700 / 1123 * 95))
    EXPECT_EQ(p.Zoom(), 59);
    EXPECT_EQ(p.ZoomMode(), zmFit);
    // A resize repeats the mode's fit.
    p.resize(1000, 1400);
    EXPECT_EQ(p.Zoom(), 118);
    EXPECT_EQ(p.ZoomMode(), zmFit);
    p.SetZoom(100);
    p.resize(500, 500);
    EXPECT_EQ(p.Zoom(), 100);
    EXPECT_EQ(p.ZoomMode(), zmFree);
    // Far too small a window leaves the zoom as it was, and the mode as asked.
    p.resize(1, 1);
    p.FitWidth();
    EXPECT_EQ(p.Zoom(), 100);
    EXPECT_EQ(p.ZoomMode(), zmWidth);
}

TEST_F(PreviewControlTest, ZoomLimits)
{
    TBRPreview p;
    struct Case {
        int value, expected;
    };
    for (const Case& c : {Case{1, 100}, Case{2001, 100}, Case{2, 2}, Case{2000, 2000}, Case{0, 2000}, Case{-5, 2000}}) {
        p.SetZoom(c.value);
        EXPECT_EQ(p.Zoom(), c.expected) << c.value;
    }
}

TEST_F(PreviewControlTest, WithoutTargetLetterIsAssumed)
{
    TBRPreview p;
    p.resize(1000, 700);
    p.SetZoom(100);
    EXPECT_EQ(p.PreviewImage()->size(), QSize(220, 283)); // round(215.9) + 4, round(279.4) + 4
    p.FitWidth(); // round(1000 / 215.9 * 95)
    EXPECT_EQ(p.Zoom(), 440);
    p.FitPage(); // min(440, round(700 / 279.4 * 95))
    EXPECT_EQ(p.Zoom(), 238);
}

TEST_F(PreviewControlTest, AttachAndDetach)
{
    auto t = newTarget();
    runJob(*t, 3);
    QList<QObject*> afterPreview;
    t->SetAfterPreview([&](QObject* s) { afterPreview.append(s); });
    {
        TBRPreview p;
        p.SetBRPrinter(t.get());
        EXPECT_EQ(t->StatusClient(), &p);
        EXPECT_TRUE(t->PreviewOpen());
        EXPECT_EQ(p.PageNumber(), 1);
        EXPECT_TRUE(p.PreviewImage()->HasImage());
        p.SetPageNumber(3);
        // Attaching again goes back to page 1.
        p.SetBRPrinter(t.get());
        EXPECT_EQ(p.PageNumber(), 1);
        EXPECT_EQ(afterPreview.size(), 1);
        EXPECT_TRUE(t->PreviewOpen());
    }
    // Destroying the preview lets go of the target.
    EXPECT_EQ(t->StatusClient(), nullptr);
    EXPECT_FALSE(t->PreviewOpen());
    EXPECT_EQ(afterPreview.size(), 2);

    // Destroying the target detaches it from the preview.
    TBRPreview p;
    p.SetBRPrinter(t.get());
    t.reset();
    EXPECT_EQ(p.BRPrinter(), nullptr);
    EXPECT_FALSE(p.PreviewImage()->HasImage());
    p.SetPageNumber(2);
    EXPECT_EQ(p.PageNumber(), 1);
}

TEST_F(PreviewControlTest, PageNumberRules)
{
    auto t = newTarget();
    runJob(*t, 5);
    TBRPreview p;
    p.resize(400, 300);
    p.SetBRPrinter(t.get());
    p.SetZoom(100);
    p.verticalScrollBar()->setValue(200);
    p.SetPageNumber(4);
    EXPECT_EQ(p.PageNumber(), 4);
    EXPECT_EQ(p.PreviewImage()->ImagePage(), 4);
    EXPECT_EQ(p.verticalScrollBar()->value(), 0);
    for (int ignored : {0, -1, 6}) {
        p.SetPageNumber(ignored);
        EXPECT_EQ(p.PageNumber(), 4) << ignored;
        EXPECT_EQ(p.PreviewImage()->ImagePage(), 4);
    }
    p.SetPageNumber(5);
    EXPECT_EQ(p.PageNumber(), 5);
}

TEST_F(PreviewControlTest, PagesShowAsTheyAreRecorded)
{
    auto t = newTarget();
    TBRPreview p;
    p.resize(1000, 700);
    QList<int> available, progress;
    p.OnPageAvailable = [&](QObject* s, int n) {
        EXPECT_EQ(s, &p);
        available.append(n);
    };
    p.OnProgressUpdate = [&](QObject*, int v) { progress.append(v); };
    p.SetBRPrinter(t.get());
    t->StartJob();
    t->NewPage();
    drawPage(*t, 1);
    QCoreApplication::processEvents();
    EXPECT_FALSE(p.PreviewImage()->HasImage()); // page 1 still open

    t->SetProgress(40);
    t->NewPage(); // page 1 complete
    drawPage(*t, 2);
    QCoreApplication::processEvents();
    EXPECT_EQ(available, QList<int>({1}));
    EXPECT_EQ(progress, QList<int>({40}));
    EXPECT_TRUE(p.PreviewImage()->HasImage());
    EXPECT_EQ(p.Zoom(), 113); // the page that became ready is fitted to the width
    EXPECT_EQ(p.ZoomMode(), zmWidth);

    // The open last page can be chosen; it shows once it is ready.
    p.SetPageNumber(2);
    EXPECT_EQ(p.PageNumber(), 2);
    EXPECT_FALSE(p.PreviewImage()->HasImage());
    t->FinishJob();
    QCoreApplication::processEvents();
    EXPECT_EQ(available, QList<int>({1, 2}));
    EXPECT_TRUE(p.PreviewImage()->HasImage());
    EXPECT_EQ(p.PreviewImage()->ImagePage(), 2);
}

TEST_F(PreviewControlTest, MessageParametersAreSixteenBits)
{
    TBRPreview p;
    QList<int> available;
    p.OnPageAvailable = [&](QObject*, int n) { available.append(n); };
    QCoreApplication::postEvent(&p, new BRMessageEvent(BRM_PAGESREADY, 0x10003, 0));
    QCoreApplication::processEvents();
    EXPECT_EQ(available, QList<int>({3}));
}

} // namespace
