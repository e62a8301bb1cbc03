#pragma once
// A wrapped dialog that works on the application-wide printer and remembers
// the names of the printer it last read from it.

#include "TBRCommonDialog.h"

#include <QString>

class PrinterService;

class TBRBasePrintDialog : public TBRCommonDialog {
    Q_OBJECT
public:
    explicit TBRBasePrintDialog(QObject* owner = nullptr);

    // The application-wide printer, taken at creation; not owned.
    PrinterService& Printer() const { return *m_printer; }

    const QString& DeviceName() const { return m_device; }
    const QString& DriverName() const { return m_driver; }
    const QString& PortName() const { return m_port; }

protected:
    // Names are kept as the platform's 80-character buffers hold them.
    void SetNames(const QString& device, const QString& driver, const QString& port);

private:
    PrinterService* m_printer;
    QString m_device;
    QString m_driver;
    QString m_port;
};
