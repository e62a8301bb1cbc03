// The tool bar glyphs are drawn for the size and density asked, and greyed
// when disabled.
#include "PreviewGlyphs.h"

#include <QImage>
#include <QPixmap>
#include <gtest/gtest.h>

namespace {

int inked(const QImage& img)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += qAlpha(img.pixel(x, y)) > 0;
    return n;
}

TEST(PreviewGlyphs, DrawnAtEverySizeAndDensity)
{
    for (int i = 0; i < PreviewGlyphs::Count; ++i) {
        SCOPED_TRACE(i);
        const QIcon icon = PreviewGlyphs::Glyph(i);
        const QPixmap one = icon.pixmap(QSize(16, 16), 1.0);
        const QPixmap two = icon.pixmap(QSize(16, 16), 2.0);
        EXPECT_EQ(one.size(), QSize(16, 16));
        EXPECT_EQ(two.size(), QSize(32, 32)); // drawn anew, not blown up
        EXPECT_EQ(two.devicePixelRatio(), 2.0);
        const int ink = inked(two.toImage());
        if (i == 12 || i == 13) {
            EXPECT_EQ(ink, 0); // the dividers' images
            continue;
        }
        EXPECT_GT(ink, 40);
        EXPECT_NE(icon.pixmap(QSize(24, 24), 1.0, QIcon::Disabled).toImage(),
                  icon.pixmap(QSize(24, 24), 1.0, QIcon::Normal).toImage());
    }
    EXPECT_EQ(inked(PreviewGlyphs::Glyph(99).pixmap(16, 16).toImage()), 0);
}

} // namespace
