#include "TBRPrinter.h"
#include "BRMessages.h"
#include "BRPrintHost.h"
#include "BRRound.h"
#include "EBRError.h"
#include "PrinterService.h"
#include "TBRExportFilter.h"
#include "TBRPageList.h"
#include "TBRPreviewInterface.h"
#include "TBRStream.h"
#include "TBRUnitBase.h"
#include "TCanvas.h"
#include "TMetafile.h"
#include "TMetafileCanvas.h"
#include "TPrinterSettings.h"
#include <QCoreApplication>
#include <QScopeGuard>
#include <QWidget>
#include <utility>

namespace {
constexpr qint32 kStoreMemoryLimit = 100000;

void post(QObject* receiver, int message, quintptr wParam, quintptr lParam)
{
    if (receiver)
        QCoreApplication::postEvent(receiver, new BRMessageEvent(message, wParam, lParam));
}
} // namespace

TBRPrinter::TBRPrinter(QObject* owner) : QObject(nullptr), m_pageList(std::make_unique<TBRPageList>())
{
    m_hasPrinters = !brp::ApplicationPrinter().Printers().isEmpty();
    m_ownerReport = dynamic_cast<BRPrintHost*>(owner);
    m_useStandardprinter = m_ownerReport ? m_ownerReport->UseStandardprinter() : false;
    if (m_useStandardprinter) {
        m_printer = &brp::ApplicationPrinter();
    } else {
        m_privatePrinter = brp::CreatePrinterService();
        m_printer = m_privatePrinter.get();
    }
    m_printerSettings = std::make_unique<TPrinterSettings>(owner);
    if (m_hasPrinters) {
        m_printerSettings->AttachPrinter(m_printer);
        QCoreApplication::processEvents();
    }
    m_job.PrintableTop = m_printerSettings->PrintableTop();
    m_job.PrintableLeft = m_printerSettings->PrintableLeft();
}

TBRPrinter::~TBRPrinter()
{
    if (m_job.State != jsIdle) {
        try {
            ResetJob();
        } catch (...) {
        }
    }
    m_recordCanvas.reset();
    m_pageMetafile.reset();
    if (auto* client = dynamic_cast<BRPrinterClient*>(m_statusClient.data()))
        client->DetachPrinter(this);
}

// ---- job ------------------------------------------------------------------

void TBRPrinter::UseScreenFactors()
{
    m_job.HorzFactor = m_job.VertFactor = static_cast<long double>(brp::ScreenPixelsPerInch()) / 254;
}

void TBRPrinter::UsePrinterFactors()
{
    m_job.HorzFactor = static_cast<long double>(m_printer->LogPixelsX()) / 254;
    m_job.VertFactor = static_cast<long double>(m_printer->LogPixelsY()) / 254;
}

void TBRPrinter::StartJob()
{
    m_pageMetafile.reset();
    m_job.PagesReady = 0;
    m_job.CancelRequested = false;
    // A job already on the printer keeps its device mode; the state check
    // below then reports the misplaced call.
    if (m_destination == qdPrinter && !m_printer->Printing())
        m_printerSettings->ApplyToPrinter();
    if (m_destination == qdPrinter) {
        m_job.PrintableTop = m_printerSettings->PrintableTop();
        m_job.PrintableLeft = m_printerSettings->PrintableLeft();
    } else {
        m_job.PrintableTop = m_job.PrintableLeft = 0;
    }
    if (m_job.State != jsIdle)
        throw EBRError(QStringLiteral("BRPrinter not ready"));
    m_job.PageTotal = 0;
    m_job.State = jsRunning;
    if (m_destination == qdPreview) {
        m_pageList->SetStore(std::make_unique<TBRStream>(kStoreMemoryLimit));
        m_store = m_pageList->Store();
        UseScreenFactors();
    } else {
        UsePrinterFactors();
    }
}

bool TBRPrinter::PageInRange() const
{
    return (m_firstPage <= 0 || m_firstPage <= m_job.PageTotal) && (m_lastPage <= 0 || m_lastPage >= m_job.PageTotal);
}

void TBRPrinter::OpenRecording()
{
    m_pageMetafile = std::make_unique<TMetafile>(DeviceWidth(OrientedPaperWidth()), DeviceHeight(OrientedPaperLength()));
    m_recordCanvas = std::make_unique<TMetafileCanvas>(m_pageMetafile.get(), brp::ScreenPixelsPerInch());
    // The last page's buffer: a fresh one per page costs more in page faults
    // than the recording itself.
    m_recordCanvas->ReuseBuffer(std::exchange(m_spareBuffer, QByteArray()));
    m_pageCanvas = m_recordCanvas.get();
    UseScreenFactors();
}

// Ends the recording; a kept page goes to the page list.
void TBRPrinter::CloseRecording(bool keep)
{
    if (m_pageCanvas == m_recordCanvas.get())
        m_pageCanvas = nullptr;
    m_recordCanvas.reset(); // stores the finished recording in the metafile
    if (keep && m_pageMetafile)
        m_pageList->AppendPage(m_pageMetafile->Data());
    if (m_pageMetafile)
        m_spareBuffer = m_pageMetafile->TakeData();
    m_pageMetafile.reset();
}

void TBRPrinter::OpenPrinterPage()
{
    if (!m_printer->Printing()) {
        m_printer->SetTitle(m_jobTitle);
        m_printer->BeginDoc();
        m_pageCanvas = m_printer->Canvas();
    } else {
        m_pageCanvas = m_printer->Canvas();
        if (m_pageCanvas)
            m_pageCanvas->Refresh();
    }
    UsePrinterFactors();
}

void TBRPrinter::PostPagesReady()
{
    ++m_job.PagesReady;
    post(m_statusClient, BRM_PAGESREADY, static_cast<quintptr>(m_job.PagesReady), 0);
}

void TBRPrinter::ClosePage()
{
    if (m_destination == qdPreview) {
        CloseRecording(true);
    } else if (m_pageMetafile) {
        CloseRecording(false); // outside the range: recorded only to be discarded
    } else if (PageInRange()) {
        if (m_printer->Printing() && m_job.PageTotal != m_lastPage)
            m_printer->NewPage();
    }
}

void TBRPrinter::NewPage()
{
    if (m_job.State != jsRunning)
        throw EBRError(QStringLiteral("Illegal call to NewPage"));
    if (m_job.PageTotal > 0) {
        ClosePage();
        PostPagesReady();
    }
    ++m_job.PageTotal;
    if (m_destination == qdPrinter && PageInRange())
        OpenPrinterPage();
    else
        OpenRecording();
}

void TBRPrinter::FinishJob()
{
    if (m_job.State != jsRunning)
        return;
    if (m_destination == qdPreview) {
        if (m_job.PageTotal > 0 && m_pageMetafile)
            CloseRecording(true);
        // The final count goes into the header before any message is handled:
        // a save made from one (the preview's button) must not copy a store
        // that still says one page.
        if (m_pageList->Store())
            m_pageList->WriteHeader();
    } else {
        CloseRecording(false);
        m_pageCanvas = nullptr;
        if (m_printer->Printing())
            m_printer->EndDoc();
    }
    m_job.State = jsFinished;
    // A message handled here may free this target (the preview closing).
    const QPointer<TBRPrinter> self(this);
    QCoreApplication::processEvents();
    if (!self)
        return;
    PostPagesReady();
    if (m_destination != qdPreview && m_afterPrint)
        m_afterPrint(this);
}

void TBRPrinter::AbortJob()
{
    if (m_destination == qdPrinter) {
        CloseRecording(false);
        m_pageCanvas = nullptr;
        if (m_printer->Printing())
            m_printer->Abort();
    } else if (m_pageMetafile) {
        CloseRecording(true); // the pages made so far stay in the store
    }
    m_job.State = jsFinished;
}

void TBRPrinter::ResetJob()
{
    if (m_job.State == jsRunning) {
        RequestCancel();
        // A job left open on the printer would take the next run's pages.
        if (m_destination == qdPrinter && m_printer && m_printer->Printing())
            m_printer->Abort();
    }
    m_recordCanvas.reset();
    m_pageMetafile.reset();
    m_pageCanvas = nullptr;
    m_pageList->SetStore(nullptr);
    m_store = nullptr;
    m_pageList->Reset();
    m_job.State = jsIdle;
}

void TBRPrinter::SetProgress(int value)
{
    m_job.Progress = value;
    post(m_statusClient, BRM_PROGRESS, static_cast<quintptr>(value), 0);
}

// ---- geometry ---------------------------------------------------------------

int TBRPrinter::DeviceX(long double x) const
{
    return brp::Round((x - m_job.PrintableLeft) * m_job.HorzFactor);
}

int TBRPrinter::DeviceY(long double y) const
{
    return brp::Round((y - m_job.PrintableTop) * m_job.VertFactor);
}

int TBRPrinter::DeviceWidth(long double w) const
{
    return brp::Round(w * m_job.HorzFactor);
}

int TBRPrinter::DeviceHeight(long double h) const
{
    return brp::Round(h * m_job.VertFactor);
}

int TBRPrinter::OrientedPaperWidth() const
{
    return Orientation() == poPortrait ? PaperWidth() : PaperLength();
}

int TBRPrinter::OrientedPaperLength() const
{
    return Orientation() == poPortrait ? PaperLength() : PaperWidth();
}

// ---- pages, preview, files ---------------------------------------------------

std::unique_ptr<TMetafile> TBRPrinter::FetchPage(int n)
{
    if ((m_job.State != jsRunning && m_job.State != jsFinished) || n < 1 || n > m_job.PageTotal)
        return nullptr;
    const std::optional<QByteArray> bytes = m_pageList->FetchPage(n);
    if (!bytes)
        return nullptr;
    auto page = std::make_unique<TMetafile>();
    page->LoadFromBytes(*bytes);
    return page;
}

QWidget* TBRPrinter::PreviewWindow() const
{
    return m_job.PreviewWindow;
}

void TBRPrinter::OpenPreview()
{
    if (m_onPreview) {
        m_onPreview(this);
        return;
    }
    std::unique_ptr<TBRPreviewInterface> opener = PreviewInterfaceClass() ? PreviewInterfaceClass()() : nullptr;
    if (opener)
        m_job.PreviewWindow = opener->Present(this);
}

void TBRPrinter::PrintReport()
{
    if (m_requestReceiver && !m_job.LoadedFromFile && !m_printerSettings->PrintMetaFile() && m_job.State == jsFinished) {
        post(m_requestReceiver, BRM_PRINT, 0, 0);
        return;
    }
    if (m_job.State != jsFinished || !m_hasPrinters)
        return;

    // A cancel left over from an earlier replay must not stop this one.
    m_job.CancelRequested = false;
    m_printer->SetTitle(m_jobTitle);
    if (m_printer->Printing())
        m_printer->Abort();
    m_printerSettings->ApplyToPrinter();
    m_printer->BeginDoc();
    const QPointer<TBRPrinter> self(this);
    PrinterService* const printer = m_printer;
    const bool sharedPrinter = !m_privatePrinter;
    QStringList damaged;
    try {
        const int first = m_firstPage != 0 ? m_firstPage : 1;
        const int last = m_lastPage != 0 ? m_lastPage : m_job.PageTotal;
        for (int i = first; i <= last; ++i) {
            QCoreApplication::processEvents();
            if (!self) {
                // Freed by a message: a private printer went with it and
                // aborted its job; the shared one must not keep it open.
                if (sharedPrinter && printer->Printing())
                    printer->Abort();
                return;
            }
            if (std::unique_ptr<TMetafile> page = FetchPage(i)) {
                TCanvas* canvas = m_printer->Canvas();
                if (canvas &&
                    !canvas->StretchDraw(TRect{0, 0, m_printer->PageWidth(), m_printer->PageHeight()}, page->Data()))
                    damaged << QStringLiteral("Page %1 is damaged and printed in part.").arg(i);
            }
            if (i < last)
                m_printer->NewPage();
            if (m_job.CancelRequested) {
                m_printer->Abort();
                break;
            }
        }
    } catch (...) {
        // A page that cannot be read ends the job unprinted rather than
        // sending the pages before it as if the job were complete.
        if (m_printer->Printing())
            m_printer->Abort();
        throw;
    }
    if (m_printer->Printing())
        m_printer->EndDoc();
    // The job went out with what could be drawn; the damaged pages are said
    // as any other problem of the run is.
    if (!damaged.isEmpty())
        throw EBRError(damaged.join(u'\n'));
}

void TBRPrinter::SaveReportFile(const QString& fileName)
{
    if (m_job.State == jsFinished)
        m_pageList->WriteToFile(fileName);
}

void TBRPrinter::LoadReportFile(const QString& fileName)
{
    if (m_job.State != jsIdle)
        ResetJob();
    try {
        m_pageList->OpenFile(fileName);
        m_job.PageTotal = m_pageList->Count();
        UseScreenFactors();
        if (m_job.PageTotal > 0) {
            // The paper is recognised from page 1, in units of 4 mm.
            const std::optional<QByteArray> bytes = m_pageList->FetchPage(1);
            if (bytes) {
                TMetafile picture;
                picture.LoadFromBytes(*bytes);
                // The picture's size is in the pixels it was recorded at, which
                // need not be this screen's.
                const long double fx = picture.PixelsPerInchX() > 0 ? picture.PixelsPerInchX() / 254 : m_job.HorzFactor;
                const long double fy = picture.PixelsPerInchY() > 0 ? picture.PixelsPerInchY() / 254 : m_job.VertFactor;
                const int W = brp::Trunc(picture.Width() / fx / 40);
                const int L = brp::Trunc(picture.Height() / fy / 40);
                for (int i = static_cast<int>(TBRPaperSize::Letter); i <= static_cast<int>(TBRPaperSize::ESheet); ++i) {
                    const BRPaperDimensions d = brp::PaperTable(static_cast<TBRPaperSize>(i));
                    const int w = brp::Trunc(static_cast<long double>(d.width) / 4);
                    const int l = brp::Trunc(static_cast<long double>(d.length) / 4);
                    if (w == W && l == L) {
                        SetPaperSize(static_cast<TBRPaperSize>(i));
                        SetOrientation(poPortrait);
                    }
                    if (w == L && l == W) {
                        SetPaperSize(static_cast<TBRPaperSize>(i));
                        SetOrientation(poLandscape);
                    }
                }
            }
        }
    } catch (...) {
        // Not a saved-report file, or a damaged one: nothing stays loaded.
        m_pageList->SetStore(nullptr);
        m_pageList->Reset();
        m_store = nullptr;
        m_job.PageTotal = 0;
        m_job.State = jsIdle;
        throw;
    }
    m_store = m_pageList->Store();
    m_job.State = jsFinished;
    m_onPrintSetup = nullptr;
    m_onExport = nullptr;
    m_job.LoadedFromFile = true;
}

void TBRPrinter::PreviewClosed(QWidget*)
{
    if (!m_requestReceiver)
        return;
    BRMessageEvent event(BRM_PREVIEWCLOSED, 0, reinterpret_cast<quintptr>(this));
    QCoreApplication::sendEvent(m_requestReceiver, &event);
    // The receiver may have freed this target: nothing below may touch it.
}

void TBRPrinter::SetPreviewOpen(bool value)
{
    // The new value holds afterwards, also when the event raises.
    const auto assign = qScopeGuard([this, value] { m_previewOpen = value; });
    if (m_previewOpen && !value) {
        if (m_job.State == jsRunning)
            RequestCancel();
        if (m_afterPreview)
            m_afterPreview(this);
    }
}

void TBRPrinter::RunExport(TBRExportFilter* filter)
{
    if (filter && filter->TakesRecordedPages()) {
        // The pages already made are the input: the report is not run again.
        if (m_job.State != jsFinished || m_job.PageTotal < 1)
            throw EBRError(QStringLiteral("The report has no finished pages to export"));
        m_job.CancelRequested = false;
        filter->ExportPages(*m_pageList, [this](int page, int pageTotal) {
            SetProgress(pageTotal > 0 ? page * 100 / pageTotal : 100);
            return !m_job.CancelRequested;
        });
        return;
    }
    if (m_onExport)
        m_onExport(filter);
}

void TBRPrinter::InvokePrintSetup(QObject* sender)
{
    if (m_onPrintSetup)
        m_onPrintSetup(sender);
}

// ---- forwarded settings --------------------------------------------------------

int TBRPrinter::Copies() const { return m_printerSettings->Copies(); }
void TBRPrinter::SetCopies(int v) { m_printerSettings->SetCopies(v); }
bool TBRPrinter::Duplex() const { return m_printerSettings->Duplex(); }
void TBRPrinter::SetDuplex(bool v) { m_printerSettings->SetDuplex(v); }
int TBRPrinter::ExtendedDuplex() const { return m_printerSettings->ExtendedDuplex(); }
void TBRPrinter::SetExtendedDuplex(int v) { m_printerSettings->SetExtendedDuplex(v); }
TBRBin TBRPrinter::OutputBin() const { return m_printerSettings->OutputBin(); }
void TBRPrinter::SetOutputBin(TBRBin v) { m_printerSettings->SetOutputBin(v); }
TPrinterOrientation TBRPrinter::Orientation() const { return m_printerSettings->Orientation(); }
void TBRPrinter::SetOrientation(TPrinterOrientation v) { m_printerSettings->SetOrientation(v); }
TBRPaperSize TBRPrinter::PaperSize() const { return m_printerSettings->PaperSize(); }
void TBRPrinter::SetPaperSize(TBRPaperSize v) { m_printerSettings->SetPaperSize(v); }
int TBRPrinter::PaperWidth() const { return m_printerSettings->PaperWidth(); }
void TBRPrinter::SetPaperWidth(int v) { m_printerSettings->SetPaperWidth(v); }
int TBRPrinter::PaperLength() const { return m_printerSettings->PaperLength(); }
void TBRPrinter::SetPaperLength(int v) { m_printerSettings->SetPaperLength(v); }
bool TBRPrinter::PrintMetaFile() const { return m_printerSettings->PrintMetaFile(); }
void TBRPrinter::SetPrintMetaFile(bool v) { m_printerSettings->SetPrintMetaFile(v); }
bool TBRPrinter::UseCustomBinCode() const { return m_printerSettings->UseCustomBinCode(); }
void TBRPrinter::SetUseCustomBinCode(bool v) { m_printerSettings->SetUseCustomBinCode(v); }
int TBRPrinter::CustomBinCode() const { return m_printerSettings->CustomBinCode(); }
void TBRPrinter::SetCustomBinCode(int v) { m_printerSettings->SetCustomBinCode(v); }
bool TBRPrinter::UseCustomPaperCode() const { return m_printerSettings->UseCustomPaperCode(); }
void TBRPrinter::SetUseCustomPaperCode(bool v) { m_printerSettings->SetUseCustomPaperCode(v); }
int TBRPrinter::CustomPaperCode() const { return m_printerSettings->CustomPaperCode(); }
void TBRPrinter::SetCustomPaperCode(int v) { m_printerSettings->SetCustomPaperCode(v); }
void TBRPrinter::SetUseStandardprinter(bool v) { m_printerSettings->SetUseStandardprinter(v); }
bool TBRPrinter::Compression() const { return m_pageList->Compressed(); }
void TBRPrinter::SetCompression(bool v) { m_pageList->SetCompressed(v); }

int TBRPrinter::PrinterIndex() const
{
    return m_printer ? m_printer->PrinterIndex() : -1;
}

void TBRPrinter::SetPrinterIndex(int index)
{
    if (!m_hasPrinters || m_printerSettings->UseStandardprinter())
        return;
    m_printer->SetPrinterIndex(index);
    m_printer->ReloadDeviceMode();
    m_printerSettings->ReadFromPrinter();
}
