#include "TBRGroup.h"
#include "BRDefinitionWriter.h"
#include "TBRControllerBand.h"
#include "TBREvaluator.h"
#include "TCustomBandReport.h"

TBRGroup::TBRGroup(TComponent* owner) : TBRCustomBand(owner), m_evaluator(std::make_unique<TBREvaluator>())
{
    m_bandType = rbGroupHeader;
}

TBRGroup::~TBRGroup()
{
    BeginDestroy();
}

void TBRGroup::SetFooterBand(TBRCustomBand* band)
{
    if (band == this)
        return;
    if (m_footerBand)
        RemoveFreeNotification(m_footerBand.data());
    m_footerBand = band;
    if (band) {
        FreeNotification(band);
        band->SetBandType(rbGroupFooter);
    } else {
        ReorderReport();
    }
}

void TBRGroup::SetMaster(TComponent* master)
{
    if (master && !qobject_cast<TCustomBandReport*>(master) && !qobject_cast<TBRControllerBand*>(master))
        return;
    if (m_master)
        RemoveFreeNotification(m_master.data());
    m_master = master;
    if (master)
        FreeNotification(master);
    ReorderReport();
}

void TBRGroup::SetParentReport(TCustomBandReport* report)
{
    TBRCustomBand::SetParentReport(report);
    if (report && !m_master)
        SetMaster(report);
}

void TBRGroup::Notification(TComponent* component, TOperation operation)
{
    TBRCustomBand::Notification(component, operation);
    if (operation != TOperation::opRemove)
        return;
    if (component == m_footerBand.data())
        m_footerBand = nullptr;
    if (component == m_master.data())
        m_master = nullptr;
}

void TBRGroup::WriteProperties(BRDefinitionWriter& w) const
{
    TBRCustomBand::WriteProperties(w);
    w.WriteString(QStringLiteral("Expression"), m_expression);
    w.WriteRef(QStringLiteral("FooterBand"), m_footerBand.data());
    w.WriteRef(QStringLiteral("Master"), m_master.data());
    w.WriteBool(QStringLiteral("ReprintOnNewPage"), m_reprintOnNewPage);
}
