// The output target: job states, device units, direct printing, replay,
// saved-report files, preview hand-shakes.
#include "BRPrntr.h"
#include "PrintError.h"
#include "TBRPageList.h"
#include "TBRStream.h"
#include "TMetafile.h"
#include "TMetafileCanvas.h"
#include "TargetFixture.h"
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>
#include <QtEndian>
#include <cmath>

TEST_F(TargetTest, CreationReadsThePrinter)
{
    host.useStandard = true;
    TBRPrinter t(&host);
    EXPECT_EQ(t.OwnerReport(), &host);
    EXPECT_TRUE(t.UseStandardprinter());
    EXPECT_EQ(t.Printer(), &brp::ApplicationPrinter());
    EXPECT_TRUE(t.HasPrinters());
    EXPECT_EQ(t.PrintableLeft(), 42);
    EXPECT_EQ(t.PrintableTop(), 42);
    EXPECT_EQ(t.State(), jsIdle);
    EXPECT_EQ(t.Destination(), qdPreview);
    EXPECT_EQ(double(t.HorzFactor()), 1.0);
    EXPECT_EQ(t.PaperSize(), TBRPaperSize::A4);

    QObject other;
    TBRPrinter u(&other);
    EXPECT_EQ(u.OwnerReport(), nullptr);
    EXPECT_FALSE(u.UseStandardprinter());
    EXPECT_NE(u.Printer(), &brp::ApplicationPrinter());
}

TEST_F(TargetTest, WithoutPrinters)
{
    printers.clear();
    brp::SetApplicationPrinter(std::make_unique<RecordingPrinterService>(printers));
    TBRPrinter t(&host);
    EXPECT_FALSE(t.HasPrinters());
    EXPECT_EQ(t.PaperSize(), TBRPaperSize::A4);
    EXPECT_EQ(t.Orientation(), poPortrait);
    EXPECT_EQ(t.Copies(), 0);
    EXPECT_EQ(t.OutputBin(), TBRBin::First);
    t.SetPrinterIndex(3); // ignored, no error
    // Pages can still be recorded for the preview; replay prints nothing.
    runJob(t, 2);
    EXPECT_EQ(t.PageTotal(), 2);
    t.SetPrintMetaFile(true);
    t.PrintReport();
    EXPECT_TRUE(rec(t).Log.isEmpty());
}

TEST_F(TargetTest, PrinterIndex)
{
    RecordedPrinter second = RecordedPrinter::Laser(QStringLiteral("Draft"));
    second.dpiX = second.dpiY = 300;
    second.offsetX = 50;
    printers.append(second);
    TBRPrinter t(&host);
    EXPECT_THROW(t.SetPrinterIndex(2), PrintError);
    t.SetPrinterIndex(1);
    EXPECT_EQ(t.PrinterIndex(), 1);
    EXPECT_EQ(t.PrinterSettings().PixelsPerInchX(), 300);
    EXPECT_EQ(t.PrinterSettings().PrintableLeft(), 42);
    t.SetPrinterIndex(-1);
    EXPECT_EQ(t.PrinterIndex(), 0);
    t.SetUseStandardprinter(true);
    t.SetPrinterIndex(1);
    EXPECT_EQ(t.PrinterIndex(), 0);
}

TEST_F(TargetTest, StateMachineAndErrors)
{
    TBRPrinter t(&host);
    try {
        t.NewPage();
        FAIL();
    } catch (const EBRError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Illegal call to NewPage"));
    }
    t.FinishJob(); // nothing while idle
    EXPECT_EQ(t.State(), jsIdle);
    t.StartJob();
    EXPECT_EQ(t.State(), jsRunning);
    try {
        t.StartJob();
        FAIL();
    } catch (const EBRError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("BRPrinter not ready"));
    }
    EXPECT_EQ(t.State(), jsRunning);
    t.NewPage();
    t.FinishJob();
    EXPECT_EQ(t.State(), jsFinished);
    EXPECT_THROW(t.NewPage(), EBRError);
    EXPECT_THROW(t.StartJob(), EBRError);
    EXPECT_EQ(t.PageTotal(), 1);

    t.ResetJob();
    EXPECT_EQ(t.State(), jsIdle);
    EXPECT_EQ(t.Store(), nullptr);
    EXPECT_EQ(t.PageList().Count(), 0);
    EXPECT_EQ(t.FetchPage(1), nullptr);

    t.StartJob();
    t.NewPage();
    t.ResetJob(); // during a run: cancels too
    EXPECT_TRUE(t.CancelRequested());
    t.AbortJob(); // acts in any state
    EXPECT_EQ(t.State(), jsFinished);
}

TEST_F(TargetTest, StartJobDuringAPrinterJob)
{
    TBRPrinter t(&host);
    t.SetDestination(qdPrinter);
    t.StartJob();
    t.NewPage();
    t.SetCopies(3);
    try {
        t.StartJob();
        FAIL();
    } catch (const EBRError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("BRPrinter not ready"));
    }
    EXPECT_EQ(rec(t).CurrentMode().dmCopies, 1); // the running job's mode is untouched
    t.FinishJob();
    EXPECT_EQ(docLog(t), (QStringList{QStringLiteral("BeginDoc "), QStringLiteral("EndDoc")}));
}

TEST_F(TargetTest, ResetDuringAPrinterJobEndsIt)
{
    host.useStandard = true; // the application's printer outlives the target
    TBRPrinter t(&host);
    t.SetDestination(qdPrinter);
    t.StartJob();
    t.NewPage();
    t.ResetJob();
    EXPECT_FALSE(rec(t).Printing());
    EXPECT_EQ(docLog(t), (QStringList{QStringLiteral("BeginDoc "), QStringLiteral("Abort")}));

    // The next run begins a job of its own.
    runJob(t, 1);
    EXPECT_EQ(docLog(t), (QStringList{QStringLiteral("BeginDoc "), QStringLiteral("Abort"), QStringLiteral("BeginDoc "), QStringLiteral("EndDoc")}));
}

TEST_F(TargetTest, RecordsPreviewPages)
{
    MessageSink sink;
    TBRPrinter t(&host);
    t.SetStatusClient(&sink);
    t.StartJob();
    EXPECT_EQ(t.PrintableLeft(), 0);
    EXPECT_EQ(t.DeviceX(500), t.DeviceWidth(500));
    EXPECT_EQ(t.DeviceX(t.PrintableLeft()), 0);
    t.NewPage();
    EXPECT_EQ(t.PageMetafile()->Width(), 794);
    EXPECT_EQ(t.PageMetafile()->Height(), 1123);
    t.PageCanvas()->TextOut(10, 10, QStringLiteral("Page 1"));
    EXPECT_EQ(t.FetchPage(1), nullptr); // still being recorded
    t.NewPage();
    auto first = t.FetchPage(1);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Width(), 794);
    EXPECT_TRUE(RecordingPrinterService::PageHasText(first->Data(), QStringLiteral("Page 1")));
    t.SetProgress(77);
    t.FinishJob();
    QCoreApplication::processEvents();
    EXPECT_EQ(sink.params(BRM_PAGESREADY), (QList<quintptr>{1, 2}));
    EXPECT_EQ(sink.params(BRM_PROGRESS), (QList<quintptr>{77}));
    EXPECT_EQ(t.Progress(), 77);
    for (int n : {0, 3, -1})
        EXPECT_EQ(t.FetchPage(n), nullptr);
    EXPECT_NE(t.FetchPage(2), nullptr);
    EXPECT_EQ(t.PageList().Count(), 2);
}

TEST_F(TargetTest, CompressedPagesReadBack)
{
    TBRPrinter t(&host);
    t.SetCompression(true);
    runJob(t, 3);
    EXPECT_TRUE(t.PageList().Compressed());
    for (int n = 3; n >= 1; --n) {
        auto page = t.FetchPage(n);
        ASSERT_NE(page, nullptr);
        EXPECT_TRUE(RecordingPrinterService::PageHasText(page->Data(), QStringLiteral("Page %1").arg(n)));
    }
}

TEST_F(TargetTest, LandscapeRecordingAndRounding)
{
    TBRPrinter t(&host);
    t.SetOrientation(poLandscape);
    EXPECT_EQ(t.OrientedPaperWidth(), 2970);
    EXPECT_EQ(t.OrientedPaperLength(), 2100);
    t.StartJob();
    t.NewPage();
    EXPECT_EQ(t.PageMetafile()->Width(), 1123);
    EXPECT_EQ(t.PageMetafile()->Height(), 794);
    t.AbortJob();
    EXPECT_EQ(t.PageList().Count(), 1); // kept

    // Halves go to the even neighbour: a 254 x 127 dpi printer gives one and
    // one half device units per native unit.
    printers[0].dpiX = 254;
    printers[0].dpiY = 127;
    TBRPrinter r(&host);
    r.SetDestination(qdPrinter);
    r.StartJob();
    ASSERT_EQ(double(r.HorzFactor()), 1.0);
    ASSERT_EQ(double(r.VertFactor()), 0.5);
    EXPECT_EQ(r.DeviceWidth(2.5L), 2);
    EXPECT_EQ(r.DeviceWidth(3.5L), 4);
    EXPECT_EQ(r.DeviceHeight(5), 2);
    EXPECT_EQ(r.DeviceHeight(-5), -2);
    r.AbortJob();
}

TEST_F(TargetTest, DirectPrintingOfAPageRange)
{
    int afterPrint = 0;
    TBRPrinter t(&host);
    t.SetAfterPrint([&](QObject* sender) {
        EXPECT_EQ(sender, &t);
        ++afterPrint;
    });
    t.SetDestination(qdPrinter);
    t.SetFirstPage(2);
    t.SetLastPage(3);
    t.SetJobTitle(QStringLiteral("Listagem"));
    t.SetCopies(2);
    runJob(t, 5);
    EXPECT_EQ(docLog(t), (QStringList{QStringLiteral("BeginDoc Listagem"), QStringLiteral("NewPage"), QStringLiteral("EndDoc")}));
    ASSERT_EQ(rec(t).Pages.size(), 2);
    EXPECT_TRUE(RecordingPrinterService::PageHasText(rec(t).Pages[0].emf, QStringLiteral("Page 2")));
    EXPECT_TRUE(RecordingPrinterService::PageHasText(rec(t).Pages[1].emf, QStringLiteral("Page 3")));
    EXPECT_EQ(rec(t).JobMode.dmCopies, 2);
    EXPECT_EQ(t.PrintableLeft(), 42);
    EXPECT_EQ(t.DeviceX(42), 0);
    EXPECT_EQ(afterPrint, 1);
    EXPECT_EQ(t.PagesReady(), 5);
    EXPECT_EQ(t.FetchPage(2), nullptr); // nothing was stored
}

TEST_F(TargetTest, AbortOnThePrinter)
{
    TBRPrinter t(&host);
    t.SetDestination(qdPrinter);
    t.SetFirstPage(3);
    t.StartJob();
    EXPECT_EQ(t.DeviceWidth(254), 600); // printer dots
    t.NewPage();
    EXPECT_EQ(t.DeviceWidth(254), 96);  // a page recorded only to be discarded
    t.AbortJob(); // before the range: printer untouched
    EXPECT_TRUE(docLog(t).isEmpty());

    TBRPrinter u(&host);
    u.SetDestination(qdPrinter);
    u.StartJob();
    u.NewPage();
    u.AbortJob();
    EXPECT_EQ(docLog(u), (QStringList{QStringLiteral("BeginDoc "), QStringLiteral("Abort")}));
    EXPECT_EQ(u.State(), jsFinished);
}

TEST_F(TargetTest, PrinterFailureLeavesNoJob)
{
    printers[0].paperCodes.clear();
    TBRPrinter t(&host);
    rec(t).FailBeginDoc = QStringLiteral("Queue stopped");
    t.SetDestination(qdPrinter);
    t.StartJob();
    EXPECT_THROW(t.NewPage(), PrintError);
    t.AbortJob();
    EXPECT_FALSE(rec(t).Printing());
    EXPECT_TRUE(docLog(t).isEmpty());
}

TEST_F(TargetTest, ReplayRanges)
{
    struct Case {
        int first, last;
        QList<int> pages; // 0: an empty sheet
    };
    const Case cases[] = {
        {3, 0, {3, 4, 5}},
        {3, 7, {3, 4, 5, 0, 0}},
        {4, 2, {0}}, // an empty job: opened and closed
        {0, 0, {1, 2, 3, 4, 5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.first * 10 + c.last);
        TBRPrinter t(&host);
        runJob(t, 5);
        t.SetFirstPage(c.first);
        t.SetLastPage(c.last);
        t.SetJobTitle(QStringLiteral("Replay"));
        t.SetPrintMetaFile(true);
        t.PrintReport();
        const QStringList log = docLog(t);
        EXPECT_EQ(log.first(), QStringLiteral("BeginDoc Replay"));
        EXPECT_EQ(log.last(), QStringLiteral("EndDoc"));
        EXPECT_EQ(log.count(QStringLiteral("NewPage")), std::max<qsizetype>(0, c.last == 2 ? 0 : c.pages.size() - 1));
        const auto& pages = rec(t).Pages;
        ASSERT_EQ(pages.size(), c.pages.size());
        for (int i = 0; i < c.pages.size(); ++i) {
            if (c.pages[i] == 0) {
                EXPECT_TRUE(pages[i].pictures.isEmpty());
                continue;
            }
            ASSERT_EQ(pages[i].pictures.size(), 1);
            EXPECT_TRUE(RecordingPrinterService::PageHasText(pages[i].pictures[0], QStringLiteral("Page %1").arg(c.pages[i])));
            EXPECT_EQ(pages[i].pictureRects[0], (TRect{0, 0, 4760, 6816})); // the printable area
        }
    }
}

TEST_F(TargetTest, ReplayStopsOnCancel)
{
    TBRPrinter t(&host);
    runJob(t, 4);
    t.SetPrintMetaFile(true);
    MessageSink sink;
    // A cancel pressed while pages are printed (seen between pages).
    QCoreApplication::postEvent(&sink, new BRMessageEvent(BRM_PROGRESS, 0, 0));
    sink.onMessage = [&](const MessageSink::Message&) { t.RequestCancel(); };
    t.PrintReport();
    EXPECT_EQ(docLog(t), (QStringList{QStringLiteral("BeginDoc "), QStringLiteral("NewPage"), QStringLiteral("Abort")}));
}

TEST_F(TargetTest, CancelledReplayDoesNotStopTheNext)
{
    TBRPrinter t(&host);
    runJob(t, 3);
    t.SetPrintMetaFile(true);
    t.RequestCancel();
    t.PrintReport();
    rec(t).Log.clear();
    rec(t).Pages.clear();
    t.PrintReport();
    EXPECT_EQ(docLog(t), (QStringList{QStringLiteral("BeginDoc "), QStringLiteral("NewPage"), QStringLiteral("NewPage"), QStringLiteral("EndDoc")}));
    EXPECT_EQ(rec(t).Pages.size(), 3);
}

// A message handled while the target processes messages may free it (the
// preview closing); the target must not touch itself afterwards.
TEST_F(TargetTest, MessagesMayFreeTheTargetMidRun)
{
    for (const bool shared : {false, true}) {
        SCOPED_TRACE(shared);
        host.useStandard = shared;
        MessageSink report;
        auto* t = new TBRPrinter(&host);
        t->StartJob();
        t->NewPage();
        report.onMessage = [&](const MessageSink::Message&) { delete t; };
        QCoreApplication::postEvent(&report, new BRMessageEvent(BRM_PREVIEWCLOSED, 0, 0));
        t->FinishJob();
        EXPECT_EQ(report.received.size(), 1);

        t = new TBRPrinter(&host);
        runJob(*t, 3);
        t->SetPrintMetaFile(true);
        RecordingPrinterService& printer = rec(*t);
        QCoreApplication::postEvent(&report, new BRMessageEvent(BRM_PREVIEWCLOSED, 0, 0));
        t->PrintReport();
        EXPECT_EQ(report.received.size(), 2);
        if (shared) { // the application's printer outlives the target: its job is ended
            EXPECT_EQ(printer.Log.mid(printer.Log.indexOf(QStringLiteral("BeginDoc "))), (QStringList{QStringLiteral("BeginDoc "), QStringLiteral("Abort")}));
        }
    }
}

TEST_F(TargetTest, PrintRequestGoesToTheReport)
{
    MessageSink report;
    TBRPrinter t(&host);
    t.SetRequestReceiver(&report);
    runJob(t, 2);
    t.PrintReport();
    QCoreApplication::processEvents();
    EXPECT_TRUE(docLog(t).isEmpty());
    ASSERT_EQ(report.received.size(), 1);
    EXPECT_EQ(report.received[0].message, BRM_PRINT);
}

TEST_F(TargetTest, SaveAndLoadDetectsThePaper)
{
    QTemporaryDir dir;
    const QString portrait = dir.filePath(QStringLiteral("a4.brp"));
    const QString landscape = dir.filePath(QStringLiteral("a4l.brp"));
    {
        TBRPrinter t(&host);
        t.SaveReportFile(portrait); // not finished: nothing written
        EXPECT_FALSE(QFile::exists(portrait));
        runJob(t, 3);
        t.SaveReportFile(portrait);
        TBRPrinter u(&host);
        u.SetOrientation(poLandscape);
        runJob(u, 1);
        u.SaveReportFile(landscape);
    }
    struct Case {
        QString file;
        QList<int> codes;
        TBRPaperSize size;
        TPrinterOrientation orientation;
    };
    const Case cases[] = {
        {portrait, {1, 9, 10}, TBRPaperSize::A4Small, poPortrait}, // the later match wins
        {portrait, {1, 9}, TBRPaperSize::A4, poPortrait},
        {portrait, {1}, TBRPaperSize::Letter, poPortrait},         // nothing offered: kept as read
        {landscape, {9, 10}, TBRPaperSize::A4Small, poLandscape},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.codes.size());
        printers[0].paperCodes = c.codes;
        printers[0].defaults.dmPaperSize = 1;
        TBRPrinter t(&host);
        t.SetOnExport([](TBRExportFilter*) {});
        t.StartJob();
        t.LoadReportFile(c.file);
        EXPECT_EQ(t.State(), jsFinished);
        EXPECT_TRUE(t.LoadedFromFile());
        EXPECT_FALSE(t.OnExport());
        EXPECT_EQ(t.PageTotal(), c.file == portrait ? 3 : 1);
        EXPECT_EQ(t.PaperSize(), c.size);
        EXPECT_EQ(t.Orientation(), c.orientation);
        auto page = t.FetchPage(1);
        ASSERT_NE(page, nullptr);
        EXPECT_TRUE(RecordingPrinterService::PageHasText(page->Data(), QStringLiteral("Page 1")));
    }

    // A loaded file replays rather than asking the report to run again.
    MessageSink report;
    TBRPrinter t(&host);
    t.SetRequestReceiver(&report);
    t.LoadReportFile(portrait);
    t.PrintReport();
    EXPECT_EQ(docLog(t).count(QStringLiteral("NewPage")), 2);
    // Saving a loaded file copies it.
    const QString copy = dir.filePath(QStringLiteral("copy.brp"));
    t.SaveReportFile(copy);
    QFile a(portrait), b(copy);
    ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    EXPECT_EQ(a.readAll(), b.readAll());
}

// A file keeps its paper whatever screen it was recorded on: the page's size
// is read at the resolution it was recorded at.
TEST_F(TargetTest, LoadRecognisesThePaperOfFilesRecordedAtAnyResolution)
{
    QTemporaryDir dir;
    for (const int ppi : {96, 120, 192}) {
        for (const bool landscape : {false, true}) {
            SCOPED_TRACE(ppi * 10 + landscape);
            const int w = int(std::lround(210 / 25.4 * ppi)), h = int(std::lround(297 / 25.4 * ppi));
            TMetafileCanvas canvas(landscape ? h : w, landscape ? w : h, ppi);
            canvas.TextOut(40, 40, QStringLiteral("Page 1"));
            TBRPageList list;
            list.SetStore(std::make_unique<TBRStream>(100000));
            list.AppendPage(canvas.Finish());
            list.WriteHeader();
            const QString file = dir.filePath(QStringLiteral("p%1.brp").arg(ppi));
            list.WriteToFile(file);

            printers[0].paperCodes = {1, 9};
            printers[0].defaults.dmPaperSize = 1;
            TBRPrinter t(&host);
            t.LoadReportFile(file);
            EXPECT_EQ(t.PaperSize(), TBRPaperSize::A4);
            EXPECT_EQ(t.Orientation(), landscape ? poLandscape : poPortrait);
        }
    }
}

TEST_F(TargetTest, BadFilesLeaveTheTargetIdle)
{
    QTemporaryDir dir;
    const QString good = dir.filePath(QStringLiteral("good.brp"));
    {
        TBRPrinter t(&host);
        runJob(t, 2);
        t.SaveReportFile(good);
    }
    QFile in(good);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    const QByteArray bytes = in.readAll();
    const auto patched = [&](int offset, qint32 value) {
        QByteArray b = bytes;
        qToLittleEndian<qint32>(value, b.data() + offset);
        return b;
    };
    // Every one of these is refused, and nothing of it stays loaded.
    struct Case {
        const char* name;
        QByteArray content;
    };
    const Case cases[] = {
        {"text.brp", QByteArray("this is not a saved report\n")},
        {"short.brp", bytes.left(200)},  // page 1 cut short
        {"header.brp", bytes.left(128)}, // the header counts two pages, none follow
        {"empty.brp", QByteArray()},
        {"chain.brp", patched(132, bytes.size() + 1000)}, // page 1's next offset past the end
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.filePath(QString::fromUtf8(c.name));
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(c.content);
        out.close();
        TBRPrinter t(&host);
        try {
            t.LoadReportFile(path);
            ADD_FAILURE() << "loaded";
        } catch (const PlatformError& e) {
            EXPECT_FALSE(e.Message().isEmpty());
        }
        EXPECT_EQ(t.State(), jsIdle);
        EXPECT_EQ(t.PageTotal(), 0);
        EXPECT_EQ(t.Store(), nullptr);
        EXPECT_FALSE(t.LoadedFromFile());
    }
    TBRPrinter t(&host);
    EXPECT_THROW(t.LoadReportFile(dir.filePath(QStringLiteral("missing.brp"))), PlatformError);
    EXPECT_EQ(t.State(), jsIdle);
}

TEST_F(TargetTest, PreviewHandshakes)
{
    TBRPrinter t(&host);
    bool cancelSeen = false;
    int afterPreview = 0;
    t.SetAfterPreview([&](QObject*) {
        cancelSeen = t.CancelRequested();
        ++afterPreview;
    });
    t.SetPreviewOpen(false); // was not open: no event
    EXPECT_EQ(afterPreview, 0);
    t.SetPreviewOpen(true);
    t.StartJob();
    t.SetPreviewOpen(false);
    EXPECT_TRUE(cancelSeen);
    EXPECT_EQ(afterPreview, 1);

    t.SetPreviewOpen(true);
    t.SetAfterPreview([](QObject*) { throw EBRError(QStringLiteral("handler failed")); });
    EXPECT_THROW(t.SetPreviewOpen(false), EBRError);
    EXPECT_FALSE(t.PreviewOpen());

    // PreviewClosed is handled before it returns, with the target as parameter.
    MessageSink report;
    t.SetRequestReceiver(&report);
    t.PreviewClosed(nullptr);
    ASSERT_EQ(report.received.size(), 1);
    EXPECT_EQ(report.received[0].message, BRM_PREVIEWCLOSED);
    EXPECT_EQ(report.received[0].lParam, reinterpret_cast<quintptr>(&t));
}

TEST_F(TargetTest, FreedTargetLetsItsPreviewGo)
{
    struct Preview : QObject, BRPrinterClient {
        TBRPrinter* detached = nullptr;
        void DetachPrinter(TBRPrinter* printer) override { detached = printer; }
    } preview;
    auto target = std::make_unique<TBRPrinter>(&host);
    TBRPrinter* raw = target.get();
    target->SetStatusClient(&preview);
    runJob(*target, 1);
    target.reset();
    EXPECT_EQ(preview.detached, raw);
}

TEST_F(TargetTest, PreviewClosedMayFreeTheTarget)
{
    MessageSink report;
    auto* t = new TBRPrinter(&host);
    t->SetRequestReceiver(&report);
    report.onMessage = [&](const MessageSink::Message& m) { delete reinterpret_cast<TBRPrinter*>(m.lParam); };
    t->StartJob();
    t->NewPage();
    t->PreviewClosed(nullptr);
    EXPECT_EQ(report.received.size(), 1);
}

TEST_F(TargetTest, PreviewOpenerAndExportRegistry)
{
    TBRPrinter t(&host);
    int onPreview = 0;
    t.SetOnPreview([&](QObject* sender) {
        EXPECT_EQ(sender, &t);
        ++onPreview;
    });
    t.OpenPreview();
    EXPECT_EQ(onPreview, 1);

    t.SetOnPreview(nullptr);
    QWidget window;
    TBRPrinter* presented = nullptr;
    struct Opener : TBRPreviewInterface {
        QWidget* window;
        TBRPrinter** presented;
        Opener(QWidget* w, TBRPrinter** p) : window(w), presented(p) {}
        QWidget* Present(TBRPrinter* printer) override
        {
            *presented = printer;
            return window;
        }
    };
    const TBRPreviewInterfaceClass saved = PreviewInterfaceClass();
    PreviewInterfaceClass() = [&] { return std::make_unique<Opener>(&window, &presented); };
    t.OpenPreview();
    PreviewInterfaceClass() = saved;
    EXPECT_EQ(presented, &t);
    EXPECT_EQ(t.PreviewWindow(), &window);
    // The standard opener without a registered window opens nothing.
    TBRStandardPreviewInterface standard;
    EXPECT_EQ(standard.Present(&t), nullptr);

    EXPECT_EQ(BuildSaveFilter(), QStringLiteral("Report file(*.BRP)|*.BRP"));
    ExportFilterLibrary().Filters.append({[](const QString& f) { return std::make_unique<TBRExportFilter>(f); },
                                          QStringLiteral("Text file"), QStringLiteral("TXT")});
    EXPECT_EQ(BuildSaveFilter(), QStringLiteral("Report file(*.BRP)|*.BRP|Text file (*.TXT)|*.TXT"));
    TBRExportFilter* exported = nullptr;
    t.SetOnExport([&](TBRExportFilter* f) { exported = f; });
    auto filter = ExportFilterLibrary().Filters[0].FilterClass(QStringLiteral("out.txt"));
    t.RunExport(filter.get());
    EXPECT_EQ(exported->FileName(), QStringLiteral("out.txt"));
    ExportFilterLibrary().Filters.clear();
}

// A save handled while the job finishes (the preview's button pressed as the
// last page arrives) already writes the final page count.
TEST_F(TargetTest, SaveWhileFinishingKeepsEveryPage)
{
    QTemporaryDir dir;
    const QString file = dir.path() + QStringLiteral("/finishing.BRP");
    MessageSink preview;
    TBRPrinter t(&host);
    t.StartJob();
    for (int n = 1; n <= 3; ++n) {
        t.NewPage();
        t.PageCanvas()->TextOut(10, 10, QStringLiteral("Page %1").arg(n));
    }
    preview.onMessage = [&](const MessageSink::Message&) { t.SaveReportFile(file); };
    QCoreApplication::postEvent(&preview, new BRMessageEvent(BRM_PROGRESS, 0, 0));
    t.FinishJob();
    ASSERT_EQ(preview.received.size(), 1);
    TBRPageList saved;
    saved.OpenFile(file);
    EXPECT_EQ(saved.Count(), 3);
}
