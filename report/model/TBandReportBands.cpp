#include "TBandReportBands.h"
#include "TBRCustomBand.h"
#include "TCustomBandReport.h"

namespace {
// Switch index to band type; -1 for indexes that stand for no band.
int typeOf(int index)
{
    switch (index) {
    case 1: return rbTitle;
    case 2: return rbPageHeader;
    case 3: return rbColumnHeader;
    case 4: return rbDetail;
    case 6: return rbPageFooter;
    case 7: return rbSummary;
    default: return -1;
    }
}
} // namespace

bool TBandReportBands::GetBand(int index) const
{
    const int type = typeOf(index);
    return type >= 0 && m_report->FindBand(static_cast<TBRBandType>(type)) != nullptr;
}

void TBandReportBands::SetBand(int index, bool value)
{
    const int type = typeOf(index);
    if (type < 0 || m_report->IsLoading())
        return; // while reading, the bands themselves are read
    TBRCustomBand* band = m_report->FindBand(static_cast<TBRBandType>(type));
    if (value && !band)
        m_report->NewBand(static_cast<TBRBandType>(type));
    else if (!value && band)
        delete band;
}
