#include "TBRBasePrintDialog.h"

#include "PrinterService.h"

namespace {
constexpr int kNameBuffer = 80; // characters, the terminating zero included
}

TBRBasePrintDialog::TBRBasePrintDialog(QObject* owner) : TBRCommonDialog(owner), m_printer(&brp::ApplicationPrinter()) {}

void TBRBasePrintDialog::SetNames(const QString& device, const QString& driver, const QString& port)
{
    m_device = device.left(kNameBuffer - 1);
    m_driver = driver.left(kNameBuffer - 1);
    m_port = port.left(kNameBuffer - 1);
}
