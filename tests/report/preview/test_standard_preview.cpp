// The standard preview window: its tool bar and status bar, paging by button,
// key and prompt, progress, enabling of print and printer setup, save, load
// and print of a loaded file, closing.
#include "PlatformError.h"
#include "PreviewFixture.h"
#include "TBRExportFilter.h"
#include "TBRPageList.h"
#include "TBRPreview.h"
#include "TBRPreviewImage.h"
#include "TBRPreviewInterface.h"
#include "TBRStandardPreview.h"
#include "TBRStream.h"
#include "TBRThumbnailPanel.h"
#include "TStatusBar.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QTemporaryDir>
#include <QApplication>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QtEndian>

namespace {

class StandardPreviewTest : public PreviewTest {
protected:
    void TearDown() override
    {
        delete window.data();
        PreviewTest::TearDown();
    }

    // A window showing a finished job of `pages` pages.
    TBRStandardPreview* open(int pages)
    {
        target = newTarget();
        if (pages > 0)
            runJob(*target, pages);
        window = TBRStandardPreview::CreatePreview(qApp, target.get());
        window->show();
        window->UpdatePageStatus();
        return window;
    }
    int shown() const { return window->BRPreview->PreviewImage()->ImagePage(); }
    QString pageLine() const { return window->StatusBar->PanelText(1); }

    std::unique_ptr<TBRPrinter> target;
    QPointer<TBRStandardPreview> window;
    RecordingDialogService dialogs;
    RecordingMessageService messages;
};

TEST_F(StandardPreviewTest, WindowLayout)
{
    TBRStandardPreview w;
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Print Preview"));
    QStringList names, hints;
    for (QAction* a : w.ToolBar1->actions()) {
        names << (a->objectName().isEmpty() ? a->text() : a->objectName());
        hints << a->toolTip();
    }
    EXPECT_EQ(names, QStringList({QStringLiteral("ToolButton1"), QStringLiteral("ZoomFit"), QStringLiteral("Zoom100"), QStringLiteral("ZoomToWidth"), QStringLiteral("Separator1"), QStringLiteral("FirstPage"),
                                  QStringLiteral("PreviousPage"), QStringLiteral("ToolButton2"), QStringLiteral("LastPage"), QStringLiteral("Separator2"), QStringLiteral("ToolButton3"), QStringLiteral("ToolButton4"),
                                  QStringLiteral("PrintSetup"), QStringLiteral("Print"), QStringLiteral("Separator3"), QStringLiteral("SaveReport"), QStringLiteral("LoadReport"), QStringLiteral("Separator5"),
                                  QStringLiteral("Find"), QStringLiteral("Thumbnails"), QStringLiteral("Separator4"), names.last()}));
    EXPECT_EQ(w.ToolBar1->widgetForAction(w.ToolBar1->actions().last()), w.ExitButton);
    EXPECT_EQ(w.ExitButton->text(), QStringLiteral("&Close"));
    EXPECT_EQ(hints.mid(1, 3), QStringList({QStringLiteral("Zoom to fit"), QStringLiteral("100%"), QStringLiteral("Zoom to width")}));
    EXPECT_EQ(hints.mid(5, 4), QStringList({QStringLiteral("First page"), QStringLiteral("Previous page"), QStringLiteral("Next page"), QStringLiteral("Last page")}));
    EXPECT_EQ(w.ToolButton3->toolTip(), QStringLiteral("Go to page"));
    EXPECT_EQ(w.PrintSetup->toolTip(), QStringLiteral("Printer setup"));
    EXPECT_EQ(w.SaveReport->toolTip(), QStringLiteral("Save Report"));
    EXPECT_EQ(w.LoadReport->toolTip(), QStringLiteral("Load Report"));
    EXPECT_TRUE(w.Thumbnails->isCheckable());
    EXPECT_FALSE(w.Thumbnails->isChecked());
    for (QAction* a : {w.ToolButton1, w.Separator1, w.Separator2, w.ToolButton4, w.Separator3, w.Separator5,
                       w.Separator4})
        EXPECT_TRUE(a->isSeparator()) << a->objectName().toStdString();
    EXPECT_TRUE(w.ZoomToWidth->isChecked());
    EXPECT_FALSE(w.PrintSetup->isEnabled());
    EXPECT_TRUE(w.Print->isEnabled());
    ASSERT_EQ(w.StatusBar->PanelCount(), 2);
    EXPECT_EQ(w.StatusBar->PanelText(0), QStringLiteral("0%"));
    EXPECT_EQ(w.StatusBar->PanelText(1), QStringLiteral("Page"));
    EXPECT_EQ(w.BRPreview->Zoom(), 100);
    EXPECT_EQ(w.centralWidget(), w.BRPreview);

    // The zoom buttons are one group.
    w.ZoomFit->trigger();
    EXPECT_TRUE(w.ZoomFit->isChecked());
    EXPECT_FALSE(w.ZoomToWidth->isChecked());
}

TEST_F(StandardPreviewTest, CreatedFromTheReportsSettings)
{
    report.formStyle = 3; // fsStayOnTop
    report.width = 0;
    report.height = 640;
    report.initialState = 2; // wsMaximized
    target = newTarget();
    target->SetJobTitle(QStringLiteral("Pedidos sem contas"));
    runJob(*target, 2);
    window = TBRStandardPreview::CreatePreview(qApp, target.get());
    EXPECT_TRUE(window->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(window->size(), QSize(652, 640)); // no narrower than designed
    EXPECT_TRUE(window->windowState() & Qt::WindowMaximized);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Pedidos sem contas"));
    EXPECT_EQ(window->BRPreview->BRPrinter(), target.get());
    EXPECT_EQ(target->StatusClient(), window->BRPreview);
    EXPECT_EQ(window->LastProgress(), 0);
}

// The listing's report sets no size and opens maximised: restored, the window
// is as designed, in the middle of the screen, every tool button on its bar;
// the progress panel keeps its 40 pixels and the page line takes the rest.
TEST_F(StandardPreviewTest, RestoredFromMaximisedItIsAsDesignedAndCentred)
{
    report.width = 0;
    report.height = 0;
    report.initialState = 2; // wsMaximized
    target = newTarget();
    runJob(*target, 2);
    window = TBRStandardPreview::CreatePreview(qApp, target.get());
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    window->showNormal();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !(window->windowState() & Qt::WindowMaximized); }));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->size() == QSize(652, 579); }))
        << window->width() << "x" << window->height();
    const QRect screen = window->screen()->availableGeometry();
    // Within what the frame's unknown margins make.
    EXPECT_LE((window->frameGeometry().center() - screen.center()).manhattanLength(), 16)
        << window->frameGeometry().x() << "," << window->frameGeometry().y();
    for (QAction* a : window->ToolBar1->actions()) {
        if (QWidget* button = window->ToolBar1->widgetForAction(a)) {
            EXPECT_TRUE(button->isVisible()) << a->objectName().toStdString();
        }
    }
    auto* more = window->ToolBar1->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button"));
    EXPECT_TRUE(!more || !more->isVisible()) << "tools spill into a menu";

    window->UpdatePageStatus();
    // Waits at most until the check below, which reports a timeout.
    static_cast<void>(QTest::qWaitFor([&] { return window->StatusBar->PanelGeometry(0).width() == 40; }));
    EXPECT_EQ(window->StatusBar->PanelGeometry(0).width(), 40);
    const QRect line = window->StatusBar->PanelGeometry(1);
    EXPECT_GE(line.right(), window->StatusBar->width() - 8) << "the page line stops short of the edge";
}

TEST_F(StandardPreviewTest, OpenerShowsTheWindow)
{
    // Registered when the program starts.
    target = newTarget();
    runJob(*target, 4);
    target->OpenPreview();
    window = qobject_cast<TBRStandardPreview*>(target->PreviewWindow());
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(pageLine(), QStringLiteral("Page 1 of 4"));
    delete window.data();

    // Modally: the call returns when the window closes.
    TBRStandardPreviewInterface opener;
    bool wasModal = false;
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        wasModal = qobject_cast<TBRStandardPreview*>(modal) != nullptr;
        if (modal)
            modal->close();
    });
    opener.PresentModal(target.get());
    EXPECT_TRUE(wasModal);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(target->PreviewOpen());
}

TEST_F(StandardPreviewTest, NavigationStopsAtBothEnds)
{
    open(10);
    struct Step {
        void (TBRStandardPreview::*click)();
        int expected;
    };
    const Step steps[] = {{&TBRStandardPreview::PrevPageClick, 1}, {&TBRStandardPreview::NextPageClick, 2},
                          {&TBRStandardPreview::LastPageClick, 10}, {&TBRStandardPreview::NextPageClick, 10},
                          {&TBRStandardPreview::PrevPageClick, 9}, {&TBRStandardPreview::FirstPageClick, 1}};
    for (const Step& s : steps) {
        (window->*s.click)();
        EXPECT_EQ(window->BRPreview->PageNumber(), s.expected);
        EXPECT_EQ(shown(), s.expected);
        EXPECT_EQ(pageLine(), QStringLiteral("Page %1 of 10").arg(s.expected));
    }
    window->GotoPage(4);
    window->GotoPage(0);
    window->GotoPage(11);
    EXPECT_EQ(shown(), 4);
    // The tool buttons run the same handlers.
    window->ToolButton2->trigger();
    EXPECT_EQ(shown(), 5);
}

TEST_F(StandardPreviewTest, GoToPrompt)
{
    open(10);
    struct Case {
        std::optional<QString> answer;
        int expected;
    };
    for (const Case& c : {Case{QStringLiteral("abc"), 1}, Case{QStringLiteral("7x"), 7}, Case{std::nullopt, 1}, Case{QStringLiteral("12"), 1}, Case{QStringLiteral(" 10"), 10},
                          Case{QStringLiteral("-3"), 1}, Case{QStringLiteral("99999999999"), 1}}) {
        window->GotoPage(5);
        if (c.answer)
            dialogs.QueueAnswer(*c.answer);
        else
            dialogs.QueueCancel();
        window->ToolButton3->trigger();
        EXPECT_EQ(shown(), c.expected) << c.answer.value_or(QStringLiteral("(cancelled)")).toStdString();
    }
    const auto& r = dialogs.Requests().constFirst();
    EXPECT_EQ(r.kind, RecordingDialogService::Kind::Input);
    EXPECT_EQ(r.caption, QStringLiteral("Select a page from 1 to 10"));
    EXPECT_EQ(r.prompt, QStringLiteral("Go to page >>"));
    EXPECT_EQ(r.value, QStringLiteral("1"));
}

TEST_F(StandardPreviewTest, Keys)
{
    open(10);
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int expected; // from page 5
    };
    const Case cases[] = {
        {Qt::Key_PageDown, Qt::NoModifier, 6},
        {Qt::Key_PageDown, Qt::ControlModifier, 10},
        {Qt::Key_PageDown, Qt::ShiftModifier, 6},
        {Qt::Key_PageDown, Qt::ControlModifier | Qt::ShiftModifier, 6},
        {Qt::Key_PageUp, Qt::NoModifier, 4},
        {Qt::Key_PageUp, Qt::ControlModifier, 1},
        {Qt::Key_PageUp, Qt::ControlModifier | Qt::AltModifier, 4},
        {Qt::Key_Home, Qt::NoModifier, 1},
        {Qt::Key_End, Qt::ShiftModifier, 10},
        {Qt::Key_Down, Qt::NoModifier, 5},
    };
    for (const Case& c : cases) {
        window->GotoPage(5);
        QTest::keyClick(window, c.key, c.modifiers);
        EXPECT_EQ(shown(), c.expected) << c.key << " " << c.modifiers.toInt();
    }
    // Keys reach the window whatever control has the focus.
    window->GotoPage(5);
    QTest::keyClick(window->BRPreview, Qt::Key_PageDown);
    EXPECT_EQ(shown(), 6);

    QTest::keyClick(window, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(window);
}

TEST_F(StandardPreviewTest, ProgressPanel)
{
    target = newTarget();
    window = TBRStandardPreview::CreatePreview(qApp, target.get());
    target->StartJob();
    struct Step {
        int progress;
        const char* panel;
    };
    // The initial "0%" goes with the 0; steps under five are not shown.
    for (const Step& s : {Step{0, ""}, Step{3, ""}, Step{5, "5%"}, Step{7, "5%"}, Step{12, "12%"}, Step{100, ""}}) {
        target->SetProgress(s.progress);
        QCoreApplication::processEvents();
        EXPECT_EQ(window->StatusBar->PanelText(0), QString::fromUtf8(s.panel)) << s.progress;
    }
    EXPECT_EQ(window->LastProgress(), 100);
}

TEST_F(StandardPreviewTest, PrintAndSetupFollowTheJob)
{
    target = newTarget();
    QList<QObject*> setups;
    target->SetOnPrintSetup([&](QObject* sender) { setups.append(sender); });
    window = TBRStandardPreview::CreatePreview(qApp, target.get());
    window->show();
    target->StartJob();
    report.current = target.get();
    for (int i = 1; i <= 3; ++i) {
        target->NewPage();
        drawPage(*target, i);
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(pageLine(), QStringLiteral("Page 1 of 3"));
    EXPECT_TRUE(window->BRPreview->PreviewImage()->HasImage());
    EXPECT_FALSE(window->PrintSetup->isEnabled());
    // While the report generates, a print click is ignored.
    window->Print->trigger();
    target->FinishJob();
    QCoreApplication::processEvents();
    EXPECT_TRUE(window->PrintSetup->isEnabled());
    EXPECT_TRUE(window->Print->isEnabled());

    window->PrintSetup->trigger();
    EXPECT_EQ(setups, QList<QObject*>({window->PrintSetup}));

    // The report is asked to print when it is not busy.
    EXPECT_TRUE(report.received.isEmpty());
    FakeReport other;
    TBRPrinter printing(&other);
    printing.StartJob();
    report.current = &printing; // a print run of the report
    window->Print->trigger();
    QCoreApplication::processEvents();
    EXPECT_TRUE(report.received.isEmpty());
    report.current = target.get();
    window->Print->trigger();
    QCoreApplication::processEvents();
    ASSERT_EQ(report.received.size(), 1);
    EXPECT_EQ(report.received[0].message, BRM_PRINT);
}

TEST_F(StandardPreviewTest, SaveLoadAndPrintALoadedFile)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("pedidos.BRP"));
    open(3);
    dialogs.QueueAnswer(file);
    window->SaveReport->trigger();
    ASSERT_EQ(dialogs.Requests().size(), 1);
    const auto save = dialogs.Requests()[0];
    EXPECT_EQ(save.kind, RecordingDialogService::Kind::Save);
    EXPECT_EQ(save.caption, QStringLiteral("Save report"));
    EXPECT_EQ(save.filter, QStringLiteral("Report file(*.BRP)|*.BRP"));
    EXPECT_EQ(save.defaultExt, QStringLiteral("BRP"));
    TBRPageList saved;
    saved.OpenFile(file);
    EXPECT_EQ(saved.Count(), 3);
    delete window.data();

    // A fresh window on a fresh target loads it back.
    target = newTarget();
    target->SetOnPrintSetup([](QObject*) {});
    window = TBRStandardPreview::CreatePreview(qApp, target.get());
    window->show();
    window->PrintSetup->setEnabled(true);
    EXPECT_NE(window->BRPreview->PreviewImage()->size(), QSize(798, 1127));
    dialogs.QueueAnswer(file);
    window->LoadReport->trigger();
    const auto load = dialogs.Requests().last();
    EXPECT_EQ(load.kind, RecordingDialogService::Kind::Open);
    EXPECT_EQ(load.caption, QStringLiteral("Load report"));
    EXPECT_EQ(load.filter, QStringLiteral("Report file (*.BRP)|*.BRP"));
    EXPECT_TRUE(messages.Messages().isEmpty());
    EXPECT_EQ(target->PageTotal(), 3);
    EXPECT_TRUE(target->LoadedFromFile());
    EXPECT_EQ(pageLine(), QStringLiteral("Page 1 of 3"));
    EXPECT_TRUE(window->BRPreview->PreviewImage()->HasImage());
    EXPECT_FALSE(window->PrintSetup->isEnabled());
    EXPECT_TRUE(window->Print->isEnabled());
    // The image is laid out again for the file's paper, at the screen's resolution.
    EXPECT_EQ(window->BRPreview->PreviewImage()->size(), QSize(798, 1127));

    // Printing replays the stored pages on the printer, not the report.
    window->Print->trigger();
    EXPECT_TRUE(report.received.isEmpty());
    RecordingPrinterService& printer = rec(*target);
    QStringList doc;
    for (const QString& line : printer.Log)
        if (line.startsWith(QStringLiteral("BeginDoc")) || line == QStringLiteral("NewPage") || line == QStringLiteral("EndDoc") || line == QStringLiteral("Abort"))
            doc << line;
    EXPECT_EQ(doc, QStringList({QStringLiteral("BeginDoc "), QStringLiteral("NewPage"), QStringLiteral("NewPage"), QStringLiteral("EndDoc")}));
    ASSERT_EQ(printer.Pages.size(), 3);
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(printer.Pages[i].pictures.size(), 1);
        EXPECT_TRUE(RecordingPrinterService::PageHasText(printer.Pages[i].pictures[0], QStringLiteral("Page %1").arg(i + 1)));
    }

    // Saving a loaded file copies it byte for byte.
    const QString copy = dir.filePath(QStringLiteral("copia.BRP"));
    dialogs.QueueAnswer(copy);
    window->SaveReport->trigger();
    QFile a(file), b(copy);
    ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    EXPECT_EQ(a.readAll(), b.readAll());
}

TEST_F(StandardPreviewTest, LoadFailures)
{
    QTemporaryDir dir;
    open(2);
    window->LastPageClick();

    // A name that is not a file: a message, nothing else changes.
    for (const QString& name : {dir.filePath(QStringLiteral("nada.BRP")), dir.path()}) {
        dialogs.QueueAnswer(name);
        window->LoadClick();
    }
    ASSERT_EQ(messages.Texts(), QStringList({QStringLiteral("File does not exist"), QStringLiteral("File does not exist")}));
    EXPECT_EQ(target->PageTotal(), 2);
    EXPECT_EQ(shown(), 2);

    // Cancelled: nothing at all.
    dialogs.QueueCancel();
    window->LoadReport->trigger();
    EXPECT_EQ(messages.Messages().size(), 2);

    // A damaged or foreign file: the loader's message, and the pages shown
    // stay as they were, ready to be saved.
    const QString good = dir.filePath(QStringLiteral("good.BRP"));
    target->SaveReportFile(good);
    QFile goodFile(good);
    ASSERT_TRUE(goodFile.open(QIODevice::ReadOnly));
    const QByteArray bytes = goodFile.readAll();
    QByteArray lastPageBroken = bytes;
    TBRPageList list;
    list.OpenFile(good);
    list.LocatePage(2);
    const qint64 page2 = list.Store()->Position();
    lastPageBroken.replace(page2 + 8, 4, "XXXX"); // page 2's picture no longer starts a metafile
    const struct {
        const char* name;
        QByteArray content;
    } damaged[] = {
        {"garbage", QByteArray(60, 'x')},
        {"a PDF named .BRP", QByteArray("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n") + QByteArray(300, ' ')},
        {"cut short in page 2", bytes.left(page2 + 40)},
        {"page 2 not a picture", lastPageBroken},
    };
    for (const auto& d : damaged) {
        SCOPED_TRACE(d.name);
        const QString bad = dir.filePath(QStringLiteral("bad.BRP"));
        {
            QFile f(bad);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(d.content);
        }
        messages.Clear();
        dialogs.QueueAnswer(bad);
        window->LoadReport->trigger();
        ASSERT_EQ(messages.Messages().size(), 1);
        EXPECT_FALSE(messages.Messages().last().text.isEmpty());
        EXPECT_EQ(target->State(), jsFinished);
        EXPECT_EQ(target->PageTotal(), 2);
        EXPECT_FALSE(target->LoadedFromFile());
        EXPECT_EQ(pageLine(), QStringLiteral("Page 2 of 2"));
        EXPECT_TRUE(window->BRPreview->PreviewImage()->HasImage());
        EXPECT_TRUE(window->isVisible());
    }
    const QString again = dir.filePath(QStringLiteral("again.BRP"));
    dialogs.QueueAnswer(again);
    window->SaveReport->trigger();
    QFile againFile(again);
    ASSERT_TRUE(againFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(againFile.readAll(), bytes);
}

TEST_F(StandardPreviewTest, LoadWhileGeneratingIsRefused)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("pedidos.BRP"));
    {
        auto other = newTarget();
        runJob(*other, 2);
        other->SaveReportFile(file);
    }
    target = newTarget();
    window = TBRStandardPreview::CreatePreview(qApp, target.get());
    target->StartJob();
    target->NewPage();
    dialogs.QueueAnswer(file);
    window->LoadClick();
    EXPECT_EQ(target->State(), jsRunning);
    EXPECT_FALSE(target->LoadedFromFile());
    ASSERT_NE(target->PageCanvas(), nullptr);
    target->NewPage();
    target->FinishJob();
    EXPECT_EQ(target->PageTotal(), 2);
}

TEST_F(StandardPreviewTest, SaveThroughAnExportFilter)
{
    open(2);
    QStringList exported;
    target->SetOnExport([&](TBRExportFilter* f) { exported << f->FileName(); });
    auto& library = ExportFilterLibrary();
    library.Filters.append({[](const QString& name) { return std::make_unique<TBRExportFilter>(name); },
                            QStringLiteral("Text"), QStringLiteral("txt")});
    dialogs.QueueAnswer(QStringLiteral("/tmp/out.txt"), 2);
    window->SaveClick();
    dialogs.QueueAnswer(QStringLiteral("/tmp/out.xyz"), 3); // no such entry
    window->SaveClick();
    library.Filters.clear();
    EXPECT_EQ(dialogs.Requests()[0].filter, QStringLiteral("Report file(*.BRP)|*.BRP|Text (*.txt)|*.txt"));
    EXPECT_EQ(exported, QStringList({QStringLiteral("/tmp/out.txt")}));
}

TEST_F(StandardPreviewTest, ClosingTellsTheReport)
{
    target = newTarget();
    window = TBRStandardPreview::CreatePreview(qApp, target.get());
    window->show();
    target->StartJob();
    target->NewPage();
    TBRPrinter* const t = target.get();
    // The report cancels a busy run, else frees the target.
    report.onPreviewClosed = [&](TBRPrinter* closed) {
        EXPECT_EQ(closed, t);
        if (closed->State() == jsRunning)
            closed->RequestCancel();
        else
            target.reset();
    };
    window->ExitButton->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(window);
    ASSERT_EQ(report.received.size(), 1);
    EXPECT_EQ(report.received[0].message, BRM_PREVIEWCLOSED);
    EXPECT_TRUE(target->CancelRequested());
    EXPECT_FALSE(target->PreviewOpen());
    EXPECT_EQ(target->StatusClient(), nullptr);

    // Finished: the report frees the target while the window closes.
    target->AbortJob();
    window = TBRStandardPreview::CreatePreview(qApp, target.get());
    window->show();
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(window);
    EXPECT_FALSE(target);
}

// A damaged page shows what could be drawn and says so: in the status bar while
// it is on screen, under its thumbnail, and as a problem of the print run once
// the job has gone out whole. A whole page says nothing.
TEST_F(StandardPreviewTest, ADamagedPageIsSaidToBeDrawnInPart)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("damaged.BRP"));
    {
        auto recorded = newTarget();
        runJob(*recorded, 2);
        TBRPageList damaged;
        damaged.SetStore(std::make_unique<TBRStream>(100000));
        damaged.AppendPage(*recorded->PageList().FetchPage(1));
        QByteArray second = *recorded->PageList().FetchPage(2);
        qToLittleEndian<quint32>(0, second.data() + second.size() - 16); // the last record's size
        damaged.AppendPage(second);
        damaged.WriteHeader();
        damaged.WriteToFile(file);
    }
    target = newTarget();
    target->LoadReportFile(file);
    ASSERT_EQ(target->PageTotal(), 2);
    window = TBRStandardPreview::CreatePreview(qApp, target.get());
    window->show();
    window->Thumbnails->trigger();
    TBRPreviewImage* image = window->BRPreview->PreviewImage();
    QWidget* strip = window->ThumbnailPanel->widget();

    (void)image->grab();
    (void)strip->grab();
    EXPECT_TRUE(window->PageNote->isHidden());
    EXPECT_FALSE(window->ThumbnailPanel->DrawnInPart(1));
    EXPECT_TRUE(window->ThumbnailPanel->DrawnInPart(2));

    window->BRPreview->SetPageNumber(2);
    (void)image->grab();
    EXPECT_TRUE(window->PageNote->isVisibleTo(window));
    EXPECT_TRUE(window->PageNote->text().startsWith(QStringLiteral("Page 2 is damaged and drawn in part: ")))
        << window->PageNote->text().toStdString();

    window->BRPreview->SetPageNumber(1);
    (void)image->grab();
    EXPECT_TRUE(window->PageNote->isHidden());

    try {
        target->PrintReport();
        ADD_FAILURE() << "a damaged page printed without a word";
    } catch (const PlatformError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Page 2 is damaged and printed in part."));
    }
    EXPECT_EQ(rec(*target).Pages.size(), 2) << "the job goes out whole";
}

} // namespace
