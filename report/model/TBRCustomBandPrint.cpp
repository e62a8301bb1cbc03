// How a band prints itself during a run.
#include "BRRound.h"
#include "EBRError.h"
#include "TBRCustomBand.h"
#include "TBRCustomController.h"
#include "TBRExportFilter.h"
#include "TBRPrintable.h"
#include "TBRPrinter.h"
#include "TCanvas.h"
#include "TCustomBandReport.h"

namespace {
bool isPageType(TBRBandType type)
{
    return type == rbTitle || type == rbPageHeader || type == rbPageFooter || type == rbOverlay;
}
// A stretching control that never completes would otherwise add pages forever.
constexpr int kMaxPasses = 100000;

// Bands printed again on every page: one that needs a second page would be
// printed again on that page, and again, multiplying the pages.
bool isRepeatedOnEveryPage(TBRBandType type)
{
    return type == rbPageHeader || type == rbColumnHeader || type == rbPageFooter;
}

[[noreturn]] void doesNotFit(const TBRCustomBand& band, TBRBandType type)
{
    const QString name = band.Name().isEmpty() ? QStringLiteral("(unnamed)") : band.Name();
    throw EBRError(QStringLiteral("Band %1 (%2) does not fit on one page").arg(name, brp::BandTypeCaption(type)));
}
} // namespace

BRNative TBRCustomBand::RequiredHeight() const
{
    // The linked band's own requirement already holds its height.
    BRNative need = 0;
    int steps = 0;
    for (const TBRCustomBand* band = this; band && steps < 10000; band = band->LinkBand(), ++steps)
        need += band->m_size->Native(TBRBandSize::iHeight);
    return need;
}

void TBRCustomBand::PrintSelf()
{
    TCustomBandReport* report = ParentReport();
    if (!report || report->Available())
        return;
    bool printBand = m_enabled;
    if (m_enabled && BeforePrint && !IsDesigning())
        BeforePrint(this, printBand);
    TBRCustomController* controller = PrintingController.data();
    if (printBand) {
        if (m_forceNewPage && !report->DetailOverflow() && !isPageType(m_bandType) && report->PageNumber() > 0) {
            report->ForcePage();
            report->SetDetailOverflow(false);
        } else if (m_forceNewColumn && !isPageType(m_bandType) && report->PageNumber() > 0) {
            report->ForceColumn();
        } else {
            report->EnsureSpace(this);
        }
        // A filter is told where the band went, after any break.
        const int startX = report->CursorX();
        const int startY = report->CursorY();
        if (controller)
            controller->SendNotification(NotifyDataAdvance);
        TBRPrinter* target = report->OutputTarget();
        if (!target)
            return;
        const BRNative width = m_size->Native(TBRBandSize::iWidth);
        const BRNative height = m_size->Native(TBRBandSize::iHeight);
        const TBRBandType effectiveType = EffectiveBandType();
        const bool everyPage = isRepeatedOnEveryPage(effectiveType);
        if (everyPage && m_enabled && height > report->PageBodyHeight())
            doesNotFit(*this, effectiveType);
        DeviceRect = TRect{target->DeviceX(report->CursorX()), target->DeviceY(report->CursorY()),
                           target->DeviceX(report->CursorX() + width), target->DeviceY(report->CursorY() + height)};
        if (Height() != 0 && m_enabled) {
            TCanvas* canvas = target->PageCanvas();
            if (report->RenderToSurface() && canvas) {
                canvas->Brush.Color = Color();
                canvas->Brush.Style = TBrushStyle::bsSolid;
                canvas->FillRect(DeviceRect);
            }
            Expanded = 0;
            auto restoreHeight = [&] {
                if (m_size->Native(TBRBandSize::iHeight) != height)
                    m_size->SetDimension(TBRBandSize::iHeight, height);
            };
            const QList<TBRPrintable*> printables = Printables();
            bool firstPass = true;
            for (int pass = 0;; ++pass) {
                bool allDone = true;
                for (TBRPrintable* p : printables) {
                    if (!p->Enabled())
                        continue;
                    if (firstPass || !p->OutputComplete())
                        p->PrintAt(report->CursorX(), report->CursorY());
                    allDone = allDone && p->OutputComplete();
                }
                firstPass = false;
                canvas = target->PageCanvas();
                if (report->RenderToSurface() && canvas && Frame()->HasAnySide()) {
                    const TRect r{target->DeviceX(report->CursorX()), target->DeviceY(report->CursorY()),
                                  target->DeviceX(report->CursorX() + width),
                                  target->DeviceY(report->CursorY() + height + Expanded + 1)};
                    Frame()->PaintFrame(*canvas, r, target->HorzFactor(), target->VertFactor());
                }
                if (allDone || target->CancelRequested() || pass >= kMaxPasses)
                    break;
                if (everyPage)
                    doesNotFit(*this, effectiveType);
                report->SetDetailOverflow(true);
                report->StartNewColumn();
                report->SetDetailOverflow(false);
                restoreHeight();
                Expanded = 0;
            }
            report->SetCursorY(report->CursorY() + brp::Round(height + Expanded));
            restoreHeight();
        }
        if (TBRExportFilter* filter = report->ExportFilter())
            filter->PrintBand(this, startX, startY, Expanded);
    } else if (controller && !m_enabled) {
        controller->SendNotification(NotifyDataAdvance);
    }
    if (AfterPrint && !IsDesigning())
        AfterPrint(this, printBand);
    if (TBRCustomBand* child = ChildBand()) {
        // A page footer's child prints as part of the footer.
        const bool footer = m_bandType == rbPageFooter;
        struct TypeGuard {
            TBRCustomBand* band;
            bool active;
            ~TypeGuard()
            {
                if (active)
                    band->m_bandType = rbChild;
            }
        } guard{child, footer};
        if (footer)
            child->m_bandType = rbPageFooter;
        report->PrintBand(child);
    }
    report->SetDetailOverflow(false);
}
