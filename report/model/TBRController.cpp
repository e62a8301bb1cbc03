#include "TBRController.h"
#include "TCustomBandReport.h"
#include "TBRGroup.h"

TBRController::TBRController(TComponent* owner) : TBRCustomController(owner) {}

TBRController::~TBRController()
{
    Destroying();
}

void TBRController::ListBands(QList<TBRCustomBand*>& bands) const
{
    if (m_header)
        bands.append(m_header.data());
    for (TBRGroup* group : m_groupList)
        bands.append(group);
    for (TBRCustomController* c : m_beforeList)
        c->ListBands(bands);
    if (m_detail)
        bands.append(m_detail.data());
    for (TBRCustomController* c : m_afterList)
        c->ListBands(bands);
    for (qsizetype i = m_groupList.size() - 1; i >= 0; --i)
        if (TBRCustomBand* footer = m_groupList[i]->FooterBand())
            bands.append(footer);
    if (m_footer)
        bands.append(m_footer.data());
}

void TBRController::ListDataSets()
{
    TCustomBandReport* report = ParentReport();
    if (m_dataSet && m_dataSet->Active() && report && report->RunDataSets()
        && !report->RunDataSets()->contains(m_dataSet.data()))
        report->RunDataSets()->append(m_dataSet.data());
}

void TBRController::SetDataSet(TDataSet* dataSet)
{
    if (m_dataSet)
        RemoveFreeNotification(m_dataSet.data());
    m_dataSet = dataSet;
    if (dataSet)
        FreeNotification(dataSet);
}

void TBRController::setBand(ComponentRef<TBRCustomBand>& slot, TBRCustomBand* band)
{
    // A band may hold several slots: keep its notification while one does.
    TBRCustomBand* old = slot.data();
    slot = band;
    if (old && !m_header.refersTo(old) && !m_detail.refersTo(old) && !m_footer.refersTo(old) && old != SelfCheck())
        RemoveFreeNotification(old);
    if (band && band != SelfCheck())
        FreeNotification(band);
}

void TBRController::SetHeader(TBRCustomBand* band) { setBand(m_header, band); }
void TBRController::SetDetail(TBRCustomBand* band) { setBand(m_detail, band); }
void TBRController::SetFooter(TBRCustomBand* band) { setBand(m_footer, band); }

void TBRController::Notification(TComponent* component, TOperation operation)
{
    TBRCustomController::Notification(component, operation);
    if (operation != TOperation::opRemove)
        return;
    if (m_dataSet.refersTo(component))
        m_dataSet = nullptr;
    if (m_header.refersTo(component))
        m_header = nullptr;
    if (m_detail.refersTo(component))
        m_detail = nullptr;
    if (m_footer.refersTo(component))
        m_footer = nullptr;
}
