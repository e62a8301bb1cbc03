// The preview image paints the page from its records: what the widget shows is
// what the player draws straight onto an image, at 1x and at 2x density (so it
// is not a bitmap scaled up), with the sheet's outline and shadow around it.
#include "EmfPlayer.h"
#include "PreviewFixture.h"
#include "TBRPreview.h"
#include "TBRPreviewImage.h"
#include "TMetafile.h"

#include <QImage>
#include <QPainter>

namespace {

class PreviewPaintTest : public PreviewTest {
protected:
    void SetUp() override
    {
        PreviewTest::SetUp();
        target = newTarget();
        runJob(*target, 2);
        preview.resize(900, 700);
        preview.SetBRPrinter(target.get());
        preview.SetZoom(100);
        preview.show();
    }

    TBRPreviewImage& image() { return *preview.PreviewImage(); }

    // The image widget rendered at `ratio`, on a grey ground.
    QImage grab(qreal ratio)
    {
        QImage out(image().size() * ratio, QImage::Format_ARGB32_Premultiplied);
        out.setDevicePixelRatio(ratio);
        out.fill(Qt::gray);
        image().render(&out, QPoint(), QRegion(), QWidget::DrawChildren);
        return out;
    }

    // The page played straight onto a white image of the same size.
    QImage direct(int page, qreal ratio)
    {
        const QByteArray emf = target->FetchPage(page)->Data();
        QImage out(image().size() * ratio, QImage::Format_ARGB32_Premultiplied);
        out.setDevicePixelRatio(ratio);
        out.fill(Qt::white);
        QPainter p(&out);
        EmfPlayer::Play(emf, &p, QRectF(QPointF(0, 0), image().size()));
        return out;
    }

    // Pixels that differ inside the sheet (3-pixel border left out).
    static int differences(const QImage& a, const QImage& b, qreal ratio)
    {
        int n = 0;
        const int margin = int(3 * ratio);
        for (int y = margin; y < a.height() - margin; ++y)
            for (int x = margin; x < a.width() - margin; ++x)
                n += a.pixel(x, y) != b.pixel(x, y);
        return n;
    }
    static int dark(const QImage& img)
    {
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                n += qGray(img.pixel(x, y)) < 128;
        return n;
    }

    std::unique_ptr<TBRPrinter> target;
    TBRPreview preview;
};

TEST_F(PreviewPaintTest, WidgetShowsWhatThePlayerDraws)
{
    ASSERT_TRUE(image().HasImage());
    const QImage shown = grab(1);
    EXPECT_EQ(differences(shown, direct(1, 1), 1), 0);
    // Page content, not an empty sheet: text strokes inside the sheet.
    QImage blank(shown.size(), shown.format());
    blank.fill(Qt::white);
    EXPECT_GT(differences(shown, blank, 1), 500);
    EXPECT_GT(differences(shown, direct(2, 1), 1), 0);
}

TEST_F(PreviewPaintTest, SharpAtDoubleDensity)
{
    const QImage shown = grab(2);
    EXPECT_EQ(differences(shown, direct(1, 2), 2), 0);
    // A 1x picture blown up would not match the vector replay at 2x.
    const QImage upscaled = direct(1, 1).scaled(shown.size()).convertToFormat(shown.format());
    EXPECT_GT(differences(shown, upscaled, 2), 1000);
}

TEST_F(PreviewPaintTest, OutlineAndShadow)
{
    const QImage shown = grab(1);
    const int w = shown.width(), h = shown.height();
    ASSERT_EQ(QSize(w, h), QSize(798, 1127));
    auto black = [&](int x, int y) { return shown.pixel(x, y) == qRgb(0, 0, 0); };
    auto ground = [&](int x, int y) { return shown.pixel(x, y) == QColor(Qt::gray).rgb(); };
    // Outline from (0, 0) to (w - 3, h - 3).
    EXPECT_TRUE(black(0, 0) && black(w - 3, 0) && black(0, h - 3) && black(w - 3, h - 3) && black(w / 2, 0));
    EXPECT_EQ(shown.pixel(w / 2, 1), qRgb(255, 255, 255));
    // Shadow two pixels wide on the right from y = 2 and at the bottom from x = 2.
    EXPECT_TRUE(black(w - 1, 2) && black(w - 2, h / 2) && black(2, h - 1) && black(w / 2, h - 2));
    EXPECT_TRUE(ground(w - 1, 1) && ground(w - 2, 0) && ground(1, h - 1) && ground(0, h - 2));
}

TEST_F(PreviewPaintTest, NothingWithoutAPicture)
{
    image().SetImagePage(9); // no such page
    EXPECT_FALSE(image().HasImage());
    const QImage shown = grab(1);
    EXPECT_EQ(dark(shown), 0);
    for (int y = 0; y < shown.height(); y += 50)
        EXPECT_EQ(shown.pixel(shown.width() / 2, y), QColor(Qt::gray).rgb());
}

} // namespace
