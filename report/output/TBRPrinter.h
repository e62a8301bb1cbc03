#pragma once
// The output target of one report run: recorded pages for the preview, or the
// printer directly. Converts native lengths to device units for the
// printables, and later hands pages to the preview, prints, saves and loads them.

#include "TBRBin.h"
#include "TBRPaperSize.h"
#include "TPrinterOrientation.h"
#include <QObject>
#include <QByteArray>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <utility>

class BRPrintHost;
class PrinterService;
class QWidget;
class TBRExportFilter;
class TBRPageList;
class TBRStream;
class TCanvas;
class TMetafile;
class TMetafileCanvas;
class TPrinterSettings;

enum TBRDestination { qdPreview = 0, qdPrinter = 1 };
enum TBRJobState { jsIdle = 0, jsRunning = 1, jsFinished = 2 };

using TBRNotifyEvent = std::function<void(QObject* sender)>;
using TBRAfterPrintEvent = TBRNotifyEvent;
using TBRAfterPreviewEvent = TBRNotifyEvent;
using TBRExportEvent = std::function<void(TBRExportFilter* filter)>;

// A status client that shows a target (the preview control) and must let go
// of it when the target is freed.
class BRPrinterClient {
public:
    virtual ~BRPrinterClient() = default;
    virtual void DetachPrinter(class TBRPrinter* printer) = 0;
};

class TBRPrinter : public QObject {
    Q_OBJECT
public:
    // The owner is normally the report (a BRPrintHost); any other owner gives
    // a target without OwnerReport.
    explicit TBRPrinter(QObject* owner = nullptr);
    ~TBRPrinter() override;

    // Job, in this order: StartJob, NewPage before each page, FinishJob or AbortJob.
    void StartJob();
    void NewPage();
    void FinishJob();
    void AbortJob();
    void ResetJob();
    void RequestCancel() { m_job.CancelRequested = true; }
    void SetProgress(int value);

    // Native units to device units of the current destination.
    int DeviceX(long double x) const;
    int DeviceY(long double y) const;
    int DeviceWidth(long double w) const;
    int DeviceHeight(long double h) const;

    int OrientedPaperWidth() const;
    int OrientedPaperLength() const;

    // Page n (1-based) as a new metafile, or none.
    std::unique_ptr<TMetafile> FetchPage(int n);

    void OpenPreview();
    void PrintReport();
    void SaveReportFile(const QString& fileName);
    void LoadReportFile(const QString& fileName);
    void PreviewClosed(QWidget* window);
    void SetPreviewOpen(bool value);
    bool PreviewOpen() const { return m_previewOpen; }
    void RunExport(TBRExportFilter* filter);
    void InvokePrintSetup(QObject* sender);

    // Forwarded to the settings, keeping their rules.
    int Copies() const;
    void SetCopies(int v);
    bool Duplex() const;
    void SetDuplex(bool v);
    int ExtendedDuplex() const;
    void SetExtendedDuplex(int v);
    TBRBin OutputBin() const;
    void SetOutputBin(TBRBin v);
    TPrinterOrientation Orientation() const;
    void SetOrientation(TPrinterOrientation v);
    TBRPaperSize PaperSize() const;
    void SetPaperSize(TBRPaperSize v);
    int PaperWidth() const;
    void SetPaperWidth(int v);
    int PaperLength() const;
    void SetPaperLength(int v);
    bool PrintMetaFile() const;
    void SetPrintMetaFile(bool v);
    bool UseCustomBinCode() const;
    void SetUseCustomBinCode(bool v);
    int CustomBinCode() const;
    void SetCustomBinCode(int v);
    bool UseCustomPaperCode() const;
    void SetUseCustomPaperCode(bool v);
    int CustomPaperCode() const;
    void SetCustomPaperCode(int v);
    void SetUseStandardprinter(bool v);
    bool Compression() const;
    void SetCompression(bool v);
    int PrinterIndex() const;
    void SetPrinterIndex(int index);

    TPrinterSettings& PrinterSettings() { return *m_printerSettings; }
    TBRPageList& PageList() { return *m_pageList; }
    PrinterService* Printer() const { return m_printer; }
    TCanvas* PageCanvas() const { return m_pageCanvas; }
    TMetafile* PageMetafile() const { return m_pageMetafile.get(); }
    TBRStream* Store() const { return m_store; }
    BRPrintHost* OwnerReport() const { return m_ownerReport; }

    // The job's own state, kept by the target.
    TBRJobState State() const { return m_job.State; }
    int PageTotal() const { return m_job.PageTotal; }
    int PagesReady() const { return m_job.PagesReady; }
    bool CancelRequested() const { return m_job.CancelRequested; }
    int Progress() const { return m_job.Progress; }
    long double HorzFactor() const { return m_job.HorzFactor; }
    long double VertFactor() const { return m_job.VertFactor; }
    int PrintableLeft() const { return m_job.PrintableLeft; }
    int PrintableTop() const { return m_job.PrintableTop; }
    bool LoadedFromFile() const { return m_job.LoadedFromFile; }
    QWidget* PreviewWindow() const;
    bool HasPrinters() const { return m_hasPrinters; }
    // The owner report's setting at creation; SetUseStandardprinter writes
    // the settings' copy, which only blocks printer changes.
    bool UseStandardprinter() const { return m_useStandardprinter; }

    // Set by whoever drives the job (the report, brptool, a test).
    TBRDestination Destination() const { return m_destination; }
    void SetDestination(TBRDestination destination) { m_destination = destination; }
    int FirstPage() const { return m_firstPage; }
    void SetFirstPage(int page) { m_firstPage = page; }
    int LastPage() const { return m_lastPage; }
    void SetLastPage(int page) { m_lastPage = page; }
    const QString& JobTitle() const { return m_jobTitle; }
    void SetJobTitle(const QString& title) { m_jobTitle = title; }
    QObject* StatusClient() const { return m_statusClient; }
    void SetStatusClient(QObject* client) { m_statusClient = client; }
    QObject* RequestReceiver() const { return m_requestReceiver; }
    void SetRequestReceiver(QObject* receiver) { m_requestReceiver = receiver; }

    // Events.
    const TBRAfterPrintEvent& AfterPrint() const { return m_afterPrint; }
    void SetAfterPrint(TBRAfterPrintEvent handler) { m_afterPrint = std::move(handler); }
    const TBRAfterPreviewEvent& AfterPreview() const { return m_afterPreview; }
    void SetAfterPreview(TBRAfterPreviewEvent handler) { m_afterPreview = std::move(handler); }
    const TBRExportEvent& OnExport() const { return m_onExport; }
    void SetOnExport(TBRExportEvent handler) { m_onExport = std::move(handler); }
    const TBRNotifyEvent& OnPreview() const { return m_onPreview; }
    void SetOnPreview(TBRNotifyEvent handler) { m_onPreview = std::move(handler); }
    const TBRNotifyEvent& OnPrintSetup() const { return m_onPrintSetup; }
    void SetOnPrintSetup(TBRNotifyEvent handler) { m_onPrintSetup = std::move(handler); }

private:
    bool PageInRange() const;
    void OpenRecording();
    void OpenPrinterPage();
    void CloseRecording(bool keep);
    void ClosePage();
    void UseScreenFactors();
    void UsePrinterFactors();
    void PostPagesReady();

    PrinterService* m_printer = nullptr;
    std::unique_ptr<PrinterService> m_privatePrinter;
    std::unique_ptr<TPrinterSettings> m_printerSettings;
    std::unique_ptr<TBRPageList> m_pageList;
    TBRStream* m_store = nullptr;
    TCanvas* m_pageCanvas = nullptr;
    std::unique_ptr<TMetafile> m_pageMetafile;
    std::unique_ptr<TMetafileCanvas> m_recordCanvas;
    QByteArray m_spareBuffer;
    bool m_previewOpen = false;
    BRPrintHost* m_ownerReport = nullptr;
    bool m_hasPrinters = false;
    bool m_useStandardprinter = false;

    // What one job (or one loaded file) leaves behind; ResetJob starts over.
    struct JobState {
        TBRJobState State = jsIdle;
        int PageTotal = 0;
        int PagesReady = 0;
        bool CancelRequested = false;
        int Progress = 0;
        long double HorzFactor = 1.0L;
        long double VertFactor = 1.0L;
        int PrintableLeft = 0;
        int PrintableTop = 0;
        bool LoadedFromFile = false;
        QPointer<QWidget> PreviewWindow;
    };
    JobState m_job;

    TBRDestination m_destination = qdPreview;
    int m_firstPage = 0;
    int m_lastPage = 0;
    QString m_jobTitle;
    QPointer<QObject> m_statusClient;
    QPointer<QObject> m_requestReceiver;

    TBRAfterPrintEvent m_afterPrint;
    TBRAfterPreviewEvent m_afterPreview;
    TBRExportEvent m_onExport;
    TBRNotifyEvent m_onPreview;
    TBRNotifyEvent m_onPrintSetup;
};
