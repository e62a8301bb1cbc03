#pragma once
// The output target's printer-side settings: the selected device and its
// device mode, what the printer offers, and the effective paper, orientation,
// bin, copies and duplex, written into the device mode before a job.

#include "DeviceMode.h"
#include "TBRBin.h"
#include "TBRPaperSize.h"
#include "TPrinterOrientation.h"
#include <QObject>
#include <QString>
#include <array>

class PrinterService;
class BRPrintHost;

class TPrinterSettings : public QObject {
    Q_OBJECT
public:
    // The owner becomes OwnerReport when it is a report.
    explicit TPrinterSettings(QObject* owner = nullptr);
    ~TPrinterSettings() override;

    void AttachPrinter(PrinterService* printer);
    void ReadFromPrinter();
    void ApplyToPrinter();
    bool FieldSupported(std::uint32_t mask) const;
    void MarkField(std::uint32_t mask);

    // Rule-bound setters: the value is not taken when the printer does not
    // declare the field (or, for paper, does not offer the size).
    int Copies() const { return m_copies; }
    void SetCopies(int copies);
    TPrinterOrientation Orientation() const { return m_orientation; }
    void SetOrientation(TPrinterOrientation orientation);
    bool Duplex() const { return m_duplex; }
    void SetDuplex(bool duplex);
    TBRBin OutputBin() const { return m_outputBin; }
    void SetOutputBin(TBRBin bin);
    TBRPaperSize PaperSize() const { return m_paperSize; }
    void SetPaperSize(TBRPaperSize size);

    // Sheet size in native units: the table's for named sizes, else the stored one.
    int PaperWidth() const;
    int PaperLength() const;
    void SetPaperWidth(int width) { m_paperWidth = width; }
    void SetPaperLength(int length) { m_paperLength = length; }

    int ExtendedDuplex() const { return m_extendedDuplex; }
    void SetExtendedDuplex(int v) { m_extendedDuplex = v; }
    bool PrintMetaFile() const { return m_printMetaFile; }
    void SetPrintMetaFile(bool v) { m_printMetaFile = v; }
    bool UseStandardprinter() const { return m_useStandardprinter; }
    void SetUseStandardprinter(bool v) { m_useStandardprinter = v; }
    bool UseCustomBinCode() const { return m_useCustomBinCode; }
    void SetUseCustomBinCode(bool v) { m_useCustomBinCode = v; }
    int CustomBinCode() const { return m_customBinCode; }
    void SetCustomBinCode(int v) { m_customBinCode = v; }
    bool UseCustomPaperCode() const { return m_useCustomPaperCode; }
    void SetUseCustomPaperCode(bool v) { m_useCustomPaperCode = v; }
    int CustomPaperCode() const { return m_customPaperCode; }
    void SetCustomPaperCode(int v) { m_customPaperCode = v; }

    bool PaperSizeSupported(TBRPaperSize size) const;
    int PixelsPerInchX() const { return m_pixelsPerInchX; }
    int PixelsPerInchY() const { return m_pixelsPerInchY; }
    int PrintableTop() const { return m_printableTop; }
    int PrintableLeft() const { return m_printableLeft; }

    const QString& Device() const { return m_device; }
    const QString& Driver() const { return m_driver; }
    const QString& Port() const { return m_port; }
    // The device-mode record last read or applied (none before).
    const DeviceMode* DevMode() const { return m_devMode.get(); }
    PrinterService* Printer() const { return m_printer; }
    BRPrintHost* OwnerReport() const { return m_ownerReport; }

private:
    QString m_device;
    QString m_driver;
    QString m_port;
    DeviceModeHandle m_devMode;
    int m_copies = 0;
    bool m_duplex = false;
    bool m_printMetaFile = false;
    bool m_useStandardprinter = false;
    int m_extendedDuplex = 0;
    bool m_useCustomBinCode = false;
    int m_customBinCode = 0;
    bool m_useCustomPaperCode = false;
    int m_customPaperCode = 0;
    TPrinterOrientation m_orientation = poPortrait;
    TBRBin m_outputBin = TBRBin::First;
    TBRPaperSize m_paperSize = TBRPaperSize::A4;
    std::array<bool, BRPaperSizeCount> m_paperSizeSupported{}; // index 0 unused
    int m_paperWidth = 0;
    int m_paperLength = 0;
    int m_pixelsPerInchX = 0;
    int m_pixelsPerInchY = 0;
    int m_printableTop = 0;
    int m_printableLeft = 0;
    PrinterService* m_printer = nullptr;
    BRPrintHost* m_ownerReport = nullptr;
};
