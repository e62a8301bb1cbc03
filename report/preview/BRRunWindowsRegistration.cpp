// The run's progress window and print set-up dialog are this library's
// windows; the report model below only knows the hooks it calls.
#include "BRRunWindowsRegistration.h"

#include "BRRunWindows.h"
#include "DeviceMode.h"
#include "MessageService.h"
#include "NoPrinterMessage.h"
#include "PrintError.h"
#include "PrinterService.h"
#include "TBRPrintDialog.h"
#include "TBRPrinter.h"
#include "TBRProgressForm.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <QWindow>

namespace {

// Ends a wait once the window system shows the window.
class ExposeWatch : public QObject {
public:
    explicit ExposeWatch(QEventLoop* loop) : m_loop(loop) {}
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed())
            m_loop->quit();
        return false; // the window still paints itself on it
    }

private:
    QEventLoop* m_loop;
};

// The run that follows may handle no message for a while (the printer
// starting its job, a page going to the spooler): the window is drawn before
// it starts, not left blank until the run ends. It waits for the window
// system to show it, a second at most, taking no input meanwhile.
void ShowDrawn(QWidget* form)
{
    form->show();
    QWindow* window = form->windowHandle();
    if (window && !window->isExposed()) {
        QEventLoop loop;
        ExposeWatch watch(&loop);
        window->installEventFilter(&watch);
        QTimer::singleShot(1000, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
        window->removeEventFilter(&watch);
    }
    form->repaint();
}

QObject* CreateProgressWindow(TBRPrinter* target, bool show)
{
    auto* form = new TBRProgressForm();
    form->SetBRPrinter(target);
    if (show)
        ShowDrawn(form);
    return form;
}

bool RunPrintSetupDialog(BRPrintSetupData& data)
{
    TBRPrintDialog dialog(qApp);
    PrinterService& printer = dialog.Printer();
    if (printer.Printers().isEmpty()) {
        MessageService::Instance().Show(QStringLiteral("Printer setup"), brp::NoPrinterMessage(), QMessageBox::Warning);
        return false;
    }
    // The current device with its default settings, then the report's printer.
    printer.ReloadDeviceMode();
    try {
        printer.SetPrinterIndex(data.PrinterIndex);
    } catch (const PrintError&) {
        printer.SetPrinterIndex(-1);
    }
    QString device, driver, port;
    DeviceModeHandle mode;
    printer.GetPrinter(device, driver, port, mode);
    if (mode) {
        mode->dmOrientation = data.Orientation == poLandscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
        printer.SetPrinter(device, driver, port, mode);
    }
    dialog.SetMinPage(data.MinPage);
    dialog.SetMaxPage(data.MaxPage);
    dialog.SetFromPage(data.FromPage);
    dialog.SetToPage(data.ToPage);
    TPrintDialogOptions options;
    if (data.PageNumsOption)
        options |= poPageNums;
    if (data.WarningOption)
        options |= poWarning;
    dialog.SetOptions(options);
    dialog.SetCopies(data.Copies);
    if (!dialog.Execute())
        return false;
    data.Copies = dialog.Copies();
    data.PrinterIndex = printer.PrinterIndex();
    printer.GetPrinter(device, driver, port, mode);
    if (mode)
        data.Orientation = mode->dmOrientation == DMORIENT_LANDSCAPE ? poLandscape : poPortrait;
    data.PrintRange = BRPrintSetupData::Range(dialog.PrintRange());
    data.FromPage = dialog.FromPage();
    data.ToPage = dialog.ToPage();
    return true;
}

} // namespace

namespace brp {

void RegisterRunWindows()
{
    SetProgressWindowFactory(CreateProgressWindow);
    SetPrintSetupRunner(RunPrintSetupDialog);
}

} // namespace brp
