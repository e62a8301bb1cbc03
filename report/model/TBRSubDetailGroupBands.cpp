#include "TBRSubDetailGroupBands.h"
#include "TBRBand.h"
#include "TBRSubDetail.h"
#include "TCustomBandReport.h"

bool TBRSubDetailGroupBands::HasHeader() const
{
    return m_band->HeaderBand() != nullptr;
}

bool TBRSubDetailGroupBands::HasFooter() const
{
    return m_band->FooterBand() != nullptr;
}

void TBRSubDetailGroupBands::SetHasHeader(bool value)
{
    if (m_band->IsLoading())
        return; // the bands themselves are read
    if (value && !m_band->HeaderBand()) {
        if (TCustomBandReport* report = m_band->ParentReport())
            m_band->SetHeaderBand(report->NewBand(rbGroupHeader));
    } else if (!value && m_band->HeaderBand()) {
        TBRCustomBand* band = m_band->HeaderBand();
        m_band->SetHeaderBand(nullptr);
        delete band;
    }
}

void TBRSubDetailGroupBands::SetHasFooter(bool value)
{
    if (m_band->IsLoading())
        return;
    if (value && !m_band->FooterBand()) {
        if (TCustomBandReport* report = m_band->ParentReport())
            m_band->SetFooterBand(report->NewBand(rbGroupFooter));
    } else if (!value && m_band->FooterBand()) {
        TBRCustomBand* band = m_band->FooterBand();
        m_band->SetFooterBand(nullptr);
        delete band;
    }
}
