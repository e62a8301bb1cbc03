// Printer-side settings against the recording printer.
#include "BRPrinterCodes.h"
#include "FakePrintHost.h"
#include "RecordingPrinterService.h"
#include "TPrinterSettings.h"
#include <gtest/gtest.h>

namespace {
class SettingsTest : public ::testing::Test {
protected:
    RecordingPrinterService printer{{RecordedPrinter::Laser()}};
    FakePrintHost host;
};
} // namespace

TEST(PrinterCodes, TablesBothWays)
{
    EXPECT_EQ(PaperCode(TBRPaperSize::A4), 9);
    EXPECT_EQ(PaperCode(TBRPaperSize::Custom), 256);
    EXPECT_EQ(brp::PaperSizeFromCode(256), TBRPaperSize::Custom);
    EXPECT_EQ(brp::PaperSizeFromCode(26), TBRPaperSize::ESheet);
    EXPECT_EQ(brp::PaperSizeFromCode(70), TBRPaperSize::Default);
    struct Case {
        int code;
        TBRBin bin;
    };
    for (Case c : {Case{1, TBRBin::First}, Case{2, TBRBin::Lower}, Case{7, TBRBin::Auto},
                   Case{14, TBRBin::Cassette}, Case{15, TBRBin::First}, Case{0, TBRBin::First}}) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(brp::BinFromCode(c.code), c.bin);
    }
    EXPECT_EQ(BinCode(TBRBin::Last), 14);
    EXPECT_EQ(BinCode(TBRBin::Upper), 1);
}

TEST_F(SettingsTest, NoPrinterAttachedRefusesRuleBoundValues)
{
    TPrinterSettings s(&host);
    EXPECT_EQ(s.OwnerReport(), &host);
    s.SetCopies(3);
    s.SetOrientation(poLandscape);
    s.SetDuplex(true);
    s.SetOutputBin(TBRBin::Lower);
    s.SetPaperSize(TBRPaperSize::A3);
    s.ReadFromPrinter();
    s.ApplyToPrinter();
    EXPECT_FALSE(s.FieldSupported(DM_COPIES));
    EXPECT_EQ(s.Copies(), 0);
    EXPECT_EQ(s.Orientation(), poPortrait);
    EXPECT_FALSE(s.Duplex());
    EXPECT_EQ(s.OutputBin(), TBRBin::First);
    EXPECT_EQ(s.PaperSize(), TBRPaperSize::A4);
    s.SetPaperSize(TBRPaperSize::Default); // always taken
    EXPECT_EQ(s.PaperSize(), TBRPaperSize::Default);

    // A printer service without printers is attached but never read.
    RecordingPrinterService none;
    TPrinterSettings t(nullptr);
    t.AttachPrinter(&none);
    EXPECT_EQ(t.Printer(), &none);
    EXPECT_EQ(t.DevMode(), nullptr);
    EXPECT_EQ(t.OwnerReport(), nullptr);
    t.ApplyToPrinter();
    EXPECT_TRUE(none.Log.isEmpty());
}

TEST_F(SettingsTest, ReadsThePrinter)
{
    printer.Printer(0).driverPath = QStringLiteral("C:\\drivers\\") + QString(70, u'x') + QStringLiteral(".DLL");
    TPrinterSettings s(&host);
    s.AttachPrinter(&printer);
    EXPECT_EQ(s.Device(), QStringLiteral("Laser"));
    EXPECT_EQ(s.Driver(), QString(63, u'x'));
    EXPECT_EQ(s.PixelsPerInchX(), 600);
    EXPECT_EQ(s.Copies(), 1);
    EXPECT_EQ(s.OutputBin(), TBRBin::Auto);
    EXPECT_EQ(s.PaperSize(), TBRPaperSize::A4);
    EXPECT_EQ(s.PrintableLeft(), 42); // 100 dots at 600 per inch
    EXPECT_EQ(s.PrintableTop(), 42);
    EXPECT_EQ(s.PaperWidth(), 2100);

    // Only offered papers are taken; Default and Custom always are.
    s.SetPaperSize(TBRPaperSize::A3);
    EXPECT_EQ(s.PaperSize(), TBRPaperSize::A4);
    s.SetPaperSize(TBRPaperSize::Legal);
    EXPECT_EQ(s.PaperSize(), TBRPaperSize::Legal);
    EXPECT_EQ(s.PaperLength(), 3556);
    s.SetPaperSize(TBRPaperSize::Default);
    EXPECT_EQ(s.PaperWidth(), 2100); // round(4960 / 600 * 254), the physical page
    EXPECT_EQ(s.PaperLength(), 2970);
    s.SetPaperSize(TBRPaperSize::Custom);
    s.SetPaperWidth(1000);
    EXPECT_EQ(s.PaperWidth(), 1000);

    s.SetCopies(4);
    s.SetOrientation(poLandscape);
    EXPECT_EQ(s.Copies(), 4);
    EXPECT_EQ(s.Orientation(), poLandscape);
}

TEST_F(SettingsTest, DeviceModeValuesAsRead)
{
    struct Case {
        std::uint32_t fields;
        int source, duplex, paper;
        TBRBin bin;
        bool duplexRead;
        TBRPaperSize size;
        int copies;
    };
    const std::uint32_t all = RecordedPrinter::Laser().defaults.dmFields;
    const Case cases[] = {
        {all, 14, 1, 9, TBRBin::Cassette, false, TBRPaperSize::A4, 3},
        {all, 99, 2, 70, TBRBin::First, true, TBRPaperSize::Default, 3},
        {all & ~(DM_DEFAULTSOURCE | DM_DUPLEX | DM_PAPERSIZE | DM_COPIES), 14, 3, 9, TBRBin::First, false,
         TBRPaperSize::Default, 1},
    };
    for (const Case& c : cases) {
        RecordedPrinter p = RecordedPrinter::Laser();
        p.defaults.dmFields = c.fields;
        p.defaults.dmDefaultSource = std::int16_t(c.source);
        p.defaults.dmDuplex = std::int16_t(c.duplex);
        p.defaults.dmPaperSize = std::int16_t(c.paper);
        p.defaults.dmCopies = 3;
        RecordingPrinterService svc({p});
        TPrinterSettings s(nullptr);
        s.AttachPrinter(&svc);
        EXPECT_EQ(s.OutputBin(), c.bin);
        EXPECT_EQ(s.Duplex(), c.duplexRead);
        EXPECT_EQ(s.PaperSize(), c.size);
        EXPECT_EQ(s.Copies(), c.copies);
    }
}

TEST_F(SettingsTest, PrinterWithoutPapersOffersOnlyCustom)
{
    printer.Printer(0).paperCodes.clear();
    TPrinterSettings s(nullptr);
    s.AttachPrinter(&printer);
    EXPECT_FALSE(s.PaperSizeSupported(TBRPaperSize::Letter));
    EXPECT_TRUE(s.PaperSizeSupported(TBRPaperSize::Custom));
    s.SetPaperSize(TBRPaperSize::Letter);
    EXPECT_EQ(s.PaperSize(), TBRPaperSize::A4); // what the device mode said
    s.SetPaperSize(TBRPaperSize::Custom);
    EXPECT_EQ(s.PaperSize(), TBRPaperSize::Custom);
}

TEST_F(SettingsTest, ApplyWritesTheDeviceMode)
{
    struct Case {
        int extended;
        bool duplex;
        int expected;
    };
    for (Case c : {Case{0, false, 1}, Case{0, true, 3}, Case{2, false, 2}, Case{2, true, 2}}) {
        TPrinterSettings s(nullptr);
        s.AttachPrinter(&printer);
        s.SetExtendedDuplex(c.extended);
        s.SetDuplex(c.duplex);
        s.ApplyToPrinter();
        EXPECT_EQ(printer.CurrentMode().dmDuplex, c.expected);
    }

    TPrinterSettings s(nullptr);
    s.AttachPrinter(&printer);
    s.SetOutputBin(TBRBin::Last);
    s.SetCopies(2);
    s.SetOrientation(poLandscape);
    s.SetPaperSize(TBRPaperSize::Letter);
    s.ApplyToPrinter();
    DeviceMode m = printer.CurrentMode();
    EXPECT_EQ(m.dmDefaultSource, 14);
    EXPECT_EQ(m.dmCopies, 2);
    EXPECT_EQ(m.dmOrientation, DMORIENT_LANDSCAPE);
    EXPECT_EQ(m.dmPaperSize, 1);
    EXPECT_EQ(m.dmPaperWidth, 2159); // unoriented
    EXPECT_EQ(m.dmPaperLength, 2794);

    s.SetPaperSize(TBRPaperSize::Custom);
    s.SetPaperWidth(1000);
    s.SetPaperLength(1500);
    s.SetUseCustomBinCode(true);
    s.SetCustomBinCode(260);
    s.ApplyToPrinter();
    m = printer.CurrentMode();
    EXPECT_EQ(m.dmPaperSize, 256);
    EXPECT_EQ(m.dmPaperWidth, 1000);
    EXPECT_EQ(m.dmPaperLength, 1500);
    EXPECT_EQ(m.dmDefaultSource, 260);
    s.SetUseCustomPaperCode(true);
    s.SetCustomPaperCode(300);
    s.ApplyToPrinter();
    EXPECT_EQ(printer.CurrentMode().dmPaperSize, 300);

    // Default paper leaves the paper code alone; an undeclared paper field too.
    s.SetPaperSize(TBRPaperSize::Default);
    s.ApplyToPrinter();
    EXPECT_EQ(printer.CurrentMode().dmPaperSize, 300);
    EXPECT_EQ(printer.CurrentMode().dmPaperWidth, 1000); // the stored sheet
}

TEST_F(SettingsTest, ReportEventsAndTheirCancel)
{
    int getCalls = 0;
    host.onGet = [&](QObject* sender, bool& cancel, DeviceMode* dm) {
        ++getCalls;
        EXPECT_NE(qobject_cast<TPrinterSettings*>(sender), nullptr);
        ASSERT_NE(dm, nullptr);
        cancel = true;
    };
    TPrinterSettings s(&host);
    s.AttachPrinter(&printer);
    EXPECT_EQ(getCalls, 1);
    EXPECT_EQ(s.PixelsPerInchX(), 0); // nothing read
    EXPECT_EQ(s.PaperSize(), TBRPaperSize::A4);
    EXPECT_EQ(s.Copies(), 0);

    // Without Cancel the handler runs before and after the read, and its
    // edits are read.
    getCalls = 0;
    host.onGet = [&](QObject*, bool&, DeviceMode* dm) {
        ++getCalls;
        dm->dmCopies = 5;
    };
    s.ReadFromPrinter();
    EXPECT_EQ(getCalls, 2);
    EXPECT_EQ(s.Copies(), 5);
    EXPECT_EQ(printer.CurrentMode().dmCopies, 1); // reading hands nothing back

    host.onApply = [&](QObject*, bool& cancel, DeviceMode* dm) {
        dm->dmCopies = 9;
        cancel = true;
    };
    s.ApplyToPrinter();
    EXPECT_EQ(printer.CurrentMode().dmCopies, 1);
    host.onApply = [&](QObject*, bool&, DeviceMode* dm) { dm->dmCopies = 9; };
    s.ApplyToPrinter();
    EXPECT_EQ(printer.CurrentMode().dmCopies, 9);
}
