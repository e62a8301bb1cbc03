#pragma once
// A printer service for tests: printers with fixed capabilities, every call
// written to a log, every printed page kept as the metafile it drew.

#include "PrinterService.h"
#include <QByteArray>
#include <functional>
#include <memory>

#include "TGraphics.h"

class TMetafileCanvas;

struct RecordedPrinter {
    QString name;
    QString driverPath;
    QString port;
    QList<int> paperCodes;
    int dpiX = 600;
    int dpiY = 600;
    // Physical sheet and unprintable offsets in dots; the printable area is
    // centred (offset on each side).
    int physicalWidth = 4960;
    int physicalHeight = 7016;
    int offsetX = 100;
    int offsetY = 100;
    DeviceMode defaults;

    // An A4 600-dpi laser with the usual papers and every field declared.
    static RecordedPrinter Laser(const QString& name = QStringLiteral("Laser"));
};

class RecordingPrinterService : public PrinterService {
public:
    explicit RecordingPrinterService(QList<RecordedPrinter> printers = {}, int defaultIndex = 0);
    ~RecordingPrinterService() override;

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
    bool Printing() const override { return m_printing; }
    void BeginDoc() override;
    void NewPage() override;
    void EndDoc() override;
    void Abort() override;
    TCanvas* Canvas() override;

    // The current device mode of the selected printer (what a job would use).
    DeviceMode CurrentMode() const;
    RecordedPrinter& Printer(int index) { return m_printers[index]; }

    // "BeginDoc <title>", "NewPage", "EndDoc", "Abort", "SetPrinter <device>".
    QStringList Log;
    // Pages of finished or aborted jobs, in order: what was drawn, and the
    // pictures stretched onto the page (kept as given, not re-recorded).
    struct PrintedPage {
        QByteArray emf;
        QList<QByteArray> pictures;
        QList<TRect> pictureRects;
    };
    QList<PrintedPage> Pages;
    // Device mode in force when the last job began.
    DeviceMode JobMode;
    // When set, BeginDoc fails with this text.
    QString FailBeginDoc;
    // Called with each job entry of Log as it is written, while the job runs.
    std::function<void(const QString& call)> OnCall;

    // Whether a recorded page draws this text.
    static bool PageHasText(const QByteArray& emf, const QString& text);

private:
    void ClosePage();
    void RefuseWhilePrinting() const;

    QList<RecordedPrinter> m_printers;
    QList<DeviceMode> m_modes;
    int m_index = -1;
    QString m_title;
    bool m_printing = false;
    class PageCanvas;
    std::unique_ptr<PageCanvas> m_canvas;
    PrintedPage m_page;
};
