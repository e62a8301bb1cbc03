// The drawing surface's font model, font mapping, shared text metrics and the
// QPainter canvas's text placement.
#include "FontMapper.h"
#include "PainterCanvas.h"
#include "TMetafileCanvas.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

TEST(FontMapper, WindowsFacesResolveToMetricCompatibleFaces)
{
    const struct {
        const char* name;
        const char* family;
    } cases[] = {
        {"Arial", "Liberation Sans"},          {"arial", "Liberation Sans"},
        {"Times New Roman", "Liberation Serif"}, {"Courier New", "Liberation Mono"},
        {"MS Sans Serif", "Liberation Sans"},  {"Tahoma", "Liberation Sans"},
        {"Courier", "Liberation Mono"},        {"Arial Narrow", "Liberation Sans Narrow"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FontMapper::MapFamily(QString::fromLatin1(c.name)), QString::fromLatin1(c.family)) << c.name;
        TFont f;
        f.Name = QString::fromLatin1(c.name);
        EXPECT_EQ(FontMapper::ToQFont(f).family(), QString::fromLatin1(c.family)) << c.name;
    }
    // Unknown faces fall back by pitch and family.
    EXPECT_EQ(FontMapper::ToQFont(QStringLiteral("NoSuchFace"), -13, 400, false, false, false, 0, 1).family(),
              QStringLiteral("Liberation Mono"));
    EXPECT_EQ(FontMapper::ToQFont(QStringLiteral("NoSuchFace"), -13, 400, false, false, false, 0, 0x12).family(),
              QStringLiteral("Liberation Serif"));
    EXPECT_EQ(FontMapper::ToQFont(QStringLiteral("NoSuchFace"), -13, 400, false, false, false, 0, 0).family(),
              QStringLiteral("Liberation Sans"));
}

TEST(TFont, SizeInPointsAndHeightInPixelsFollowTheResolution)
{
    TFont screen;
    screen.SetSize(10);
    EXPECT_EQ(screen.Height, -13);
    EXPECT_EQ(screen.Size(), 10);
    TFont printer;
    printer.PixelsPerInch = 600;
    printer.Assign(screen);  // keeps ten points
    EXPECT_EQ(printer.Height, -83);
    EXPECT_EQ(printer.Size(), 10);
    TFont same;
    same.Height = -17;
    screen.Assign(same);
    EXPECT_EQ(screen.Height, -17);
}

TEST(PainterCanvas, MeasuresLikeTheRecorderAndScalesWithResolution)
{
    QImage image(10, 10, QImage::Format_RGB32);
    QPainter p(&image);
    PainterCanvas screen(&p, 96);
    TMetafileCanvas recorder(100, 100);
    for (TCanvas* c : {static_cast<TCanvas*>(&screen), static_cast<TCanvas*>(&recorder)}) {
        c->Font.Name = QStringLiteral("Arial");
        c->Font.SetSize(10);
    }
    const QString text = QStringLiteral("Listagem de Pedidos sem Contas a Receber");
    EXPECT_EQ(screen.TextExtent(text), recorder.TextExtent(text));
    EXPECT_GT(screen.TextHeight(QStringLiteral("W")), 12);
    EXPECT_LT(screen.TextHeight(QStringLiteral("W")), 18);

    PainterCanvas printer(&p, 600);
    printer.SetFont(screen.Font);
    const double ratio = double(printer.TextWidth(text)) / screen.TextWidth(text);
    EXPECT_NEAR(ratio, 600.0 / 96, 0.15);
}

TEST(PainterCanvas, TextIsAnchoredByAlignmentAtItsTop)
{
    // Ink column range of the text drawn at x = 100, y = 20, per alignment.
    struct Case {
        unsigned align;
        int minLeft, maxLeft, minRight, maxRight;
    };
    const Case cases[] = {
        {TA_LEFT | TA_TOP, 100, 103, 101, 400},
        {TA_RIGHT | TA_TOP, 0, 99, 96, 100},
        {TA_CENTER | TA_TOP, 0, 99, 100, 400},
    };
    for (const Case& k : cases) {
        QImage image(400, 60, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter p(&image);
            PainterCanvas c(&p, 96);
            c.Font.SetSize(10);
            c.SetBkMode(TRANSPARENT);
            c.SetTextAlign(k.align);
            c.TextOut(100, 20, QStringLiteral("HHHH"));
        }
        int left = 400, right = -1, top = 60;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 400; ++x)
                if (qGray(image.pixel(x, y)) < 128) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                }
        EXPECT_GE(left, k.minLeft) << k.align;
        EXPECT_LE(left, k.maxLeft) << k.align;
        EXPECT_GE(right, k.minRight) << k.align;
        EXPECT_LE(right, k.maxRight) << k.align;
        EXPECT_GE(top, 20) << "text hangs below its top, align " << k.align;
        EXPECT_LE(top, 24) << k.align;
    }
}

TEST(PainterCanvas, BackgroundModeDecidesWhetherTheTextCellIsFilled)
{
    for (int mode : {OPAQUE, TRANSPARENT}) {
        QImage image(200, 40, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter p(&image);
            PainterCanvas c(&p, 96);
            c.Brush.Color = clYellow;
            c.SetBkMode(mode);
            c.TextOut(10, 10, QStringLiteral("i i i"));
        }
        // Just inside the cell's top-left corner, where no glyph inks.
        EXPECT_EQ(image.pixel(11, 10), mode == OPAQUE ? qRgb(255, 255, 0) : qRgb(255, 255, 255)) << mode;
    }
}
