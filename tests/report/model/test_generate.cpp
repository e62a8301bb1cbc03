// Generation: where bands land on which page, page and column breaks, bottom
// alignment, stretching controls, events and cancelling from the preview.
#include "BRMessages.h"
#include "BRRunWindows.h"
#include "RunFixture.h"
#include "TBRExportFilter.h"

#include <QCoreApplication>
#include <QDir>
#include <QPointer>
#include <QTemporaryDir>

namespace {
QList<QVariantList> rows(int n, const QString& prefix = QStringLiteral("R"))
{
    QList<QVariantList> out;
    for (int i = 1; i <= n; ++i)
        out.append({prefix + QString::number(i)});
    return out;
}
} // namespace

class GenerateTest : public RunFixture {
protected:
    // Page header 100, detail 100 over `n` rows of QryRel, summary 100.
    void listing(int n)
    {
        data = dataSet(QStringLiteral("QryRel"), {QStringLiteral("NAME")}, rows(n));
        report->SetDataSet(data);
        header = bandOf(QStringLiteral("Header"), rbPageHeader, 100);
        text(header, QStringLiteral("HEAD"));
        detail = bandOf(QStringLiteral("Detail"), rbDetail, 100);
        text(detail, QStringLiteral("Row"), field(data, QStringLiteral("NAME")));
        summary = bandOf(QStringLiteral("Summary"), rbSummary, 100);
        text(summary, QStringLiteral("SUM"));
    }
    TMemDataSet* data = nullptr;
    TBRBand* header = nullptr;
    TBRBand* detail = nullptr;
    TBRBand* summary = nullptr;
};

TEST_F(GenerateTest, RowsFlowDownPagesWithTheHeaderOnEachAndTheSummaryAfterTheLastRow)
{
    listing(30);
    run();
    const auto p = pages();
    ASSERT_EQ(p.size(), 2);
    // Body 2770 from 100: the header takes 100, then 26 rows of 100 fit.
    ASSERT_EQ(p[0].size(), 27);
    EXPECT_EQ(p[0][0].text, QStringLiteral("HEAD"));
    EXPECT_EQ(p[0][0].y, dev(100));
    for (int i = 1; i <= 26; ++i) {
        EXPECT_EQ(p[0][i].text, QStringLiteral("R%1").arg(i));
        EXPECT_EQ(p[0][i].y, dev(100 + 100 * i));
    }
    EXPECT_EQ(p[1].first().text, QStringLiteral("HEAD"));
    EXPECT_EQ(p[1][1].text, QStringLiteral("R27"));
    EXPECT_EQ(p[1][1].y, dev(200));
    EXPECT_EQ(p[1].last().text, QStringLiteral("SUM"));
    EXPECT_EQ(p[1].last().y, dev(600));
    EXPECT_EQ(report->PageFooterSpace(), 0);
    EXPECT_TRUE(report->Available());
    EXPECT_EQ(report->OutputTarget()->State(), jsFinished);
}

TEST_F(GenerateTest, ForcedPageAfterTheTitleIsDroppedOnceAndAFirstBandMakesNoEmptyPage)
{
    listing(3);
    detail->SetForceNewPage(true);
    auto* title = bandOf(QStringLiteral("Title"), rbTitle, 100);
    text(title, QStringLiteral("TITLE"));
    run();
    EXPECT_EQ(texts(), (QList<QStringList>{{QStringLiteral("HEAD"), QStringLiteral("TITLE"), QStringLiteral("R1")}, {QStringLiteral("HEAD"), QStringLiteral("R2")}, {QStringLiteral("HEAD"), QStringLiteral("R3"), QStringLiteral("SUM")}}));

    // Without a title the first band starts page 1 itself.
    delete title;
    run();
    EXPECT_EQ(texts().size(), 3);
    EXPECT_EQ(texts()[0], (QStringList{QStringLiteral("HEAD"), QStringLiteral("R1")}));
}

TEST_F(GenerateTest, FirstPageHeaderAndLastPageFooterOptions)
{
    listing(30);
    auto* footer = bandOf(QStringLiteral("Footer"), rbPageFooter, 100);
    text(footer, QStringLiteral("FOOT"));
    struct Case {
        unsigned options;
        bool headOnFirst;
        bool footOnLast;
    } cases[] = {{FirstPageHeader | LastPageFooter, true, true}, {LastPageFooter, false, true},
                 {FirstPageHeader, true, false}, {0, false, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options);
        report->SetOptions(int(c.options));
        run();
        const auto t = texts();
        ASSERT_GE(t.size(), 2);
        EXPECT_EQ(t.first().first() == QStringLiteral("HEAD"), c.headOnFirst);
        EXPECT_EQ(t.last().last() == QStringLiteral("FOOT"), c.footOnLast);
        EXPECT_EQ(t.first().last(), QStringLiteral("FOOT")); // every other page has its footer
        EXPECT_EQ(t[1].first(), QStringLiteral("HEAD"));
    }
    // The footer sits at the bottom, above the bottom margin.
    const auto p = pages();
    EXPECT_EQ(p[0].last().y, dev(2970 - 100 - 100));
}

TEST_F(GenerateTest, BottomAlignedSummaryEndsAtTheFooterOrGoesToTheTopOfTheNextPage)
{
    auto* footer = bandOf(QStringLiteral("Footer"), rbPageFooter, 100);
    text(footer, QStringLiteral("FOOT"));
    struct Case {
        int rows;
        unsigned options;
        int summaryPage;
        int summaryY;
    } cases[] = {
        {3, FirstPageHeader | LastPageFooter, 0, 2970 - 100 - 100 - 150}, // fits above the footer
        {3, FirstPageHeader, 0, 2970 - 100 - 150},                         // takes the footer's room
        {25, FirstPageHeader | LastPageFooter, 1, 200},                    // no room: next page, at its top
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rows);
        form.reset();
        RunFixture::SetUp();
        footer = bandOf(QStringLiteral("Footer"), rbPageFooter, 100);
        text(footer, QStringLiteral("FOOT"));
        listing(c.rows);
        summary->Size()->SetDimension(TBRBandSize::iHeight, 150);
        summary->SetAlignToBottom(true);
        report->SetOptions(int(c.options));
        run();
        const auto p = pages();
        ASSERT_GT(p.size(), c.summaryPage);
        const auto it = std::find_if(p[c.summaryPage].begin(), p[c.summaryPage].end(),
                                     [](const PageText& t) { return t.text == QStringLiteral("SUM"); });
        ASSERT_NE(it, p[c.summaryPage].end());
        EXPECT_EQ(it->y, dev(c.summaryY));
    }
}

TEST_F(GenerateTest, TwoColumnsFillTheFirstColumnThenTheSecondThenANewPageWithTheColumnHeader)
{
    report->Page()->SetColumns(2);
    listing(60);
    auto* columnHeader = bandOf(QStringLiteral("ColHead"), rbColumnHeader, 100);
    text(columnHeader, QStringLiteral("COLS"));
    run();
    const auto p = pages();
    ASSERT_GE(p.size(), 2);
    const int columnWidth = brp::Round(detail->Size()->Native(TBRBandSize::iWidth));
    // Column 1: header, column header, 25 rows; column 2 starts at the column top.
    EXPECT_EQ(p[0][1].text, QStringLiteral("COLS"));
    EXPECT_EQ(p[0][2].text, QStringLiteral("R1"));
    EXPECT_EQ(p[0][2].x, dev(100));
    EXPECT_EQ(p[0][26].text, QStringLiteral("R25"));
    EXPECT_EQ(p[0][27].text, QStringLiteral("COLS"));
    EXPECT_EQ(p[0][27].x, dev(100 + columnWidth));
    EXPECT_EQ(p[0][27].y, dev(200));
    EXPECT_EQ(p[0][28].text, QStringLiteral("R26"));
    EXPECT_EQ(p[0][28].y, dev(300));
    EXPECT_EQ(p[1][0].text, QStringLiteral("HEAD"));
    EXPECT_EQ(p[1][1].text, QStringLiteral("COLS"));
    EXPECT_EQ(p[1][1].x, dev(100));
    EXPECT_EQ(p[1][2].text, QStringLiteral("R51"));
}

TEST_F(GenerateTest, StretchingControlContinuesOnTheNextPageAndOnlyUnfinishedControlsPrintAgain)
{
    listing(25); // the last row ends 170 above the page end
    auto* tall = text(summary, QStringLiteral("L"), {}, 50);
    tall->Stretch = true;
    tall->Lines = 6;
    tall->Text = [] { return QStringLiteral("L"); };
    summary->Frame()->SetDrawTop(true);
    run();
    const auto t = texts();
    ASSERT_EQ(t.size(), 2);
    // Two lines fit (the second by growing the band); a third would not.
    EXPECT_EQ(t[0].mid(t[0].size() - 3), (QStringList{QStringLiteral("SUM"), QStringLiteral("L0"), QStringLiteral("L1")}));
    EXPECT_EQ(t[1], (QStringList{QStringLiteral("HEAD"), QStringLiteral("L2"), QStringLiteral("L3"), QStringLiteral("L4"), QStringLiteral("L5")}));
    // The summary's band height is its own again.
    EXPECT_EQ(summary->Size()->Native(TBRBandSize::iHeight), 100);
}

TEST_F(GenerateTest, EventsFireInPageOrder)
{
    listing(2);
    auto* footer = bandOf(QStringLiteral("Footer"), rbPageFooter, 100);
    QStringList log;
    report->OnStartPage = [&](QObject*) { log << QStringLiteral("start"); };
    report->OnEndPage = [&](QObject*) { log << QStringLiteral("end"); };
    for (TBRCustomBand* b : {static_cast<TBRCustomBand*>(header), static_cast<TBRCustomBand*>(detail),
                             static_cast<TBRCustomBand*>(summary), static_cast<TBRCustomBand*>(footer)}) {
        b->BeforePrint = [&log](TBRCustomBand* s, bool&) { log << QStringLiteral("before ") + s->Name(); };
        b->AfterPrint = [&log](TBRCustomBand* s, bool) { log << QStringLiteral("after ") + s->Name(); };
    }
    report->BeforePrint = [&](QObject*, bool&) { log << QStringLiteral("report"); };
    run();
    // The first band is asked before it starts page 1.
    EXPECT_EQ(log, (QStringList{QStringLiteral("report"), QStringLiteral("before Detail"), QStringLiteral("start"), QStringLiteral("before Header"), QStringLiteral("after Header"), QStringLiteral("after Detail"),
                                QStringLiteral("before Detail"), QStringLiteral("after Detail"), QStringLiteral("before Summary"), QStringLiteral("after Summary"), QStringLiteral("before Footer"),
                                QStringLiteral("after Footer"), QStringLiteral("end")}));
}

TEST_F(GenerateTest, BeforePrintRefusingGivesNoJobAndABandRefusedIsSkipped)
{
    listing(3);
    detail->BeforePrint = [&](TBRCustomBand*, bool& print) { print = data->RecNo() != 1; };
    run();
    EXPECT_EQ(texts(), (QList<QStringList>{{QStringLiteral("HEAD"), QStringLiteral("R1"), QStringLiteral("R3"), QStringLiteral("SUM")}}));

    report->BeforePrint = [](QObject*, bool& print) { print = false; };
    run();
    EXPECT_EQ(report->OutputTarget()->State(), jsIdle);
    EXPECT_TRUE(texts().isEmpty());
    EXPECT_TRUE(report->Available());
}

TEST_F(GenerateTest, ClosingThePreviewDuringTheRunAbortsItAndLeavesNoPageFile)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QByteArray savedTmp = qgetenv("TMPDIR");
    qputenv("TMPDIR", tmp.path().toLocal8Bit());
    listing(3000);
    bool spilled = false;
    detail->BeforePrint = [&](TBRCustomBand*, bool&) {
        if (data->RecNo() == 2500) {
            // In the temporary file by now, which is never seen in the folder.
            spilled = !report->OutputTarget()->PageList().Store()->UsingMemory();
            EXPECT_TRUE(QDir(tmp.path()).entryList(QDir::Files | QDir::NoDotAndDotDot).isEmpty());
            report->OutputTarget()->PreviewClosed(nullptr);
        }
    };
    run();
    qputenv("TMPDIR", savedTmp);
    EXPECT_TRUE(spilled);
    EXPECT_TRUE(report->Cancelled());
    EXPECT_EQ(report->OutputTarget(), nullptr);
    EXPECT_TRUE(QDir(tmp.path()).entryList(QDir::Files | QDir::NoDotAndDotDot).isEmpty());
    EXPECT_TRUE(report->Available());
}

TEST_F(GenerateTest, PreviewClosedAfterTheRunReleasesTheTarget)
{
    listing(2);
    QStringList log;
    report->AfterPreview = [&](QObject*) { log << QStringLiteral("after preview"); };
    run();
    TBRPrinter* target = report->OutputTarget();
    ASSERT_NE(target, nullptr);
    target->SetPreviewOpen(true);
    target->PreviewClosed(nullptr);
    EXPECT_EQ(report->OutputTarget(), nullptr);
    EXPECT_EQ(log, QStringList{QStringLiteral("after preview")});
}

TEST_F(GenerateTest, FailureInsideTheRunEndsTheJobAndLeavesTheReportUsable)
{
    listing(3);
    detail->BeforePrint = [&](TBRCustomBand*, bool&) {
        if (data->RecNo() == 1)
            throw std::runtime_error("boom");
    };
    EXPECT_THROW(run(), std::runtime_error);
    EXPECT_EQ(report->OutputTarget()->State(), jsFinished);
    EXPECT_TRUE(report->Available());
    EXPECT_EQ(report->Units(), TBRUnit::Native);
    EXPECT_EQ(report->RunDataSets(), nullptr);
    detail->BeforePrint = nullptr;
    run();
    EXPECT_EQ(texts().first().size(), 5);
}

namespace {
class RecordingFilter : public TBRExportFilter {
public:
    RecordingFilter() : TBRExportFilter(QStringLiteral("out")) {}
    QStringList Log;
    bool Continuous = false;
    void Start(long double w, long double l, const TFont&) override
    {
        Log << QStringLiteral("start %1x%2").arg(double(w)).arg(double(l));
    }
    void StartPage() override { Log << QStringLiteral("page"); }
    void PrintBand(QObject* band, int, int y, long double) override { Log << band->objectName() + QStringLiteral("@") + QString::number(y); }
    void EndPage() override { Log << QStringLiteral("end page"); }
    void Finish() override { Log << QStringLiteral("finish"); }
    bool IsContinuous() const override { return Continuous; }
};
} // namespace

TEST_F(GenerateTest, ExportFilterHearsOfPagesAndBandsAndNothingIsDrawn)
{
    listing(2);
    RecordingFilter filter;
    report->ExportThrough(&filter);
    EXPECT_EQ(filter.Log, (QStringList{QStringLiteral("start 2100x2970"), QStringLiteral("page"), QStringLiteral("Header@100"), QStringLiteral("Detail@200"), QStringLiteral("Detail@300"),
                                       QStringLiteral("Summary@400"), QStringLiteral("end page"), QStringLiteral("finish")}));
    EXPECT_TRUE(report->RenderToSurface());
    EXPECT_EQ(report->OutputTarget(), nullptr);

    // A continuous filter gets one endless page.
    form.reset();
    RunFixture::SetUp();
    listing(60);
    RecordingFilter endless;
    endless.Continuous = true;
    report->ExportThrough(&endless);
    EXPECT_EQ(endless.Log.count(QStringLiteral("page")), 1);
}

TEST_F(GenerateTest, PrintRunsAgainOnThePrinterWithTheProgressWindowAndKeepsThePreviewTarget)
{
    auto* printer = new RecordingPrinterService({RecordedPrinter::Laser()});
    brp::SetApplicationPrinter(std::unique_ptr<PrinterService>(printer));
    report->PrinterSettings()->UseStandardprinter = true;
    listing(30);
    run();
    TBRPrinter* preview = report->OutputTarget();
    ASSERT_EQ(preview->PageTotal(), 2);

    TBRPrinter* given = nullptr;
    bool shown = false;
    QPointer<QObject> window;
    brp::SetProgressWindowFactory([&](TBRPrinter* target, bool show) {
        given = target;
        shown = show;
        window = new QObject;
        return window.data();
    });
    // The preview's print button posts the request; the report handles it.
    preview->PrintReport();
    QCoreApplication::processEvents();
    brp::SetProgressWindowFactory(nullptr);

    EXPECT_NE(given, nullptr);
    EXPECT_NE(given, preview);
    EXPECT_TRUE(shown);
    EXPECT_TRUE(window.isNull()) << "the progress window goes with the run";
    EXPECT_EQ(report->OutputTarget(), preview);
    EXPECT_EQ(preview->PageTotal(), 2);
    QStringList doc;
    for (const QString& line : printer->Log)
        if (line.startsWith(QStringLiteral("BeginDoc")) || line == QStringLiteral("NewPage") || line == QStringLiteral("EndDoc"))
            doc << line.left(8);
    EXPECT_EQ(doc, (QStringList{QStringLiteral("BeginDoc"), QStringLiteral("NewPage"), QStringLiteral("EndDoc")}));
}

TEST_F(GenerateTest, PrintWithoutPrintersLeavesThePreviewTargetInPlace)
{
    listing(3);
    run();
    TBRPrinter* preview = report->OutputTarget();
    report->Print();
    EXPECT_EQ(report->OutputTarget(), preview);
    EXPECT_EQ(preview->State(), jsFinished);
}

TEST_F(GenerateTest, LinkedBandsStartANewPageTogether)
{
    listing(25); // the last row ends at 2700: 170 left
    auto* child = bandOf(QStringLiteral("Linked"), rbSummary, 100);
    text(child, QStringLiteral("LINKED"));
    summary->SetLinkBand(child);
    report->SetOptions(FirstPageHeader | LastPageFooter);
    run();
    // 100 + 100 does not fit in 170: the summary moves to page 2.
    EXPECT_EQ(texts()[1].mid(0, 2), (QStringList{QStringLiteral("HEAD"), QStringLiteral("SUM")}));
}

TEST_F(GenerateTest, PrintSetupOffersTheFinishedPagesAndCopiesTheChoicesBack)
{
    listing(30);
    run();
    BRPrintSetupData offered;
    brp::SetPrintSetupRunner([&](BRPrintSetupData& setup) {
        offered = setup;
        setup.Copies = 3;
        setup.PrintRange = BRPrintSetupData::PageNums;
        setup.FromPage = 2;
        setup.ToPage = 2;
        setup.Orientation = poLandscape;
        return true;
    });
    report->OutputTarget()->InvokePrintSetup(nullptr);
    EXPECT_EQ(offered.MinPage, 1);
    EXPECT_EQ(offered.MaxPage, 2);
    EXPECT_EQ(offered.ToPage, 2);
    EXPECT_EQ(report->PrinterSettings()->Copies, 3);
    EXPECT_EQ(report->PrinterSettings()->FirstPage, 2);
    EXPECT_EQ(report->PrinterSettings()->LastPage, 2);
    EXPECT_EQ(report->Page()->Orientation(), poLandscape);

    // Cancelled: nothing changes; all pages: the range is cleared.
    brp::SetPrintSetupRunner([](BRPrintSetupData& setup) {
        setup.Copies = 9;
        return false;
    });
    report->OutputTarget()->InvokePrintSetup(nullptr);
    EXPECT_EQ(report->PrinterSettings()->Copies, 3);
    brp::SetPrintSetupRunner([](BRPrintSetupData& setup) {
        setup.PrintRange = BRPrintSetupData::AllPages;
        return true;
    });
    report->OutputTarget()->InvokePrintSetup(nullptr);
    EXPECT_EQ(report->PrinterSettings()->FirstPage, 0);
    brp::SetPrintSetupRunner(nullptr);
}
