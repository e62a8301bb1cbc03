#pragma once
// The printer a job goes to: printer list and selection, device / driver /
// port and the device-mode record, the device's resolution and physical page,
// its papers, and the document: begin, new page, end, abort, page canvas.

#include "DeviceMode.h"
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class TCanvas;

class PrinterService {
public:
    virtual ~PrinterService();
    PrinterService() = default;
    PrinterService(const PrinterService&) = delete;
    PrinterService& operator=(const PrinterService&) = delete;

    virtual QStringList Printers() const = 0;
    // -1 selects the default printer; the index read back is the real one
    // (or -1 when there is no printer). Throws PrintError out of range.
    virtual int PrinterIndex() const = 0;
    virtual void SetPrinterIndex(int index) = 0;

    // Device name, driver, port and a copy of the current device mode (none
    // without a printer).
    virtual void GetPrinter(QString& device, QString& driver, QString& port, DeviceModeHandle& mode) = 0;
    // Selects the named device and takes the mode (none: its defaults).
    virtual void SetPrinter(const QString& device, const QString& driver, const QString& port,
                            const DeviceModeHandle& mode) = 0;

    // Spooler queries: path of the device's driver file, and the paper codes
    // it offers for the given mode.
    virtual QString DriverPath(const QString& device) const = 0;
    virtual QList<int> PaperCodes(const QString& device, const QString& port, const DeviceMode* mode) const = 0;

    // Device capabilities of the selected printer, in dots.
    virtual int LogPixelsX() const = 0;
    virtual int LogPixelsY() const = 0;
    virtual int PhysicalWidth() const = 0;
    virtual int PhysicalHeight() const = 0;
    virtual int PhysicalOffsetX() const = 0;
    virtual int PhysicalOffsetY() const = 0;
    // Printable area in dots.
    virtual int PageWidth() const = 0;
    virtual int PageHeight() const = 0;

    virtual QString Title() const = 0;
    virtual void SetTitle(const QString& title) = 0;
    virtual bool Printing() const = 0;
    // Document: errors throw PrintError and leave no job open.
    virtual void BeginDoc() = 0;
    virtual void NewPage() = 0;
    virtual void EndDoc() = 0;
    virtual void Abort() = 0;
    // Canvas of the current page while printing, origin at the printable area.
    virtual TCanvas* Canvas() = 0;

    // Re-reads the default device mode of the selected device.
    void ReloadDeviceMode();

protected:
    // What GetPrinter answers while no device is selected.
    static void NoDevice(QString& device, QString& driver, QString& port, DeviceModeHandle& mode);
};

// Makes the printer objects that CreatePrinterService and ApplicationPrinter
// hand out.
using PrinterServiceFactory = std::function<std::unique_ptr<PrinterService>()>;

namespace brp {

// The application-wide printer, created on first use by the factory.
PrinterService& ApplicationPrinter();
// Replaces it (tests); none recreates it on next use.
void SetApplicationPrinter(std::unique_ptr<PrinterService> printer);

// A new private printer object.
std::unique_ptr<PrinterService> CreatePrinterService();
// The factory behind CreatePrinterService and ApplicationPrinter; by default
// the Qt printer over CUPS. Returns the previous factory.
PrinterServiceFactory SetPrinterServiceFactory(PrinterServiceFactory factory);

} // namespace brp
