#include "PrintDialogService.h"
#include "InstalledService.h"
#include "QtPrinterService.h"

#include <QAbstractPrintDialog>
#include <QDir>
#include <QEvent>
#include <QMessageBox>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>
#include <cmath>

namespace {
InstalledService<PrintDialogService, QtPrintDialogService> g_service;

void applyMode(QPrinter& printer, const DeviceMode& mode)
{
    if ((mode.dmFields & DM_PAPERSIZE) && mode.dmPaperSize != DMPAPER_USER) {
        const QPageSize::PageSizeId id = QPageSize::id(mode.dmPaperSize);
        if (id != QPageSize::Custom)
            printer.setPageSize(QPageSize(id));
    }
    if (mode.dmFields & DM_ORIENTATION)
        printer.setPageOrientation(mode.dmOrientation == DMORIENT_LANDSCAPE ? QPageLayout::Landscape
                                                                            : QPageLayout::Portrait);
    if (mode.dmFields & DM_COPIES)
        printer.setCopyCount(std::max<int>(1, mode.dmCopies));
    if (mode.dmFields & DM_DUPLEX)
        printer.setDuplex(mode.dmDuplex == DMDUP_VERTICAL     ? QPrinter::DuplexLongSide
                          : mode.dmDuplex == DMDUP_HORIZONTAL ? QPrinter::DuplexShortSide
                                                              : QPrinter::DuplexNone);
    if (mode.dmFields & DM_DEFAULTSOURCE)
        printer.setPaperSource(brp::QtPaperSourceFromBin(mode.dmDefaultSource));
}

DeviceMode readMode(const QPrinter& printer, const DeviceMode& base)
{
    DeviceMode mode = base;
    mode.dmFields |= DM_ORIENTATION | DM_PAPERSIZE | DM_COPIES;
    const QPageLayout layout = printer.pageLayout();
    mode.dmOrientation = layout.orientation() == QPageLayout::Landscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
    const int code = layout.pageSize().windowsId();
    mode.dmPaperSize = static_cast<std::int16_t>(code > 0 ? code : DMPAPER_USER);
    const QSizeF mm = layout.pageSize().size(QPageSize::Millimeter);
    mode.dmPaperWidth = static_cast<std::int16_t>(std::nearbyint(mm.width() * 10));
    mode.dmPaperLength = static_cast<std::int16_t>(std::nearbyint(mm.height() * 10));
    mode.dmCopies = static_cast<std::int16_t>(printer.copyCount());
    if (mode.dmFields & DM_DUPLEX)
        mode.dmDuplex = printer.duplex() == QPrinter::DuplexShortSide ? DMDUP_HORIZONTAL
                        : printer.duplex() == QPrinter::DuplexNone    ? DMDUP_SIMPLEX
                                                                      : DMDUP_VERTICAL;
    return mode;
}

// Runs the hook when the dialog window is first shown.
class DialogHook : public QObject {
public:
    explicit DialogHook(std::function<void(QWidget*)> onInit) : m_onInit(std::move(onInit)) {}
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && !m_done) {
            m_done = true;
            if (m_onInit)
                m_onInit(static_cast<QWidget*>(watched));
        }
        return false;
    }

private:
    std::function<void(QWidget*)> m_onInit;
    bool m_done = false;
};
} // namespace

PrintDialogService& PrintDialogService::Instance()
{
    return g_service.Current();
}

void PrintDialogService::SetInstance(PrintDialogService* service)
{
    g_service.Install(service);
}

PrintDialogService* PrintDialogService::Installed()
{
    return g_service.Installed();
}

bool QtPrintDialogService::Run(PrintDialogData& data)
{
    const QStringList printers = QPrinterInfo::availablePrinterNames();
    if (printers.isEmpty() && !(data.Flags & PD_NOWARNING))
        QMessageBox::warning(data.Owner, QStringLiteral("Print"), QStringLiteral("No printers are installed."));

    QPrinter printer(QPrinter::HighResolution);
    if (!data.Device.isEmpty() && printers.contains(data.Device))
        printer.setPrinterName(data.Device);
    const DeviceMode given = data.DevMode ? *data.DevMode : DeviceMode{};
    if (data.DevMode)
        applyMode(printer, given);
    printer.setCollateCopies(data.Flags & PD_COLLATE);
    const bool fileAllowed = !(data.Flags & (PD_HIDEPRINTTOFILE | PD_DISABLEPRINTTOFILE));
    if (fileAllowed && (data.Flags & PD_PRINTTOFILE))
        printer.setOutputFileName(QDir::home().filePath(QStringLiteral("print.pdf")));

    QPrintDialog dialog(&printer, data.Owner);
    QAbstractPrintDialog::PrintDialogOptions options = QAbstractPrintDialog::PrintCollateCopies |
                                                       QAbstractPrintDialog::PrintShowPageSize;
    if (fileAllowed)
        options |= QAbstractPrintDialog::PrintToFile;
    if (!(data.Flags & PD_NOPAGENUMS))
        options |= QAbstractPrintDialog::PrintPageRange;
    if (!(data.Flags & PD_NOSELECTION))
        options |= QAbstractPrintDialog::PrintSelection;
    dialog.setOptions(options);
    if (data.MinPage <= data.MaxPage && data.MaxPage > 0)
        dialog.setMinMax(data.MinPage, data.MaxPage);
    if (data.FromPage > 0 && data.FromPage <= data.ToPage)
        printer.setFromTo(data.FromPage, data.ToPage);
    if ((data.Flags & PD_SELECTION) && !(data.Flags & PD_NOSELECTION))
        dialog.setPrintRange(QAbstractPrintDialog::Selection);
    else if ((data.Flags & PD_PAGENUMS) && !(data.Flags & PD_NOPAGENUMS))
        dialog.setPrintRange(QAbstractPrintDialog::PageRange);
    else
        dialog.setPrintRange(QAbstractPrintDialog::AllPages);

    DialogHook hook(data.OnInitDialog);
    dialog.installEventFilter(&hook);
    const bool confirmed = dialog.exec() == QDialog::Accepted;
    if (data.OnDestroyDialog)
        data.OnDestroyDialog();
    if (!confirmed)
        return false;

    std::uint32_t flags = data.Flags & ~(PD_SELECTION | PD_PAGENUMS | PD_COLLATE | PD_PRINTTOFILE);
    if (dialog.printRange() == QAbstractPrintDialog::Selection)
        flags |= PD_SELECTION;
    else if (dialog.printRange() == QAbstractPrintDialog::PageRange)
        flags |= PD_PAGENUMS;
    if (printer.collateCopies())
        flags |= PD_COLLATE;
    if (!printer.outputFileName().isEmpty())
        flags |= PD_PRINTTOFILE;
    data.Flags = flags;
    data.FromPage = static_cast<std::uint16_t>(std::clamp(printer.fromPage(), 0, 0xFFFF));
    data.ToPage = static_cast<std::uint16_t>(std::clamp(printer.toPage(), 0, 0xFFFF));
    // Qt keeps the count with the job settings, as a driver that makes its
    // own copies does: the count travels in the device mode.
    data.Copies = 1;
    if (!printer.printerName().isEmpty()) {
        const QPrinterInfo info(printer);
        data.Device = printer.printerName();
        data.Driver = info.makeAndModel();
        data.Port = info.location();
    }
    data.DevMode = std::make_shared<DeviceMode>(readMode(printer, given));
    return true;
}
