// The print dialog: the flags and fields it hands to the platform dialog, what
// it reads back into its properties and the printer, cancelling, the window
// hooks and the modal run; and the progress window.
#include "BRMessages.h"
#include "BRRunWindowsRegistration.h"
#include "BRRunWindows.h"
#include "PrinterService.h"
#include "RecordingMessageService.h"
#include "TBRStandardPreview.h"
#include "PrintDialogService.h"
#include "RecordingPrintDialogService.h"
#include "RecordingPrinterService.h"
#include "TBRPrintDialog.h"
#include "TBRPrinter.h"
#include "TBRProgressForm.h"

#include <QApplication>
#include <QPrintDialog>
#include <QPrinter>
#include <QTimer>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <gtest/gtest.h>

namespace {

class PrintDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // This layer's windows, as the engine's start-up registers them.
        brp::RegisterStandardPreview();
        brp::RegisterRunWindows();
        auto draft = RecordedPrinter::Laser(QStringLiteral("Draft"));
        draft.port = QStringLiteral("lpd://draft");
        auto service = std::make_unique<RecordingPrinterService>(QList<RecordedPrinter>{RecordedPrinter::Laser(), draft});
        printer = service.get();
        brp::SetApplicationPrinter(std::move(service));
    }
    void TearDown() override { brp::SetApplicationPrinter(nullptr); }

    int printerCopies() const { return printer->CurrentMode().dmCopies; }

    RecordingPrinterService* printer = nullptr;
    RecordingPrintDialogService platform;
};

TEST_F(PrintDialogTest, Flags)
{
    struct Case {
        const char* name;
        TPrintDialogOptions options;
        TPrintRange range;
        bool collate, toFile;
        std::uint32_t expected;
    };
    const std::uint32_t hooks = PD_ENABLEPRINTHOOK | PD_ENABLESETUPHOOK;
    const Case cases[] = {
        {"nothing offered", {}, prAllPages, false, false,
         hooks | PD_HIDEPRINTTOFILE | PD_NOPAGENUMS | PD_NOSELECTION | PD_NOWARNING},
        {"report's set-up", poPageNums | poWarning, prPageNums, false, false,
         hooks | PD_PAGENUMS | PD_HIDEPRINTTOFILE | PD_NOSELECTION},
        {"everything", poPrintToFile | poPageNums | poSelection | poWarning | poHelp | poDisablePrintToFile,
         prSelection, true, true, hooks | PD_SELECTION | PD_COLLATE | PD_DISABLEPRINTTOFILE | PD_PRINTTOFILE | PD_SHOWHELP},
    };
    for (const Case& c : cases) {
        TBRPrintDialog d;
        d.SetOptions(c.options);
        d.SetPrintRange(c.range);
        d.SetCollate(c.collate);
        d.SetPrintToFile(c.toFile);
        EXPECT_EQ(d.DialogFlags(), c.expected) << c.name;
        EXPECT_EQ(hooks, 0x3000u);
    }
}

TEST_F(PrintDialogTest, WhatTheDialogIsGiven)
{
    printer->SetPrinterIndex(1);
    TBRPrintDialog d;
    d.SetOptions(poPageNums | poWarning);
    d.SetMinPage(1);
    d.SetMaxPage(12);
    d.SetFromPage(1);
    d.SetToPage(70000); // passed as 16 bits
    d.SetCopies(2);
    EXPECT_EQ(printerCopies(), 2);
    EXPECT_FALSE(d.Execute());
    ASSERT_EQ(platform.Given.size(), 1);
    const PrintDialogData& g = platform.Given[0];
    EXPECT_EQ(g.Flags, d.DialogFlags());
    EXPECT_EQ(g.MinPage, 1);
    EXPECT_EQ(g.MaxPage, 12);
    EXPECT_EQ(g.FromPage, 1);
    EXPECT_EQ(g.ToPage, 70000 - 65536);
    EXPECT_EQ(g.Copies, 0);
    EXPECT_EQ(g.Device, QStringLiteral("Draft"));
    EXPECT_EQ(g.Port, QStringLiteral("lpd://draft"));
    EXPECT_EQ(g.Owner, nullptr);
    EXPECT_EQ(platform.GivenModes[0].dmCopies, 2);
    EXPECT_EQ(d.DeviceName(), QStringLiteral("Draft"));
}

TEST_F(PrintDialogTest, ChoicesAreReadBack)
{
    struct Case {
        const char* name;
        std::uint32_t flags;
        int from, to, copies, modeCopies;
        TPrintRange range;
        int expectedCopies;
    };
    const Case cases[] = {
        {"pages 3 to 5", PD_PAGENUMS, 3, 5, 2, 1, prPageNums, 2},
        {"selection wins over page numbers", PD_SELECTION | PD_PAGENUMS, 3, 5, 1, 1, prSelection, 1},
        {"all pages, driver keeps 3 copies", PD_ALLPAGES, 0, 0, 1, 3, prAllPages, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TBRPrintDialog d;
        d.SetOptions(poPageNums | poWarning);
        d.SetMinPage(1);
        d.SetMaxPage(12);
        platform.Operator = [&](PrintDialogData& data) {
            data.Flags = (data.Flags & ~(PD_PAGENUMS | PD_SELECTION)) | c.flags | PD_COLLATE;
            data.FromPage = std::uint16_t(c.from);
            data.ToPage = std::uint16_t(c.to);
            data.Copies = std::uint16_t(c.copies);
            data.DevMode->dmCopies = std::int16_t(c.modeCopies);
            return true;
        };
        EXPECT_TRUE(d.Execute());
        EXPECT_EQ(d.PrintRange(), c.range);
        EXPECT_EQ(d.FromPage(), c.from);
        EXPECT_EQ(d.ToPage(), c.to);
        EXPECT_EQ(d.Copies(), c.expectedCopies);
        EXPECT_EQ(printerCopies(), c.expectedCopies);
        EXPECT_TRUE(d.Collate());
        EXPECT_FALSE(d.PrintToFile());
    }
}

TEST_F(PrintDialogTest, AnotherPrinterChosen)
{
    TBRPrintDialog d;
    platform.Operator = [](PrintDialogData& data) {
        data.Device = QStringLiteral("Draft");
        data.DevMode->dmOrientation = DMORIENT_LANDSCAPE;
        data.Flags |= PD_PRINTTOFILE;
        return true;
    };
    ASSERT_TRUE(d.Execute());
    EXPECT_EQ(printer->PrinterIndex(), 1);
    EXPECT_EQ(printer->CurrentMode().dmOrientation, DMORIENT_LANDSCAPE);
    EXPECT_TRUE(d.PrintToFile());
}

TEST_F(PrintDialogTest, CancelChangesNothing)
{
    TBRPrintDialog d;
    d.SetPrintRange(prPageNums);
    d.SetFromPage(2);
    d.SetToPage(4);
    d.SetCopies(3);
    printer->Log.clear();
    platform.Operator = [](PrintDialogData& data) {
        data.Flags = PD_SELECTION;
        data.DevMode->dmCopies = 9;
        data.Device = QStringLiteral("Draft");
        return false;
    };
    EXPECT_FALSE(d.Execute());
    EXPECT_EQ(d.PrintRange(), prPageNums);
    EXPECT_EQ(d.FromPage(), 2);
    EXPECT_EQ(d.ToPage(), 4);
    EXPECT_EQ(d.Copies(), 3);
    EXPECT_EQ(printerCopies(), 3);
    EXPECT_EQ(printer->PrinterIndex(), 0);
    EXPECT_TRUE(printer->Log.filter(QStringLiteral("SetPrinter")).isEmpty());
}

// The report's print set-up as the dialog is given it: its printer (an index
// past the list falls back to the default printer), its orientation written
// into the printer's mode, its page fields, options and copies.
TEST_F(PrintDialogTest, PrintSetupGivesTheDialogTheReportsSettings)
{
    struct Case {
        const char* name;
        BRPrintSetupData data;
        bool printerDefaultsToLandscape;
        QString device;
        std::int16_t orientation;
        std::uint32_t flagsSet, flagsClear;
    };
    BRPrintSetupData draft;
    draft.PrinterIndex = 1;
    draft.Orientation = poLandscape;
    draft.MinPage = 1;
    draft.MaxPage = 12;
    draft.FromPage = 2;
    draft.ToPage = 5;
    draft.Copies = 3;
    BRPrintSetupData pastTheList = draft;
    pastTheList.PrinterIndex = 7;
    pastTheList.Orientation = poPortrait;
    BRPrintSetupData plain;
    plain.PageNumsOption = false;
    plain.WarningOption = false;
    const Case cases[] = {
        {"the report's printer in landscape", draft, false, QStringLiteral("Draft"), DMORIENT_LANDSCAPE, 0,
         PD_NOPAGENUMS | PD_NOWARNING},
        {"an index past the list, portrait on a landscape printer", pastTheList, true, QStringLiteral("Laser"), DMORIENT_PORTRAIT, 0,
         PD_NOPAGENUMS | PD_NOWARNING},
        {"the default printer, no page numbers, no warning", plain, false, QStringLiteral("Laser"), DMORIENT_PORTRAIT,
         PD_NOPAGENUMS | PD_NOWARNING, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        printer->Printer(0).defaults.dmOrientation = c.printerDefaultsToLandscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
        printer->SetPrinterIndex(1); // the report's printer comes from the data, not from before
        platform.Given.clear();
        platform.GivenModes.clear();
        BRPrintSetupData data = c.data;
        EXPECT_FALSE(brp::PrintSetupRunner()(data)) << "the operator cancels";
        ASSERT_EQ(platform.Given.size(), 1);
        const PrintDialogData& g = platform.Given[0];
        EXPECT_EQ(g.Device, c.device);
        EXPECT_EQ(platform.GivenModes[0].dmOrientation, c.orientation);
        EXPECT_EQ(platform.GivenModes[0].dmCopies, c.data.Copies);
        EXPECT_EQ(g.Flags & c.flagsSet, c.flagsSet);
        EXPECT_EQ(g.Flags & c.flagsClear, 0u);
        EXPECT_EQ(g.MinPage, c.data.MinPage);
        EXPECT_EQ(g.MaxPage, c.data.MaxPage);
        EXPECT_EQ(g.FromPage, c.data.FromPage);
        EXPECT_EQ(g.ToPage, c.data.ToPage);
        // Cancelled: the report's settings stay as they were.
        EXPECT_EQ(data.PrinterIndex, c.data.PrinterIndex);
        EXPECT_EQ(data.Orientation, c.data.Orientation);
        EXPECT_EQ(data.Copies, c.data.Copies);
        EXPECT_EQ(data.FromPage, c.data.FromPage);
        EXPECT_EQ(data.ToPage, c.data.ToPage);
    }
}

// What the operator chose comes back into the report's print set-up: the
// printer's index, the orientation of its mode, the copies and the range.
TEST_F(PrintDialogTest, PrintSetupTakesBackTheOperatorsChoices)
{
    struct Case {
        const char* name;
        QString device;
        std::int16_t orientation;
        std::uint32_t range;
        int from, to, copies;
        int expectedIndex;
        TPrinterOrientation expectedOrientation;
        BRPrintSetupData::Range expectedRange;
    };
    const Case cases[] = {
        {"pages 3 to 4 of Draft in landscape", QStringLiteral("Draft"), DMORIENT_LANDSCAPE, PD_PAGENUMS, 3, 4, 2, 1, poLandscape,
         BRPrintSetupData::PageNums},
        {"the selection on Laser", QStringLiteral("Laser"), DMORIENT_PORTRAIT, PD_SELECTION, 0, 0, 1, 0, poPortrait,
         BRPrintSetupData::Selection},
        {"all pages, 4 copies", QStringLiteral("Laser"), DMORIENT_PORTRAIT, PD_ALLPAGES, 1, 12, 4, 0, poPortrait,
         BRPrintSetupData::AllPages},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform.Operator = [&c](PrintDialogData& data) {
            data.Device = c.device;
            data.DevMode->dmOrientation = c.orientation;
            data.Flags = (data.Flags & ~(PD_PAGENUMS | PD_SELECTION)) | c.range;
            data.FromPage = std::uint16_t(c.from);
            data.ToPage = std::uint16_t(c.to);
            data.Copies = std::uint16_t(c.copies);
            return true;
        };
        BRPrintSetupData data;
        data.PrinterIndex = c.expectedIndex == 0 ? 1 : 0; // the operator changes it
        data.Orientation = c.expectedOrientation == poLandscape ? poPortrait : poLandscape;
        data.MinPage = 1;
        data.MaxPage = 12;
        ASSERT_TRUE(brp::PrintSetupRunner()(data));
        EXPECT_EQ(data.PrinterIndex, c.expectedIndex);
        EXPECT_EQ(data.Orientation, c.expectedOrientation);
        EXPECT_EQ(data.Copies, c.copies);
        EXPECT_EQ(data.PrintRange, c.expectedRange);
        EXPECT_EQ(data.FromPage, c.from);
        EXPECT_EQ(data.ToPage, c.to);
    }
}

TEST_F(PrintDialogTest, NoPrinterNoDeviceNames)
{
    brp::SetApplicationPrinter(std::make_unique<RecordingPrinterService>());
    TBRPrintDialog d;
    EXPECT_FALSE(d.Execute());
    EXPECT_TRUE(platform.Given[0].Device.isEmpty());
    EXPECT_EQ(platform.Given[0].DevMode, nullptr);
}

// With no printer installed the printer set-up and the print button say so
// and how to add one, instead of failing on a printer without a name.
TEST_F(PrintDialogTest, NoPrinterInstalledIsSaidPlainly)
{
    brp::SetApplicationPrinter(std::make_unique<RecordingPrinterService>());
    const auto previous = brp::SetPrinterServiceFactory([] { return std::make_unique<RecordingPrinterService>(); });
    RecordingMessageService messages;
    BRPrintSetupData data;
    EXPECT_FALSE(brp::PrintSetupRunner()(data));
    EXPECT_TRUE(platform.Given.isEmpty()) << "no dialog without a printer";

    TBRPrinter target;
    TBRStandardPreview* window = TBRStandardPreview::CreatePreview(qApp, &target);
    window->PrintClick();
    delete window;
    brp::SetPrinterServiceFactory(previous);

    ASSERT_EQ(messages.Messages().size(), 2);
    EXPECT_EQ(messages.Messages()[0].caption, QStringLiteral("Printer setup"));
    EXPECT_EQ(messages.Messages()[1].caption, QStringLiteral("Print"));
    for (const auto& m : messages.Messages()) {
        EXPECT_TRUE(m.text.startsWith(QStringLiteral("No printer is installed."))) << m.text.toStdString();
        EXPECT_TRUE(m.text.contains(QStringLiteral("lpadmin"))) << m.text.toStdString();
    }
}

TEST_F(PrintDialogTest, WindowHooksAndModalRun)
{
    QWidget other;
    other.show();
    TBRPrintDialog d;
    QStringList events;
    QPoint placed;
    d.OnShow = [&](QObject* s) {
        EXPECT_EQ(s, &d);
        events << QStringLiteral("show");
        placed = d.Handle()->pos();
    };
    d.OnClose = [&](QObject*) { events << QStringLiteral("close"); };
    platform.Operator = [&](PrintDialogData&) {
        events << QStringLiteral("operator");
        EXPECT_FALSE(other.isEnabled());
        return false;
    };
    d.Execute();
    EXPECT_EQ(events, QStringList({QStringLiteral("show"), QStringLiteral("operator"), QStringLiteral("close")}));
    EXPECT_EQ(d.Handle(), nullptr);
    EXPECT_TRUE(other.isEnabled());
    const QSize screen = QGuiApplication::primaryScreen()->size();
    EXPECT_EQ(placed, QPoint((screen.width() - 420) / 2, (screen.height() - 300) / 3));

    // Windows come back even when the dialog fails.
    platform.Operator = [](PrintDialogData&) -> bool { throw std::runtime_error("no dialog"); };
    EXPECT_THROW(d.Execute(), std::runtime_error);
    EXPECT_TRUE(other.isEnabled());
}

TEST_F(PrintDialogTest, HelpHook)
{
    TBRPrintDialog d;
    QList<int> opened;
    TBRCommonDialog::HelpHandler() = [&](int context) { opened << context; };
    EXPECT_FALSE(d.MessageHook(TBRCommonDialog::HelpMessage()));
    d.SetHelpContext(7);
    EXPECT_FALSE(d.MessageHook(1024));
    EXPECT_TRUE(d.MessageHook(TBRCommonDialog::HelpMessage()));
    TBRCommonDialog::HelpHandler() = nullptr;
    EXPECT_EQ(opened, QList<int>({7}));
    EXPECT_TRUE(d.Ctl3D());
}

TEST(ProgressForm, Layout)
{
    TBRProgressForm f;
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Printing progress"));
    EXPECT_EQ(f.size(), QSize(149, 97));
    EXPECT_TRUE(f.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(f.Gauge->geometry(), QRect(16, 18, 114, 16));
    EXPECT_EQ(f.Gauge->minimum(), 0);
    EXPECT_EQ(f.Gauge->maximum(), 100);
    EXPECT_EQ(f.Info->geometry(), QRect(0, 44, 145, 13));
    EXPECT_EQ(f.Info->alignment(), Qt::AlignCenter);
    EXPECT_TRUE(f.Info->text().isEmpty());
    EXPECT_EQ(f.CancelButton->geometry(), QRect(36, 60, 75, 25));
    EXPECT_EQ(f.CancelButton->text(), QStringLiteral("Cancel"));
    EXPECT_EQ(f.CancelButton->nextInFocusChain(), f.Gauge);
}

TEST(ProgressForm, FollowsTheTargetInStepsOfFive)
{
    brp::SetApplicationPrinter(std::make_unique<RecordingPrinterService>());
    {
        TBRPrinter target;
        TBRProgressForm f;
        f.SetBRPrinter(&target);
        target.SetStatusClient(&f);
        struct Step {
            int progress, bar;
            const char* info;
        };
        for (const Step& s : {Step{37, 0, ""}, Step{40, 40, "40%  Completed"}, Step{43, 40, "40%  Completed"},
                              Step{100, 100, "100%  Completed"}}) {
            target.SetProgress(s.progress);
            QCoreApplication::processEvents();
            EXPECT_EQ(f.Gauge->value(), s.bar) << s.progress;
            EXPECT_EQ(f.Info->text(), QString::fromUtf8(s.info)) << s.progress;
        }
        // The message's own parameter is not used: the target's value is.
        target.SetProgress(55); // also posts 55, handled after the message below
        BRMessageEvent message(BRM_PROGRESS, 10, 0);
        QCoreApplication::sendEvent(&f, &message);
        EXPECT_EQ(f.Gauge->value(), 55);

        EXPECT_FALSE(target.CancelRequested());
        f.CancelButton->click();
        EXPECT_TRUE(target.CancelRequested());
    }
    brp::SetApplicationPrinter(nullptr);
}

} // namespace

namespace {

// Qt's dialog itself, answered from a timer: the flags decide what it offers,
// and the operator's page range comes back in the exchange.
TEST(QtPrintDialog, HonoursTheFlagsAndReturnsTheRange)
{
    struct Seen {
        bool found = false;
        QAbstractPrintDialog::PrintDialogOptions options;
        int min = -1, max = -1;
        QPoint pos;
    } seen;
    PrintDialogData data;
    data.Flags = PD_PAGENUMS | PD_ENABLEPRINTHOOK | PD_ENABLESETUPHOOK | PD_HIDEPRINTTOFILE | PD_NOSELECTION |
                 PD_NOWARNING;
    data.MinPage = 1;
    data.MaxPage = 12;
    data.FromPage = 1;
    data.ToPage = 12;
    QStringList hooks;
    data.OnInitDialog = [&](QWidget*) { hooks << QStringLiteral("init"); };
    data.OnDestroyDialog = [&] { hooks << QStringLiteral("destroy"); };
    int tries = 0;
    std::function<void()> answer = [&] {
        auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            if (++tries < 200)
                QTimer::singleShot(10, answer);
            return;
        }
        seen.found = true;
        seen.options = dialog->options();
        seen.min = dialog->minPage();
        seen.max = dialog->maxPage();
        dialog->printer()->setPrintRange(QPrinter::PageRange);
        dialog->printer()->setFromTo(3, 5);
        dialog->done(QDialog::Accepted);
    };
    QTimer::singleShot(0, answer);
    QtPrintDialogService service;
    const bool confirmed = service.Run(data);
    ASSERT_TRUE(seen.found) << "the dialog did not show";
    EXPECT_TRUE(confirmed);
    EXPECT_TRUE(seen.options.testFlag(QAbstractPrintDialog::PrintPageRange));
    EXPECT_FALSE(seen.options.testFlag(QAbstractPrintDialog::PrintSelection));
    EXPECT_FALSE(seen.options.testFlag(QAbstractPrintDialog::PrintToFile));
    EXPECT_EQ(seen.min, 1);
    EXPECT_EQ(seen.max, 12);
    EXPECT_EQ(hooks, QStringList({QStringLiteral("init"), QStringLiteral("destroy")}));
    EXPECT_TRUE(data.Flags & PD_PAGENUMS);
    EXPECT_EQ(data.FromPage, 3);
    EXPECT_EQ(data.ToPage, 5);
    EXPECT_EQ(data.Copies, 1);
    ASSERT_NE(data.DevMode, nullptr);
    EXPECT_GE(data.DevMode->dmCopies, 1);
}

} // namespace
