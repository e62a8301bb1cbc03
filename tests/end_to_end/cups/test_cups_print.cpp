// End to end through a real CUPS queue that writes PDF files: a report run
// straight to the printer, a replay of recorded pages, and brptool print.
// The queue comes from scripts/cups-setup.sh; without it the tests skip and
// say why.
#include "BRPrntr.h"
#include "CupsQueue.h"
#include "PlatformError.h"
#include "PrinterService.h"
#include "TCanvas.h"
#include "TBRUnitBase.h"
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

// Draws one page of the test report.
void drawPage(TBRPrinter& t, int n)
{
    TFont font;
    font.PixelsPerInch = 96;
    font.SetSize(14);
    t.PageCanvas()->SetFont(font);
    t.PageCanvas()->TextOut(t.DeviceX(250), t.DeviceY(250), QStringLiteral("Listagem pagina %1").arg(n));
    t.PageCanvas()->Rectangle(t.DeviceX(200), t.DeviceY(200), t.DeviceX(1900), t.DeviceY(2800));
}

void generate(TBRPrinter& t, int pages)
{
    t.StartJob();
    for (int i = 1; i <= pages; ++i) {
        t.NewPage();
        drawPage(t, i);
    }
    t.FinishJob();
}

// Stand-in for the report: on the print request it runs again with the
// printer as destination.
class StandInReport : public QObject, public BRPrintHost {
public:
    QString queue, title;
    int pages = 3;
    bool printed = false;
    TBRPrinterEvent OnGetPrinterSettings() const override { return {}; }
    TBRPrinterEvent OnApplyPrinterSettings() const override { return {}; }
    bool UseStandardprinter() const override { return false; }

    bool event(QEvent* e) override
    {
        if (!BRMessageEvent::Is(e, BRM_PRINT))
            return QObject::event(e);
        TBRPrinter target(this);
        target.SetPrinterIndex(target.Printer()->Printers().indexOf(queue));
        target.SetPaperSize(TBRPaperSize::A4);
        target.SetDestination(qdPrinter);
        target.SetJobTitle(title);
        generate(target, pages);
        printed = true;
        return true;
    }
};

class CupsPrintTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const CupsQueue& q = brp::cupsQueue();
        if (!q.unavailable.isEmpty())
            GTEST_SKIP() << "CUPS is not available: " << q.unavailable.toStdString();
        if (!brp::CreatePrinterService()->Printers().contains(q.queue))
            GTEST_SKIP() << "Qt print support does not list the queue " << q.queue.toStdString();
        TBRUnitBase::InitDefaultUnits(QLocale(QLocale::Portuguese, QLocale::Brazil));
        token = QStringLiteral("brpe2e%1x%2").arg(QCoreApplication::applicationPid()).arg(++serial);
    }

    void checkPdf(const QString& pdf, int pages, const QStringList& texts)
    {
        ASSERT_FALSE(pdf.isEmpty()) << "no PDF from the queue within 60 s in " << brp::cupsQueue().outDir.toStdString();
        const QString info = brp::run(QStringLiteral("pdfinfo"), {pdf});
        EXPECT_EQ(brp::pdfPages(info), pages) << info.toStdString();
        // A4 is 595.28 x 841.89 points; writers round either way.
        EXPECT_TRUE(QRegularExpression(QStringLiteral("Page size:\\s+59[56](\\.\\d+)? x 84[12](\\.\\d+)? pts"))
                        .match(info)
                        .hasMatch())
            << "not A4: " << info.toStdString();
        const QString text = brp::run(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        for (const QString& t : texts)
            EXPECT_TRUE(text.contains(t)) << t.toStdString() << " missing from: " << text.toStdString();
        QFile::remove(pdf);
    }

    QString token;
    static inline int serial = 0;
};
} // namespace

TEST_F(CupsPrintTest, SettingsReadFromTheQueue)
{
    TBRPrinter t(nullptr);
    t.SetPrinterIndex(t.Printer()->Printers().indexOf(brp::cupsQueue().queue));
    const TPrinterSettings& s = t.PrinterSettings();
    EXPECT_EQ(s.Device(), brp::cupsQueue().queue);
    EXPECT_GT(s.PixelsPerInchX(), 0);
    EXPECT_EQ(s.PaperSize(), TBRPaperSize::A4); // the queue's default paper
    EXPECT_TRUE(s.PaperSizeSupported(TBRPaperSize::A4));
    EXPECT_TRUE(s.PaperSizeSupported(TBRPaperSize::Letter));
    EXPECT_TRUE(s.PaperSizeSupported(TBRPaperSize::Custom));
    EXPECT_GE(s.PrintableLeft(), 0);
    EXPECT_LT(s.PrintableLeft(), 200);
    t.SetPaperSize(TBRPaperSize::Default);
    EXPECT_NEAR(t.PaperWidth(), 2100, 2); // the physical sheet
    EXPECT_NEAR(t.PaperLength(), 2970, 2);
    // Settings written into the job come back when the printer is read again.
    t.SetPaperSize(TBRPaperSize::Letter);
    t.SetOrientation(poLandscape);
    t.SetCopies(2);
    t.PrinterSettings().ApplyToPrinter();
    TPrinterSettings again(nullptr);
    again.AttachPrinter(t.Printer());
    EXPECT_EQ(again.PaperSize(), TBRPaperSize::Letter);
    EXPECT_EQ(again.Copies(), 2);
    EXPECT_EQ(again.DevMode()->dmOrientation, DMORIENT_LANDSCAPE);
    EXPECT_THROW(t.SetPrinterIndex(t.Printer()->Printers().size()), PlatformError);
}

// Choosing a printer reads its own defaults, not what the printer chosen
// before had: two-sided printing, the paper source and the paper.
TEST_F(CupsPrintTest, ChoosingAPrinterReadsItsDefaults)
{
    const CupsQueue& q = brp::cupsQueue();
    TBRPrinter t(nullptr);
    const QStringList names = t.Printer()->Printers();
    if (q.duplexQueue.isEmpty() || q.letterQueue.isEmpty() || !names.contains(q.duplexQueue) ||
        !names.contains(q.letterQueue))
        GTEST_SKIP() << "scripts/cups-setup.sh made no two-sided or Letter queue";
    TPrinterSettings& s = t.PrinterSettings();

    // One-sided A4 from the upper tray, written into the first queue's job.
    t.SetPrinterIndex(names.indexOf(q.queue));
    EXPECT_FALSE(s.Duplex());
    s.SetOutputBin(TBRBin::Upper);
    s.ApplyToPrinter();

    const struct {
        QString queue;
        bool duplex;
        TBRPaperSize paper;
    } cases[] = {
        {q.duplexQueue, true, TBRPaperSize::A4},
        {q.letterQueue, false, TBRPaperSize::Letter},
        {q.queue, false, TBRPaperSize::A4},
        {q.duplexQueue, true, TBRPaperSize::A4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.queue.toStdString());
        t.SetPrinterIndex(names.indexOf(c.queue));
        EXPECT_EQ(s.Device(), c.queue);
        if (c.duplex) { // a queue without duplex leaves the setting as it was
            EXPECT_TRUE(s.Duplex());
        }
        EXPECT_EQ(s.DevMode()->dmDuplex, c.duplex ? DMDUP_VERTICAL : DMDUP_SIMPLEX);
        EXPECT_EQ(s.DevMode()->dmDefaultSource, DMBIN_AUTO); // the queue's own tray
        EXPECT_EQ(s.PaperSize(), c.paper);
    }
}

TEST_F(CupsPrintTest, ReportRunsAgainToThePrinter)
{
    StandInReport report;
    report.queue = brp::cupsQueue().queue;
    report.title = token;
    TBRPrinter preview(&report);
    preview.SetRequestReceiver(&report);
    generate(preview, 3);
    preview.PrintReport(); // posts the print request
    QCoreApplication::processEvents();
    ASSERT_TRUE(report.printed);
    checkPdf(brp::waitForPdf(brp::cupsQueue().outDir, token), 3,
             {QStringLiteral("Listagem pagina 1"), QStringLiteral("Listagem pagina 3")});
}

TEST_F(CupsPrintTest, StoredPagesReplayed)
{
    TBRPrinter t(nullptr);
    t.SetPrinterIndex(t.Printer()->Printers().indexOf(brp::cupsQueue().queue));
    t.SetPaperSize(TBRPaperSize::A4);
    generate(t, 4);
    t.SetPrintMetaFile(true);
    t.SetFirstPage(2);
    t.SetLastPage(3);
    t.SetJobTitle(token);
    t.PrintReport();
    checkPdf(brp::waitForPdf(brp::cupsQueue().outDir, token), 2,
             {QStringLiteral("Listagem pagina 2"), QStringLiteral("Listagem pagina 3")});
}

TEST_F(CupsPrintTest, BrptoolPrintsASavedReport)
{
    const QString tool = qEnvironmentVariable("BRP_BINARY_DIR") + QStringLiteral("/tools/brptool");
    if (!QFile::exists(tool))
        GTEST_SKIP() << "brptool is not built";
    QTemporaryDir dir;
    const QString file = dir.filePath(token + QStringLiteral(".brp"));
    {
        TBRPrinter t(nullptr);
        generate(t, 3);
        t.SaveReportFile(file);
    }
    QProcess p;
    p.start(tool, {QStringLiteral("print"), file, QStringLiteral("--printer"), brp::cupsQueue().queue,
                   QStringLiteral("--pages"), QStringLiteral("3-"), QStringLiteral("--copies"), QStringLiteral("1")});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    checkPdf(brp::waitForPdf(brp::cupsQueue().outDir, token), 1, {QStringLiteral("Listagem pagina 3")});

    // A missing printer is refused before anything is sent.
    p.start(tool, {QStringLiteral("print"), file, QStringLiteral("--printer"), QStringLiteral("NoSuchQueue")});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_TRUE(p.readAllStandardError().contains("not found"));

    // So is a file that is not a saved report, or one cut short.
    const QString cut = dir.filePath(QStringLiteral("cut.brp"));
    QFile whole(file), part(cut);
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly) && part.open(QIODevice::WriteOnly));
    part.write(whole.read(300));
    part.close();
    for (const QString& bad : {qEnvironmentVariable("BRP_SOURCE_DIR") + QStringLiteral("/README.md"), cut}) {
        p.start(tool, {QStringLiteral("print"), bad, QStringLiteral("--printer"), brp::cupsQueue().queue});
        ASSERT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitCode(), 1) << bad.toStdString();
        EXPECT_FALSE(p.readAllStandardError().isEmpty());
    }
}
