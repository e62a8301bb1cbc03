#include "PrinterService.h"
#include "QtPrinterService.h"

namespace {
PrinterServiceFactory& factorySlot()
{
    static PrinterServiceFactory factory = [] { return std::make_unique<QtPrinterService>(); };
    return factory;
}

std::unique_ptr<PrinterService>& applicationSlot()
{
    static std::unique_ptr<PrinterService> printer;
    return printer;
}
} // namespace

PrinterService::~PrinterService() = default;

void PrinterService::NoDevice(QString& device, QString& driver, QString& port, DeviceModeHandle& mode)
{
    device.clear();
    driver.clear();
    port.clear();
    mode.reset();
}

void PrinterService::ReloadDeviceMode()
{
    QString device, driver, port;
    DeviceModeHandle mode;
    GetPrinter(device, driver, port, mode);
    SetPrinter(device, driver, port, nullptr);
}

namespace brp {

PrinterService& ApplicationPrinter()
{
    auto& slot = applicationSlot();
    if (!slot)
        slot = CreatePrinterService();
    return *slot;
}

void SetApplicationPrinter(std::unique_ptr<PrinterService> printer)
{
    applicationSlot() = std::move(printer);
}

std::unique_ptr<PrinterService> CreatePrinterService()
{
    return factorySlot()();
}

PrinterServiceFactory SetPrinterServiceFactory(PrinterServiceFactory factory)
{
    PrinterServiceFactory previous = std::move(factorySlot());
    factorySlot() = std::move(factory);
    return previous;
}

} // namespace brp
