// The report's run: entry points (preview, print, export, set-up, cancel),
// the messages from the output target and the steps of one generation.
#include "BRMessages.h"
#include "BRRound.h"
#include "BRRunWindows.h"
#include "ExpressionEngine.h"
#include "TBRCustomBand.h"
#include "TBRCustomController.h"
#include "TBREvEnvironment.h"
#include "TBRExportFilter.h"
#include "TBRPrintable.h"
#include "TBRPrinter.h"
#include "TCustomBandReport.h"
#include "TDataSet.h"
#include "TMetafile.h"
#include "TPrinterSettings.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QWidget>

namespace {
// The form that holds the report: the first window going up its parents,
// else the top of its owner tree.
QObject* containingForm(QObject* report)
{
    QObject* top = report;
    for (QObject* p = report->parent(); p; p = p->parent()) {
        if (p->isWidgetType())
            return p;
        top = p;
    }
    return top;
}
} // namespace

bool TCustomBandReport::PrepareOutputTarget()
{
    if (!m_run.Available)
        return false;
    auto* target = new TBRPrinter(this);
    // Freed by ReleaseOutputTarget, at the latest with the report.
    target->setParent(this);
    if (TBRPrinter* previous = m_outputTarget.data())
        target->SetStatusClient(previous->StatusClient());
    target->SetAfterPrint([this](QObject* sender) {
        if (AfterPrint)
            AfterPrint(sender);
    });
    target->SetAfterPreview([this](QObject* sender) {
        if (AfterPreview)
            AfterPreview(sender);
    });
    m_outputTarget = target;
    return true;
}

void TCustomBandReport::ReleaseOutputTarget()
{
    TBRPrinter* target = m_outputTarget.data();
    m_outputTarget = nullptr;
    delete target;
}

void TCustomBandReport::Preview()
{
    QCoreApplication::processEvents();
    if (!PrepareOutputTarget())
        return;
    TBRPrinter* target = m_outputTarget.data();
    target->SetDestination(qdPreview);
    target->SetRequestReceiver(this);
    target->SetOnPrintSetup([this](QObject* sender) { RunPrintSetup(sender); });
    target->SetOnExport([this](TBRExportFilter* filter) { ExportThrough(filter); });
    target->SetJobTitle(ReportTitle());
    if (OnPreview)
        target->SetOnPreview(OnPreview);
    target->OpenPreview();
    Generate();
    if (m_run.Cancelled) {
        ReleaseOutputTarget();
        return;
    }
    while (m_outputTarget && m_outputTarget->PreviewOpen() && !QCoreApplication::closingDown())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void TCustomBandReport::Print()
{
    const QPointer<TBRPrinter> remembered = m_outputTarget;
    if (!m_run.Available || !PrepareOutputTarget())
        return;
    TBRPrinter* target = m_outputTarget.data();
    if (!target->HasPrinters()) {
        ReleaseOutputTarget();
        m_outputTarget = remembered;
        return;
    }
    target->SetDestination(qdPrinter);
    std::unique_ptr<QObject> progress;
    if (brp::ProgressWindowFactory())
        progress.reset(brp::ProgressWindowFactory()(target, ShowProgress()));
    if (progress)
        target->SetStatusClient(progress.get());
    struct Restore {
        TCustomBandReport* report;
        QPointer<TBRPrinter> previous;
        std::unique_ptr<QObject>& progress;
        ~Restore()
        {
            report->ReleaseOutputTarget();
            report->m_outputTarget = previous;
            progress.reset();
        }
    } restore{this, remembered, progress};
    Generate();
}

void TCustomBandReport::ExportThrough(TBRExportFilter* filter)
{
    const QPointer<TBRPrinter> remembered = m_outputTarget;
    if (!filter || !m_run.Available || !PrepareOutputTarget())
        return;
    TBRPrinter* target = m_outputTarget.data();
    // Pages stay in the target's own store and go with it: the filter is the output.
    target->SetDestination(qdPreview);
    std::unique_ptr<QObject> progress;
    if (brp::ProgressWindowFactory())
        progress.reset(brp::ProgressWindowFactory()(target, ShowProgress()));
    if (progress)
        target->SetStatusClient(progress.get());
    m_exportFilter = filter;
    struct Restore {
        TCustomBandReport* report;
        QPointer<TBRPrinter> previous;
        std::unique_ptr<QObject>& progress;
        ~Restore()
        {
            report->m_exportFilter = nullptr;
            report->m_run.RenderToSurface = true;
            report->ReleaseOutputTarget();
            report->m_outputTarget = previous;
            progress.reset();
        }
    } restore{this, remembered, progress};
    Generate();
}

void TCustomBandReport::RunPrintSetup(QObject*)
{
    if (!brp::PrintSetupRunner())
        return;
    BRPrintSetupData data;
    data.PrinterIndex = m_printerSettings->PrinterIndex;
    const TBRPrinter* target = m_outputTarget.data();
    if (target && target->State() == jsFinished) {
        data.MinPage = 1;
        data.MaxPage = data.ToPage = target->PageTotal();
        data.FromPage = 1;
    }
    data.Orientation = m_page->Orientation();
    data.Copies = m_printerSettings->Copies;
    if (!brp::PrintSetupRunner()(data))
        return;
    m_printerSettings->Copies = data.Copies;
    m_printerSettings->PrinterIndex = data.PrinterIndex;
    m_page->SetOrientation(data.Orientation);
    if (data.PrintRange == BRPrintSetupData::PageNums) {
        m_printerSettings->FirstPage = data.FromPage;
        m_printerSettings->LastPage = data.ToPage;
    } else {
        m_printerSettings->FirstPage = 0;
        m_printerSettings->LastPage = 0;
    }
}

void TCustomBandReport::CancelRun()
{
    if (m_run.Available)
        return;
    m_run.Cancelled = true;
    if (m_outputTarget)
        m_outputTarget->RequestCancel();
}

bool TCustomBandReport::event(QEvent* event)
{
    if (BRMessageEvent::Is(event, BRM_PAGESREADY)) {
        const auto* message = static_cast<BRMessageEvent*>(event);
        if ((message->WParam & 0xFFFF) == 1 && m_outputTarget)
            m_firstPage = m_outputTarget->FetchPage(1);
        return true;
    }
    if (BRMessageEvent::Is(event, BRM_PRINT)) {
        Print();
        return true;
    }
    if (BRMessageEvent::Is(event, BRM_PREVIEWCLOSED)) {
        if (!m_run.Available) {
            CancelRun();
        } else {
            if (m_outputTarget && m_outputTarget->PreviewOpen())
                m_outputTarget->SetPreviewOpen(false);
            ReleaseOutputTarget();
        }
        return true;
    }
    return TBRBasePanel::event(event);
}

void TCustomBandReport::ApplyPrinterSettings()
{
    TBRPrinter& t = *m_outputTarget;
    const TBandReportPrinterSettings& ps = *m_printerSettings;
    t.SetPrinterIndex(ps.PrinterIndex);
    t.SetPaperSize(m_page->PaperSize());
    if (t.PaperSize() == TBRPaperSize::Custom) {
        t.SetPaperWidth(brp::Round(m_page->Native(TBRPage::iWidth)));
        t.SetPaperLength(brp::Round(m_page->Native(TBRPage::iLength)));
    }
    t.SetOrientation(m_page->Orientation());
    t.SetCopies(ps.Copies);
    t.SetOutputBin(ps.OutputBin);
    t.SetFirstPage(ps.FirstPage);
    t.SetLastPage(ps.LastPage);
    t.SetDuplex(ps.Duplex);
    t.SetExtendedDuplex(ps.ExtendedDuplex);
    t.SetUseStandardprinter(ps.UseStandardprinter);
    t.SetPrintMetaFile(ps.PrintMetaFile);
    t.SetUseCustomBinCode(ps.UseCustomBinCode);
    t.SetCustomBinCode(ps.CustomBinCode);
    t.SetUseCustomPaperCode(ps.UseCustomPaperCode);
    t.SetCustomPaperCode(ps.CustomPaperCode);
}

void TCustomBandReport::ForEachPrintable(const std::function<void(TBRPrintable*)>& action)
{
    const QList<TBRPrintable*> own = Printables();
    for (TBRPrintable* p : own)
        action(p);
    const QList<TBRCustomBand*> bands = m_bandList;
    for (TBRCustomBand* band : bands) {
        const QList<TBRPrintable*> printables = band->Printables();
        for (TBRPrintable* p : printables)
            action(p);
    }
}

void TCustomBandReport::Generate()
{
    if (!m_run.Available)
        return;
    m_firstPage.reset();
    if (!m_outputTarget && !PrepareOutputTarget())
        return;
    const BRNative width = m_page->Native(TBRPage::iWidth);
    if (width - m_page->Native(TBRPage::iLeftMargin) - m_page->Native(TBRPage::iRightMargin) < 0) {
        m_page->SetDimension(TBRPage::iLeftMargin, 0);
        m_page->SetDimension(TBRPage::iRightMargin, 0);
    }
    const BRNative length = m_page->Native(TBRPage::iLength);
    if (length - m_page->Native(TBRPage::iTopMargin) - m_page->Native(TBRPage::iBottomMargin) < 0) {
        m_page->SetDimension(TBRPage::iTopMargin, 0);
        m_page->SetDimension(TBRPage::iBottomMargin, 0);
    }
    m_run.Available = false;
    m_run.Cancelled = m_run.FinalPage = m_run.SkipNextForcedPage = m_run.ColumnForcePending = m_run.DetailOverflow = false;
    m_run.RenderToSurface = m_exportFilter == nullptr;

    m_runDataSets = std::make_unique<TBRDataSetList>();
    m_run.RunDataSets = m_runDataSets.get();
    for (TDataSet* dataSet : containingForm(this)->findChildren<TDataSet*>())
        if (!m_run.RunDataSets->contains(dataSet))
            m_run.RunDataSets->append(dataSet);

    // Whatever happens: the data set list goes, and the report is free for
    // the next run.
    struct EndRun {
        TCustomBandReport* report;
        ~EndRun()
        {
            report->m_functions->UseDataSets(nullptr);
            report->m_run.RunDataSets = nullptr;
            report->m_runDataSets.reset();
            report->m_pageNumberElement = report->m_columnNumberElement = nullptr;
            report->m_run.Available = true;
        }
    } endRun{this};

    bool printReport = true;
    if (BeforePrint && !IsDesigning())
        BeforePrint(this, printReport);
    if (!printReport)
        return;
    RunSteps();
}

// Steps from the units switch to the end of the job. A failure still ends the
// job and puts units, printables, controllers and environments back, so that
// the report can run again.
void TCustomBandReport::RunSteps()
{
    const TBRUnit savedUnits = Units();
    SetUnits(TBRUnit::Native);
    bool begun = false;
    bool prepared = false;
    bool compiled = false;
    const QPointer<TBRPrinter> target = m_outputTarget;
    auto endJob = [&] {
        if (!target)
            return;
        // A job on the printer is sent only if nobody asked to stop it: the
        // progress window's "Cancel" must not print the pages made so far. A
        // click of the last moments counts too.
        const bool toPrinter = target->Destination() == qdPrinter;
        if (toPrinter && !m_run.Cancelled)
            QCoreApplication::processEvents();
        if (!target)
            return;
        if (m_run.Cancelled || !m_run.RenderToSurface || (toPrinter && target->CancelRequested()))
            target->AbortJob();
        else
            target->FinishJob();
    };
    auto restore = [&] {
        SetUnits(savedUnits);
        if (begun)
            ForEachPrintable([](TBRPrintable* p) { p->EndOutput(); });
        if (prepared)
            m_controller->UnprepareRun();
        if (compiled) {
            m_functions->ReleaseAll();
            GlobalEnvironment().ReleaseAll();
        }
    };
    try {
        ApplyPrinterSettings();
        target->SetJobTitle(ReportTitle());
        target->SetCompression(m_options & Compression);
        target->StartJob();
        m_run.CursorY = -1;
        m_run.PageNumber = 0;
        m_run.ColumnNumber = std::max(1, m_page->Columns());
        ComputePageFooterSpace();
        const QList<TBRCustomBand*> bands = m_bandList;
        for (TBRCustomBand* band : bands)
            band->SetParentReport(this);
        const QList<TBRPrintable*> own = Printables();
        for (TBRPrintable* p : own)
            p->SetOwnerReport(this);
        m_run.CursorX = brp::Round(m_page->Native(TBRPage::iLeftMargin));
        m_controller->CollectChildren();

        GlobalEnvironment().CompileAll();
        m_functions->UseDataSets(m_run.RunDataSets);
        m_functions->CompileAll();
        compiled = true;
        m_pageNumberElement = m_functions->ConstantElement(QStringLiteral("PAGENUMBER"));
        m_columnNumberElement = m_functions->ConstantElement(QStringLiteral("COLUMNNUMBER"));
        if (TBREvElement* title = m_functions->ConstantElement(QStringLiteral("REPORTTITLE")))
            m_functions->StoreText(title, ReportTitle());
        if (m_exportFilter)
            m_exportFilter->Start(m_page->Native(TBRPage::iWidth), m_page->Native(TBRPage::iLength), Font());

        prepared = true;
        m_controller->PrepareRun();
        begun = true;
        ForEachPrintable([](TBRPrintable* p) { p->BeginOutput(); });
        RunReport();
        m_run.CursorX = brp::Round(m_page->Native(TBRPage::iLeftMargin));
        m_run.FinalPage = true;
        // Cancel in the progress window only stops the data walk; an export
        // stopped that way must not finish its file as if it were complete.
        if (m_exportFilter && target && target->CancelRequested())
            m_run.Cancelled = true;
        if (!m_run.Cancelled) {
            FinishPage();
            if (m_exportFilter)
                m_exportFilter->Finish();
        }
    } catch (...) {
        try {
            restore();
        } catch (...) {
        }
        endJob();
        throw;
    }
    restore();
    endJob();
}
