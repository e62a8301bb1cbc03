#pragma once
// The printer service over Qt print support (CUPS queues on this platform).

#include "PrinterService.h"
#include <QPrinter>
#include <memory>

class QPainter;
class PainterCanvas;

class QtPrinterService : public PrinterService {
public:
    QtPrinterService();
    ~QtPrinterService() override;

    QStringList Printers() const override;
    int PrinterIndex() const override { return m_index; }
    void SetPrinterIndex(int index) override;
    void GetPrinter(QString& device, QString& driver, QString& port, DeviceModeHandle& mode) override;
    void SetPrinter(const QString& device, const QString& driver, const QString& port,
                    const DeviceModeHandle& mode) override;
    QString DriverPath(const QString& device) const override;
    QList<int> PaperCodes(const QString& device, const QString& port, const DeviceMode* mode) const override;
    int LogPixelsX() const override;
    int LogPixelsY() const override;
    int PhysicalWidth() const override;
    int PhysicalHeight() const override;
    int PhysicalOffsetX() const override;
    int PhysicalOffsetY() const override;
    int PageWidth() const override;
    int PageHeight() const override;
    QString Title() const override { return m_title; }
    void SetTitle(const QString& title) override { m_title = title; }
    bool Printing() const override;
    void BeginDoc() override;
    void NewPage() override;
    void EndDoc() override;
    void Abort() override;
    TCanvas* Canvas() override;

    QPrinter& Device() { return m_printer; }

private:
    void SelectDevice(int index);
    void ApplyDefaults();
    void ApplyMode(const DeviceMode& mode);
    DeviceMode ReadMode() const;
    void EndPainting();

    QPrinter m_printer{QPrinter::HighResolution};
    std::unique_ptr<QPainter> m_painter;
    std::unique_ptr<PainterCanvas> m_canvas;
    QStringList m_names;
    int m_index = -1;
    QString m_title;
};

namespace brp {

// Paper source of the device mode and Qt's, both ways.
QPrinter::PaperSource QtPaperSourceFromBin(int bin);
int BinFromQtPaperSource(QPrinter::PaperSource source);

} // namespace brp
