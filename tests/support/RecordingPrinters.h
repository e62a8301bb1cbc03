#pragma once
// Recording printers in place of the system's while it lives: as the
// application's printer and as the printer of every output target made
// meanwhile. The factory asks `printers` each time, so a test may change the
// list before it makes a target. The previous factory is put back after.

#include "PrinterService.h"
#include "RecordingPrinterService.h"

#include <QList>
#include <functional>
#include <memory>

class RecordingPrinters {
public:
    using PrinterList = std::function<QList<RecordedPrinter>()>;

    explicit RecordingPrinters(PrinterList printers = [] { return QList<RecordedPrinter>(); })
        : m_previous(brp::SetPrinterServiceFactory(
              [printers] { return std::make_unique<RecordingPrinterService>(printers()); }))
    {
        brp::SetApplicationPrinter(std::make_unique<RecordingPrinterService>(printers()));
    }
    explicit RecordingPrinters(const QList<RecordedPrinter>& printers)
        : RecordingPrinters(PrinterList([printers] { return printers; }))
    {
    }
    ~RecordingPrinters()
    {
        brp::SetPrinterServiceFactory(m_previous);
        brp::SetApplicationPrinter(nullptr);
    }
    RecordingPrinters(const RecordingPrinters&) = delete;
    RecordingPrinters& operator=(const RecordingPrinters&) = delete;

private:
    PrinterServiceFactory m_previous;
};
