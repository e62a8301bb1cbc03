#include "TBRPrintDialog.h"

#include "PrintDialogService.h"
#include "PrinterService.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

TBRPrintDialog::TBRPrintDialog(QObject* owner) : TBRBasePrintDialog(owner) {}

std::uint32_t TBRPrintDialog::DialogFlags() const
{
    std::uint32_t flags = m_printRange == prSelection  ? PD_SELECTION
                          : m_printRange == prPageNums ? PD_PAGENUMS
                                                       : PD_ALLPAGES;
    flags |= PD_ENABLEPRINTHOOK | PD_ENABLESETUPHOOK;
    if (m_collate)
        flags |= PD_COLLATE;
    if (!m_options.testFlag(poPrintToFile))
        flags |= PD_HIDEPRINTTOFILE;
    if (!m_options.testFlag(poPageNums))
        flags |= PD_NOPAGENUMS;
    if (!m_options.testFlag(poSelection))
        flags |= PD_NOSELECTION;
    if (m_options.testFlag(poDisablePrintToFile))
        flags |= PD_DISABLEPRINTTOFILE;
    if (m_printToFile)
        flags |= PD_PRINTTOFILE;
    if (m_options.testFlag(poHelp))
        flags |= PD_SHOWHELP;
    if (!m_options.testFlag(poWarning))
        flags |= PD_NOWARNING;
    return flags;
}

void TBRPrintDialog::PlaceWindow(QWidget* window) const
{
    // Centred across, a third of the way down.
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen || !window)
        return;
    const QSize s = screen->size();
    window->move((s.width() - window->width()) / 2, (s.height() - window->height()) / 3);
}

int TBRPrintDialog::PrinterCopies()
{
    QString device, driver, port;
    DeviceModeHandle mode;
    Printer().GetPrinter(device, driver, port, mode);
    return mode ? mode->dmCopies : m_copies;
}

void TBRPrintDialog::SetCopies(int v)
{
    m_copies = v;
    QString device, driver, port;
    DeviceModeHandle mode;
    Printer().GetPrinter(device, driver, port, mode);
    if (!mode)
        return;
    mode->dmCopies = static_cast<std::int16_t>(v);
    Printer().SetPrinter(device, driver, port, mode);
}

bool TBRPrintDialog::Execute()
{
    PrintDialogData data;
    QString device, driver, port;
    DeviceModeHandle mode;
    Printer().GetPrinter(device, driver, port, mode);
    SetNames(device, driver, port);
    if (mode) {
        data.Device = DeviceName();
        data.Driver = DriverName();
        data.Port = PortName();
        // The dialog works on its own copy of the mode.
        data.DevMode = std::make_shared<DeviceMode>(*mode);
    }
    data.Flags = DialogFlags();
    data.FromPage = static_cast<std::uint16_t>(m_fromPage);
    data.ToPage = static_cast<std::uint16_t>(m_toPage);
    data.MinPage = static_cast<std::uint16_t>(m_minPage);
    data.MaxPage = static_cast<std::uint16_t>(m_maxPage);
    data.Copies = 0; // the mode carries the printer's copies
    data.Owner = nullptr; // the application's own (hidden) window
    data.OnInitDialog = [this](QWidget* window) {
        PlaceWindow(window);
        WindowInitialized(window);
    };
    data.OnDestroyDialog = [this] { WindowDestroyed(); };

    const bool confirmed = TaskModalDialog([&] { return PrintDialogService::Instance().Run(data); });
    if (!confirmed)
        return false;

    // The device comes from the dialog; driver and port stay those read above.
    if (!data.Device.isEmpty())
        Printer().SetPrinter(data.Device, DriverName(), PortName(), data.DevMode);
    m_collate = data.Flags & PD_COLLATE;
    m_printToFile = data.Flags & PD_PRINTTOFILE;
    m_printRange = (data.Flags & PD_SELECTION) ? prSelection : (data.Flags & PD_PAGENUMS) ? prPageNums : prAllPages;
    m_fromPage = data.FromPage;
    m_toPage = data.ToPage;
    // 1 means the driver keeps the count in its mode.
    SetCopies(data.Copies == 1 ? PrinterCopies() : data.Copies);
    return true;
}
