// Pages, columns and band placement of a generation run.
#include "BRRound.h"
#include "TBRCustomBand.h"
#include "TBRCustomController.h"
#include "TBREvEnvironment.h"
#include "TBRExportFilter.h"
#include "TBRPrintable.h"
#include "TBRPrinter.h"
#include "TCanvas.h"
#include "TCustomBandReport.h"

namespace {
BRNative bandHeight(const TBRCustomBand* band)
{
    return band->Size()->Native(TBRBandSize::iHeight);
}
} // namespace

void TCustomBandReport::ComputePageFooterSpace()
{
    m_run.PageFooterSpace = 0;
    for (TBRCustomBand* band : m_placedBands) {
        if (band->BandType() != rbPageFooter || !band->Enabled())
            continue;
        m_run.PageFooterSpace += bandHeight(band);
        // The child chain counts whether its bands print or not.
        int steps = 0;
        for (TBRCustomBand* child = band->ChildBand(); child && steps < 10000; child = child->ChildBand(), ++steps)
            m_run.PageFooterSpace += bandHeight(child);
    }
}

void TCustomBandReport::StartNewColumn()
{
    const int columns = std::max(1, m_page->Columns());
    if (m_run.ColumnNumber >= columns) {
        m_run.ColumnNumber = 1;
        m_run.CursorX = brp::Round(m_page->Native(TBRPage::iLeftMargin));
        StartNewPage();
    } else {
        int columnWidth;
        if (TBRCustomBand* detail = FindBand(rbDetail)) {
            columnWidth = brp::Round(detail->Size()->Native(TBRBandSize::iWidth));
        } else {
            const int printable = brp::Round(m_page->Native(TBRPage::iWidth)
                                          - (m_page->Native(TBRPage::iLeftMargin) + m_page->Native(TBRPage::iRightMargin)));
            columnWidth = (printable - brp::Round(m_page->Native(TBRPage::iColumnSpace)) * (columns - 1)) / columns;
        }
        m_run.CursorX += columnWidth + brp::Round(m_page->Native(TBRPage::iColumnSpace));
        m_run.CursorY = m_run.ColumnTop;
        ++m_run.ColumnNumber;
    }
    if (m_columnNumberElement)
        m_functions->StoreInteger(m_columnNumberElement, m_run.ColumnNumber);
    if (m_run.ColumnNumber != 1 || m_run.PageNumber != 1) {
        PrintBand(FindBand(rbColumnHeader));
        m_controller->ReprintGroupHeaders();
    }
}

void TCustomBandReport::StartNewPage()
{
    FinishPage();
    if (m_exportFilter)
        m_exportFilter->StartPage();
    ++m_run.PageNumber;
    if (m_pageNumberElement)
        m_functions->StoreInteger(m_pageNumberElement, m_run.PageNumber);
    // An export run draws nothing: one recorded page serves the controls.
    if (m_run.RenderToSurface || m_run.PageNumber == 1)
        m_outputTarget->NewPage();
    m_run.CursorY = brp::Round(m_page->Native(TBRPage::iTopMargin));
    if (OnStartPage && !IsDesigning())
        OnStartPage(this);
    if (m_run.PageNumber > 1 || (m_options & FirstPageHeader))
        PrintBand(FindBand(rbPageHeader));
    m_run.ColumnTop = m_run.CursorY;
    if (m_run.PageNumber == 1)
        if (TBRCustomBand* title = FindBand(rbTitle))
            m_run.ColumnTop += brp::Round(bandHeight(title));
}

void TCustomBandReport::FinishPage()
{
    // Nothing was begun before page 1; a filter hears of pages it was told began.
    if (m_run.PageNumber <= 0)
        return;
    m_run.CursorY = brp::Round(m_page->Native(TBRPage::iLength) - m_page->Native(TBRPage::iBottomMargin) - m_run.PageFooterSpace);
    m_run.CursorX = brp::Round(m_page->Native(TBRPage::iLeftMargin));
    if (!m_run.FinalPage || (m_options & LastPageFooter))
        PrintBand(FindBand(rbPageFooter));
    PrintPageExtras();
    if (OnEndPage && !IsDesigning())
        OnEndPage(this);
    if (m_exportFilter)
        m_exportFilter->EndPage();
}

void TCustomBandReport::PrintPageExtras()
{
    const QList<TBRPrintable*> printables = Printables();
    for (TBRPrintable* p : printables)
        p->PrintAt(0, 0);
    TBRPrinter* target = m_outputTarget.data();
    if (!m_run.RenderToSurface || !target || !target->PageCanvas() || !Frame()->HasAnySide())
        return;
    const TRect r{target->DeviceX(m_page->Native(TBRPage::iLeftMargin)),
                  target->DeviceY(m_page->Native(TBRPage::iTopMargin)),
                  target->DeviceX(m_page->Native(TBRPage::iWidth) - m_page->Native(TBRPage::iRightMargin)),
                  target->DeviceY(m_page->Native(TBRPage::iLength) - m_page->Native(TBRPage::iBottomMargin))};
    Frame()->PaintFrame(*target->PageCanvas(), r, target->HorzFactor(), target->VertFactor());
}

void TCustomBandReport::PrintBand(TBRCustomBand* band)
{
    if (!band)
        return;
    if (band->AlignToBottom() && m_outputTarget) {
        if (band->BandType() == rbSummary && !(m_options & LastPageFooter))
            m_run.PageFooterSpace = 0;
        const bool landscape = m_page->Orientation() == poLandscape && m_page->PaperSize() != TBRPaperSize::Custom;
        const int paper = landscape ? m_outputTarget->PaperWidth() : m_outputTarget->PaperLength();
        const BRNative bottom = m_page->Native(TBRPage::iBottomMargin) + m_run.PageFooterSpace;
        const int need = brp::Round(bandHeight(band) + bottom);
        if (need <= paper - m_run.CursorY)
            m_run.CursorY = paper - brp::Round(bandHeight(band)) - brp::Round(bottom);
    }
    band->PrintSelf();
}

BRNative TCustomBandReport::PageBodyHeight() const
{
    return m_page->Native(TBRPage::iLength) - (m_page->Native(TBRPage::iTopMargin) + m_page->Native(TBRPage::iBottomMargin));
}

void TCustomBandReport::EnsureSpace(TBRCustomBand* band)
{
    const int need = brp::Round(band->RequiredHeight());
    const BRNative body = PageBodyHeight();
    const TBRBandType type = band->BandType();
    bool fits = type == rbPageFooter || need <= AvailableSpace() || need > body;
    if (m_run.PageNumber == 0)
        fits = false;
    if (fits) {
        if (type == rbDetail)
            m_run.DetailOverflow = false;
    } else {
        m_run.DetailOverflow = type == rbDetail;
        StartNewColumn();
    }
}

void TCustomBandReport::ForcePage()
{
    if (m_run.Available)
        return;
    if (m_run.SkipNextForcedPage) {
        m_run.SkipNextForcedPage = false;
        return;
    }
    // Until a new page has begun: at most one call per column.
    const int columns = std::max(1, m_page->Columns());
    int calls = 0;
    do {
        StartNewColumn();
    } while (m_run.ColumnNumber != 1 && ++calls <= columns);
}

void TCustomBandReport::ForceColumn()
{
    if (m_run.Available)
        return;
    if (m_run.ColumnForcePending || m_run.ColumnNumber > 1)
        StartNewColumn();
    else
        m_run.ColumnForcePending = true;
}
