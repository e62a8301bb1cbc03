// Units, page and band geometry.
#include "BRReportHost.h"
#include "BRRound.h"
#include "TBRBandSize.h"
#include "TBRFrame.h"
#include "TBRPage.h"
#include "TBRPaperSize.h"
#include "TBRUnitBase.h"
#include "FakeReportHost.h"
#include "PlatformError.h"
#include <gtest/gtest.h>
#include <QLocale>

namespace {
class UnitsTest : public ::testing::Test {
protected:
    void SetUp() override { TBRUnitBase::InitDefaultUnits(QLocale(QLocale::Portuguese, QLocale::Brazil)); }
    void TearDown() override { TBRUnitBase::InitDefaultUnits(QLocale(QLocale::Portuguese, QLocale::Brazil)); }
    FakeReportHost host;
};
} // namespace

TEST_F(UnitsTest, ConversionTable)
{
    TBRPage page(&host);
    page.SetResolution(96);
    struct Case {
        TBRUnit unit;
        bool horizontal;
        int zoom;
        double font;
        long double native;
        long double expected;
    };
    const Case cases[] = {
        {TBRUnit::MM, true, 100, 10, 254, 25.4L},
        {TBRUnit::Inches, false, 100, 10, 254, 1},
        {TBRUnit::Pixels, true, 100, 10, 254, 96},
        {TBRUnit::Pixels, true, 50, 10, 254, 48},
        {TBRUnit::Pixels, false, 200, 10, 127, 96},
        {TBRUnit::Characters, true, 100, 10, 254, 254 / (80.0L / 10 / 2.54L) / 10},
        {TBRUnit::Characters, true, 100, -10, 254, 254 / (80.0L / 10 / 2.54L) / 10},
        {TBRUnit::Characters, false, 100, 10, 254, 254 / (145.3L / 10 / 2.54L) / 10},
        {TBRUnit::Characters, false, 100, -20, 254, 254 / (145.3L / 20 / 2.54L) / 10},
        {TBRUnit::Native, true, 100, 10, 123.25L, 123.25L},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.unit));
        page.SetZoom(c.zoom);
        host.fontSize = c.font;
        const long double u = page.NativeToUnits(c.unit, c.horizontal, c.native);
        EXPECT_NEAR(double(u), double(c.expected), 1e-9);
        EXPECT_NEAR(double(page.UnitsToNative(c.unit, c.horizontal, u)), double(c.native), 1e-9);
    }
    host.fontSize = 10;
    page.SetZoom(100);
    EXPECT_NEAR(double(page.NativeToUnits(TBRUnit::Characters, true, 254)), 8.0645, 1e-3);
    // The font is read at every conversion.
    host.fontSize = 20;
    EXPECT_NEAR(double(page.NativeToUnits(TBRUnit::Characters, true, 254)), 16.129, 1e-3);
}

TEST_F(UnitsTest, PixelBracketRestoresUnits)
{
    TBRPage page(&host);
    page.SetUnits(TBRUnit::Inches);
    page.UsePixelUnits();
    EXPECT_EQ(page.Units(), TBRUnit::Pixels);
    page.RestoreUnits();
    EXPECT_EQ(page.Units(), TBRUnit::Inches);
}

TEST_F(UnitsTest, LocalePicksDefaults)
{
    TBRUnitBase::InitDefaultUnits(QLocale(QLocale::English, QLocale::UnitedStates));
    TBRPage us(&host);
    EXPECT_EQ(us.Units(), TBRUnit::Inches);
    EXPECT_EQ(us.PaperSize(), TBRPaperSize::Letter);
    EXPECT_DOUBLE_EQ(us.TopMargin(), 0.5);
    EXPECT_DOUBLE_EQ(us.Width(), 8.5);

    TBRUnitBase::InitDefaultUnits(QLocale(QLocale::English, QLocale::UnitedKingdom));
    TBRPage uk(&host);
    EXPECT_EQ(uk.Units(), TBRUnit::MM);
    EXPECT_EQ(uk.PaperSize(), TBRPaperSize::A4);
    EXPECT_EQ(uk.ValuesText(), QStringLiteral("(100.0 2970.0 100.0 2100.0 100.0 100.0 0.0)"));
    EXPECT_EQ(uk.Columns(), 1);
    EXPECT_TRUE(uk.Ruler());
    EXPECT_EQ(uk.Orientation(), poPortrait);
}

TEST_F(UnitsTest, PaperSizesAndOrientation)
{
    TBRPage page(&host);
    // A named size ignores Width and Length.
    page.SetWidth(100);
    page.SetLength(100);
    EXPECT_DOUBLE_EQ(page.Width(), 210);
    EXPECT_DOUBLE_EQ(page.Length(), 297);

    page.SetOrientation(poLandscape);
    EXPECT_DOUBLE_EQ(page.Width(), 297);
    EXPECT_DOUBLE_EQ(page.Length(), 210);
    EXPECT_EQ(page.Units(), TBRUnit::MM); // the pixel bracket restored the units
    page.SetOrientation(poPortrait);

    struct Case {
        TBRPaperSize size;
        TPrinterOrientation orientation;
        double width, length;
    };
    const Case cases[] = {
        {TBRPaperSize::Note, poPortrait, 215.9, 279.0},
        {TBRPaperSize::Ledger, poPortrait, 431.8, 279.4},
        {TBRPaperSize::Ledger, poLandscape, 279.4, 431.8},
        {TBRPaperSize::Env9, poPortrait, 98.43, 225.4},
        {TBRPaperSize::A3, poLandscape, 420.0, 297.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(brp::PaperSizeName(c.size));
        TBRPage p(&host);
        p.SetOrientation(c.orientation);
        p.SetPaperSize(c.size);
        EXPECT_NEAR(p.Width(), c.width, 1e-9);
        EXPECT_NEAR(p.Length(), c.length, 1e-9);
        EXPECT_EQ(p.PaperSize(), c.size);
    }

    // Custom and Default keep the sheet; Custom lets it be written.
    page.SetPaperSize(TBRPaperSize::Custom);
    page.SetWidth(100);
    page.SetLength(150);
    page.SetOrientation(poLandscape);
    EXPECT_DOUBLE_EQ(page.Width(), 100);
    EXPECT_DOUBLE_EQ(page.Length(), 150);
    page.SetPaperSize(TBRPaperSize::Default);
    page.SetOrientation(poPortrait);
    EXPECT_DOUBLE_EQ(page.Width(), 100);
    page.SetWidth(50); // Default is not Custom: ignored
    EXPECT_DOUBLE_EQ(page.Width(), 100);
}

TEST_F(UnitsTest, PageSettersTellTheReport)
{
    TBRPage page(&host);
    page.SetResolution(96);
    page.SetBottomMargin(20);
    EXPECT_EQ(host.panelWidth, 794);
    EXPECT_EQ(host.panelHeight, 1123);
    EXPECT_EQ(host.layOuts, 1);
    const int repaints = host.repaints;
    page.SetLeftMargin(15);
    EXPECT_EQ(host.repaints, repaints + 1);
    EXPECT_EQ(host.layOuts, 2);

    page.SetColumns(0);
    page.SetColumns(-3);
    page.SetColumns(1);
    EXPECT_EQ(page.Columns(), 1);
    EXPECT_EQ(host.layOuts, 2);
    page.SetColumns(2);
    EXPECT_EQ(page.Columns(), 2);
    EXPECT_EQ(host.layOuts, 3);

    page.SetRuler(false);
    EXPECT_EQ(host.reapplies, 1);
    page.SetRuler(false);
    EXPECT_EQ(host.reapplies, 1);

    page.SetZoom(50);
    page.ApplyZoom();
    EXPECT_EQ(host.panelWidth, 397);
    EXPECT_EQ(host.panelHeight, 561); // 561.26 rounds down
}

TEST_F(UnitsTest, HandResizedPanelOnlyForCustomPaper)
{
    TBRPage page(&host);
    page.SetResolution(96);
    page.PanelResized(400, 500);
    EXPECT_DOUBLE_EQ(page.Width(), 210);
    page.SetPaperSize(TBRPaperSize::Custom);
    const int layOuts = host.layOuts;
    page.PanelResized(96, 192);
    EXPECT_NEAR(page.Width(), 25.4, 1e-9);
    EXPECT_NEAR(page.Length(), 50.8, 1e-9);
    EXPECT_EQ(page.Units(), TBRUnit::MM);
    EXPECT_GT(host.layOuts, layOuts);
}

TEST_F(UnitsTest, ValuesOverridePaperSizeAndRoundTrip)
{
    TBRPage page(&host);
    page.SetPaperSize(TBRPaperSize::A4);
    page.SetValuesText(QStringLiteral("(100.0 1000.0 100.0 800.0 100.0 100.0 0.0)"));
    EXPECT_EQ(page.PaperSize(), TBRPaperSize::A4);
    EXPECT_DOUBLE_EQ(page.Width(), 80);
    EXPECT_DOUBLE_EQ(page.Length(), 100);

    const char* lists[] = {
        "(320.1458333333333 1899.708333333333)",
        "(9007199254740993.0 0.1)", // not a double: needs the wider type
        "(1234567890123456.0 0.3333333333333333)",
        "(20.0 40.0)",
    };
    for (const char* text : lists) {
        FakeBandHost band;
        band.report = &host;
        TBRBandSize size(&band);
        size.SetValuesText(QString::fromLatin1(text));
        EXPECT_EQ(size.ValuesText(), QString::fromLatin1(text));
    }
}

TEST_F(UnitsTest, ValuesAreWrittenWithADotInAnyLocale)
{
    const QByteArray old = setlocale(LC_NUMERIC, nullptr);
    if (!setlocale(LC_NUMERIC, "pt_BR.UTF-8"))
        setlocale(LC_NUMERIC, "de_DE.UTF-8");
    TBRBandSize size;
    size.SetValuesText(QStringLiteral("(12.5 40.25)"));
    EXPECT_EQ(size.ValuesText(), QStringLiteral("(12.5 40.25)"));
    setlocale(LC_NUMERIC, old.constData());
}

TEST_F(UnitsTest, BadValuesListsAreRefused)
{
    TBRBandSize size;
    for (const char* bad : {"", "12.5 40", "(12.5 abc)", "(1e99999)", "(12,5)"}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(size.SetValuesText(QString::fromLatin1(bad)), PlatformError);
        EXPECT_EQ(size.ValuesText(), QStringLiteral("(20.0 40.0)"));
    }
}

TEST_F(UnitsTest, BandSizeResizesItsPanel)
{
    FakeBandHost band;
    band.report = &host;
    TBRBandSize size(&band);
    size.SetResolution(96);
    size.SetUnits(TBRUnit::Inches);
    size.SetHeight(1);
    size.SetWidth(2);
    EXPECT_EQ(band.bounds, QRect(5, 7, 192, 96));
    EXPECT_DOUBLE_EQ(double(size.Native(TBRBandSize::iHeight)), 254);
    EXPECT_FALSE(size.ParentUpdating());
}

TEST(BRRoundTest, NearestWithHalvesToEvenAndSaturation)
{
    struct Case {
        long double in;
        std::int32_t out;
    } cases[] = {{0.5L, 0},          {1.5L, 2},          {2.5L, 2},          {-0.5L, 0},   {-1.5L, -2},
                 {-2.5L, -2},        {2.4999999L, 2},    {2.5000001L, 3},    {1899.708333L, 1900},
                 {-7.49L, -7},       {3e9L, INT32_MAX},  {-3e9L, INT32_MIN}, {2147483646.6L, INT32_MAX},
                 {1e300L, INT32_MAX}, {std::numeric_limits<long double>::quiet_NaN(), 0}};
    for (const Case& c : cases)
        EXPECT_EQ(brp::Round(c.in), c.out) << double(c.in);
}
