#pragma once
// What the output target and its printer settings need from the report that
// created them. The report model implements it.

#include <QObject>
#include <functional>

struct DeviceMode;

// Sender, Cancel (in-out) and the device-mode record, which a handler may edit.
using TBRPrinterEvent = std::function<void(QObject* sender, bool& cancel, DeviceMode* devMode)>;

class BRPrintHost {
public:
    virtual ~BRPrintHost() = default;
    BRPrintHost() = default;
    BRPrintHost(const BRPrintHost&) = delete;
    BRPrintHost& operator=(const BRPrintHost&) = delete;
    // Empty when not set or while the report is being designed.
    virtual TBRPrinterEvent OnGetPrinterSettings() const = 0;
    virtual TBRPrinterEvent OnApplyPrinterSettings() const = 0;
    // The report's UseStandardprinter setting.
    virtual bool UseStandardprinter() const = 0;
};
