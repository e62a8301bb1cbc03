// The run's progress window and print set-up dialog are this library's
// windows; the report model below only knows the hooks it calls.
#include "BRRunWindowsRegistration.h"

#include "BRRunWindows.h"
#include "DeviceMode.h"
#include "PageFileAtHardExit.h"
#include "PrintError.h"
#include "PrinterService.h"
#include "TBRPrintDialog.h"
#include "TBRPrinter.h"
#include "TBRProgressForm.h"

#include <QApplication>

namespace {

QObject* CreateProgressWindow(TBRPrinter* target, bool show)
{
    auto* form = new TBRProgressForm();
    form->SetBRPrinter(target);
    // An export's pages may spill to a file too.
    RemovePageFileAtHardExit(form, target);
    if (show)
        form->show();
    return form;
}

bool RunPrintSetupDialog(BRPrintSetupData& data)
{
    TBRPrintDialog dialog(qApp);
    PrinterService& printer = dialog.Printer();
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

void RegisterRunWindows()
{
    SetProgressWindowFactory(CreateProgressWindow);
    SetPrintSetupRunner(RunPrintSetupDialog);
}
