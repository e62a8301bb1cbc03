// White fills where nothing was drawn yet are dropped from a page before it
// goes to PDF; the page looks the same, and whatever they might cover keeps them.
#include "BlankFillPruner.h"
#include "EmfPlayer.h"
#include "RecordedPage.h"
#include "TMetafile.h"
#include "TMetafileCanvas.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {
QImage paint(const QByteArray& emf)
{
    QImage image(200, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    EXPECT_EQ(EmfPlayer::Play(emf, &p, QRectF(0, 0, 200, 100)).status, EmfPlayResult::Status::Complete);
    return image;
}

void fill(TCanvas& c, TColor color, const TRect& r)
{
    c.Brush.Color = color;
    c.Brush.Style = TBrushStyle::bsSolid;
    c.FillRect(r);
}
} // namespace

TEST(BlankFills, OnlyFillsOverNothingGo)
{
    TMetafile page(200, 100);
    {
        TMetafileCanvas c(&page);
        fill(c, clWhite, {0, 0, 200, 100});   // the band: nothing under it
        fill(c, clWhite, {10, 10, 60, 30});   // a label's box: still nothing
        c.SetBkMode(TRANSPARENT);
        c.TextOut(12, 12, QStringLiteral("Texto"));
        fill(c, 0x00C0C0C0, {100, 10, 150, 30}); // grey: it shows
        fill(c, clWhite, {120, 20, 140, 40});    // over the grey: hides part of it
        fill(c, clWhite, {20, 15, 40, 25});      // over the text: hides part of it
        c.MoveTo(10, 80);
        c.LineTo(190, 80);
        fill(c, clWhite, {50, 75, 60, 85});      // over the line
        fill(c, clWhite, {10, 50, 40, 60});      // over nothing, later on
    }
    const QByteArray before = page.Data();
    const QByteArray after = PruneBlankFills(before);
    EXPECT_EQ(RecordedPage::Read(before).fills.size(), 7);
    EXPECT_EQ(RecordedPage::Read(after).fills.size(), 4);
    EXPECT_EQ(paint(after), paint(before));
    EXPECT_EQ(RecordedPage::Read(after).Texts(), QStringList{"Texto"});
}

TEST(BlankFills, WhatIsNotAWellFormedPageStaysAsItIs)
{
    TMetafile page(200, 100);
    {
        TMetafileCanvas c(&page);
        fill(c, clWhite, {0, 0, 200, 100});
    }
    const QByteArray good = page.Data();
    ASSERT_LT(PruneBlankFills(good).size(), good.size());
    QByteArray oddSize = good;
    oddSize[good.size() - 16] = 3; // a record size that is not a multiple of 4
    for (const QByteArray& bad : {good.left(good.size() - 6), good.left(60), QByteArray("not a picture"), oddSize, QByteArray()})
        EXPECT_EQ(PruneBlankFills(bad), bad);
}
