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
        bands.append(m_header.Data());
    for (TBRGroup* group : m_groupList)
        bands.append(group);
    for (TBRCustomController* c : m_beforeList)
        c->ListBands(bands);
    if (m_detail)
        bands.append(m_detail.Data());
    for (TBRCustomController* c : m_afterList)
        c->ListBands(bands);
    for (qsizetype i = m_groupList.size() - 1; i >= 0; --i)
        if (TBRCustomBand* footer = m_groupList[i]->FooterBand())
            bands.append(footer);
    if (m_footer)
        bands.append(m_footer.Data());
}

void TBRController::ListDataSets()
{
    TCustomBandReport* report = ParentReport();
    if (m_dataSet && m_dataSet->Active() && report && report->RunDataSets()
        && !report->RunDataSets()->contains(m_dataSet.Data()))
        report->RunDataSets()->append(m_dataSet.Data());
}

void TBRController::SetDataSet(TDataSet* dataSet)
{
    if (m_dataSet)
        RemoveFreeNotification(m_dataSet.Data());
    m_dataSet = dataSet;
    if (dataSet)
        FreeNotification(dataSet);
}

void TBRController::SetBand(ComponentRef<TBRCustomBand>& slot, TBRCustomBand* band)
{
    // A band may hold several slots: keep its notification while one does.
    TBRCustomBand* old = slot.Data();
    slot = band;
    if (old && !m_header.RefersTo(old) && !m_detail.RefersTo(old) && !m_footer.RefersTo(old) && old != SelfCheck())
        RemoveFreeNotification(old);
    if (band && band != SelfCheck())
        FreeNotification(band);
}

void TBRController::SetHeader(TBRCustomBand* band) { SetBand(m_header, band); }
void TBRController::SetDetail(TBRCustomBand* band) { SetBand(m_detail, band); }
void TBRController::SetFooter(TBRCustomBand* band) { SetBand(m_footer, band); }

void TBRController::Notification(TComponent* component, TOperation operation)
{
    TBRCustomController::Notification(component, operation);
    if (operation != TOperation::opRemove)
        return;
    if (m_dataSet.RefersTo(component))
        m_dataSet = nullptr;
    if (m_header.RefersTo(component))
        m_header = nullptr;
    if (m_detail.RefersTo(component))
        m_detail = nullptr;
    if (m_footer.RefersTo(component))
        m_footer = nullptr;
}
