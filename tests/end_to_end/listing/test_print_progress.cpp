// The listing printed from its preview with a window manager: the progress
// window is drawn before the run gives the printer its first page (the run
// may not handle messages for a while then: a printer starting its job, a
// page being spooled), and its "Cancel", clicked while the run prints, stops
// the job: nothing goes to the printer. The printer is the recording double,
// so that the test sees the job from the inside; the window, the clicks and
// the drawing are real.
#include "DemoDatabaseFolder.h"
#include "PrinterService.h"
#include "RecordingMessageService.h"
#include "RecordingPrinterService.h"
#include "TBRPrinter.h"
#include "TBRProgressForm.h"
#include "TBRStandardPreview.h"
#include "TBandReport.h"
#include "TempFirebird.h"
#include "UPrincipal.h"

#include <gtest/gtest.h>

#ifdef BRP_HAVE_XTEST
#include "RealDesktop.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QPushButton>
#include <QTimer>

namespace {

TBRProgressForm* shownProgressWindow()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* form = qobject_cast<TBRProgressForm*>(w); form && form->isVisible())
            return form;
    return nullptr;
}

} // namespace

class PrintProgressTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!RealDesktop::UnavailableReason().isEmpty())
            return;
        dir = new TempFirebirdDir;
        DemoDatabase::Options o;
        o.orders = 3000; // a listing of several pages
        brp::CreateDemoDatabase(*dir, o);
    }
    static void TearDownTestSuite()
    {
        delete dir;
        dir = nullptr;
    }
    void SetUp() override
    {
        const QString reason = RealDesktop::StartFor(desktop);
        if (!reason.isEmpty())
            GTEST_SKIP() << reason.toStdString();
        const QList<RecordedPrinter> printers{RecordedPrinter::Laser()};
        m_previous = brp::SetPrinterServiceFactory([this, printers] {
            auto printer = std::make_unique<RecordingPrinterService>(printers);
            printer->OnCall = [this](const QString& call) { onPrinterCall(call); };
            return printer;
        });
        brp::SetApplicationPrinter(std::make_unique<RecordingPrinterService>(printers));
    }
    void TearDown() override
    {
        if (!desktop)
            return;
        brp::SetPrinterServiceFactory(m_previous);
        brp::SetApplicationPrinter(nullptr);
        desktop.reset();
    }

    // The printer is told to start its job: by then the progress window must
    // be on screen, drawn. Messages are not handled here, so it cannot be
    // drawn while this waits. Then "Cancel" is clicked, as the operator would.
    void onPrinterCall(const QString& call)
    {
        calls << call;
        if (!call.startsWith(QStringLiteral("BeginDoc")))
            return;
        TBRProgressForm* form = shownProgressWindow();
        if (!form)
            return;
        const QDeadlineTimer deadline(3000);
        do
            colours = desktop->Colours(form->winId());
        while (colours < 3 && !deadline.hasExpired());
        desktop->ClickIn(form->winId(), form->CancelButton->geometry().center());
    }

    static TempFirebirdDir* dir;
    std::unique_ptr<RealDesktop> desktop;
    QStringList calls;
    int colours = -1;

private:
    PrinterServiceFactory m_previous;
};

TempFirebirdDir* PrintProgressTest::dir = nullptr;

TEST_F(PrintProgressTest, TheWindowIsDrawnBeforeThePrinterStartsAndCancelStopsTheJob)
{
    std::unique_ptr<TFPrincipal> janela;
    {
        RecordingMessageService inicio;
        janela = std::make_unique<TFPrincipal>();
    }
    RecordingMessageService mensagens;
    janela->show();
    bool impresso = false, pedido = false;
    int paginas = 0;
    janela->BRRelatorio->AfterPrint = [&](QObject*) { impresso = true; };
    QTimer observador;
    observador.setInterval(20);
    QObject::connect(&observador, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* previa = qobject_cast<TBRStandardPreview*>(w);
            if (!previa || !previa->isVisible() || !previa->BRPrinter())
                continue;
            if (!pedido && previa->BRPrinter()->State() == jsFinished) {
                pedido = true;
                paginas = previa->BRPrinter()->PageTotal();
                previa->PrintClick();
            } else if (pedido && janela->BRRelatorio->Available() && !shownProgressWindow() &&
                       (calls.contains(QStringLiteral("Abort")) || calls.contains(QStringLiteral("EndDoc")))) {
                previa->ExitClick();
            }
        }
    });
    observador.start();
    QTimer vigia; // a hang fails the test instead of stopping it
    vigia.setSingleShot(true);
    QObject::connect(&vigia, &QTimer::timeout, [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* previa = qobject_cast<TBRStandardPreview*>(w))
                previa->ExitClick();
    });
    vigia.start(120000);
    janela->BtImp->click();

    ASSERT_GT(paginas, 2) << "the listing should have a few pages";
    ASSERT_FALSE(calls.filter(QStringLiteral("BeginDoc")).isEmpty()) << "the print run never reached the printer";
    EXPECT_GE(colours, 3) << "the progress window was not drawn when the printer started its job";
    EXPECT_TRUE(calls.contains(QStringLiteral("Abort"))) << calls.join(u' ').toStdString();
    EXPECT_FALSE(calls.contains(QStringLiteral("EndDoc"))) << "the cancelled job went to the printer";
    EXPECT_FALSE(impresso);
}

#else
TEST(PrintProgressTest, TheWindowIsDrawnBeforeThePrinterStartsAndCancelStopsTheJob)
{
    GTEST_SKIP() << "built without X11 and XTEST (Debian package libxtst-dev)";
}
#endif
