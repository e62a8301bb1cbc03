#include "TBRChildBand.h"
#include "BRDefinitionWriter.h"
#include "TCustomBandReport.h"

TBRChildBand::TBRChildBand(TComponent* owner) : TBRCustomBand(owner)
{
    m_bandType = rbChild;
}

TBRChildBand::~TBRChildBand()
{
    BeginDestroy();
}

void TBRChildBand::SetParentBand(TBRCustomBand* band)
{
    if (band == m_parentBand)
        return;
    if (!ParentReport())
        return;
    // Refused when following the parents leads back here. While a definition
    // is read its reader looks for circles once, over every parent.
    if (!IsLoading())
        for (TBRCustomBand* b = band; b;) {
            if (b == this)
                return;
            auto* child = qobject_cast<TBRChildBand*>(b);
            b = child ? child->ParentBand() : nullptr;
        }
    if (m_parentBand)
        RemoveFreeNotification(m_parentBand.data());
    m_parentBand = band;
    if (band)
        FreeNotification(band);
    ParentReport()->BandLinksChanged();
    ReorderReport();
}

void TBRChildBand::Notification(TComponent* component, TOperation operation)
{
    TBRCustomBand::Notification(component, operation);
    if (operation == TOperation::opRemove && component == m_parentBand.data())
        SetParentBand(nullptr);
}

void TBRChildBand::WriteProperties(BRDefinitionWriter& w) const
{
    TBRCustomBand::WriteProperties(w);
    w.WriteRef(QStringLiteral("ParentBand"), m_parentBand.data());
}
