// White fills where nothing was drawn yet are dropped from a page before it
// goes to PDF; the page looks the same, and whatever they might cover keeps them.
#include "BlankFillPruner.h"
#include "EmfPlayer.h"
#include "RecordedPage.h"
#include "TMetafile.h"
#include "TMetafileCanvas.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QtEndian>
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
    const QByteArray after = brp::PruneBlankFills(before);
    EXPECT_EQ(RecordedPage::Read(before).fills.size(), 7);
    EXPECT_EQ(RecordedPage::Read(after).fills.size(), 4);
    EXPECT_EQ(paint(after), paint(before));
    EXPECT_EQ(RecordedPage::Read(after).Texts(), QStringList{QStringLiteral("Texto")});
}

TEST(BlankFills, WhatIsNotAWellFormedPageStaysAsItIs)
{
    TMetafile page(200, 100);
    {
        TMetafileCanvas c(&page);
        fill(c, clWhite, {0, 0, 200, 100});
    }
    const QByteArray good = page.Data();
    ASSERT_LT(brp::PruneBlankFills(good).size(), good.size());
    QByteArray oddSize = good;
    oddSize[good.size() - 16] = 3; // a record size that is not a multiple of 4
    for (const QByteArray& bad : {good.left(good.size() - 6), good.left(60), QByteArray("not a picture"), oddSize, QByteArray()})
        EXPECT_EQ(brp::PruneBlankFills(bad), bad);
}

namespace {
// The stock white brush selected, and a fill of it over (x, y, w, h).
QByteArray whiteFill(int x, int y, int w, int h)
{
    QByteArray r(112, '\0');
    char* d = r.data();
    qToLittleEndian<quint32>(emf::EMR_SELECTOBJECT, d);
    qToLittleEndian<quint32>(12, d + 4);
    qToLittleEndian<quint32>(emf::STOCK_BIT | emf::WHITE_BRUSH, d + 8);
    d += 12;
    qToLittleEndian<quint32>(emf::EMR_BITBLT, d);
    qToLittleEndian<quint32>(100, d + 4);
    const qint32 v[] = {x, y, x + w - 1, y + h - 1, x, y, w, h};
    for (int i = 0; i < 8; ++i)
        qToLittleEndian<qint32>(v[i], d + 8 + 4 * i);
    qToLittleEndian<quint32>(0x00F00021, d + 40); // PATCOPY
    qToLittleEndian<float>(1, d + 52);
    qToLittleEndian<float>(1, d + 64);
    return r;
}

// `emf` with a white fill before its first record and one before its end,
// or nothing when its records cannot be walked.
QByteArray withWhiteFills(const QByteArray& emf)
{
    if (emf.size() < 88)
        return {};
    const quint32 header = qFromLittleEndian<quint32>(emf.constData() + 4);
    quint32 offset = header;
    while (offset + 8 <= quint32(emf.size())) {
        const quint32 type = qFromLittleEndian<quint32>(emf.constData() + offset);
        const quint32 size = qFromLittleEndian<quint32>(emf.constData() + offset + 4);
        if (size < 8 || size % 4 || size > quint32(emf.size()) - offset)
            return {};
        if (type == emf::EMR_EOF)
            break;
        offset += size;
    }
    if (header < 88 || header % 4 || offset + 8 > quint32(emf.size()))
        return {};
    QByteArray out = emf.left(header) + whiteFill(0, 0, 50, 50) + emf.mid(header, offset - header) +
                     whiteFill(20, 20, 60, 40) + emf.mid(offset);
    qToLittleEndian<quint32>(quint32(out.size()), out.data() + 48);
    qToLittleEndian<quint32>(qFromLittleEndian<quint32>(out.constData() + 52) + 4, out.data() + 52);
    return out;
}
} // namespace

TEST(BlankFills, ThePlayersCorpusLooksTheSameWithoutThem)
{
    // Every input the player's fuzzing kept, given a fill over nothing and one
    // over whatever it drew: leaving fills out never changes a pixel, nor
    // turns a page the player reads into one it refuses.
    const QDir corpus(qEnvironmentVariable("BRP_SOURCE_DIR", QStringLiteral(BRP_DEFAULT_SOURCE_DIR)) +
                      QStringLiteral("/fuzz/corpus/fuzz_emf_player"));
    auto play = [](const QByteArray& bytes, EmfPlayResult* result) {
        QImage image(160, 120, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        *result = EmfPlayer::Play(bytes, &p, QRectF(0, 0, 160, 120));
        return image;
    };
    int pruned = 0;
    for (const QFileInfo& file : corpus.entryInfoList(QDir::Files)) {
        QFile f(file.filePath());
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray emf = withWhiteFills(f.readAll());
        if (emf.isEmpty())
            continue;
        const QByteArray after = brp::PruneBlankFills(emf);
        if (after == emf)
            continue;
        ++pruned;
        EmfPlayResult r1, r2;
        const QImage before = play(emf, &r1), without = play(after, &r2);
        EXPECT_TRUE(r2.status == r1.status || r2.status == EmfPlayResult::Status::Complete) << file.fileName().toStdString();
        if (r1.status == EmfPlayResult::Status::Complete) {
            EXPECT_EQ(without, before) << file.fileName().toStdString();
        }
    }
    EXPECT_GT(pruned, 0);
}
