#include "TBRControllerBand.h"
#include "BRDefinitionWriter.h"
#include "TBRController.h"
#include "TCustomBandReport.h"

TBRControllerBand::TBRControllerBand(TComponent* owner) : TBRCustomBand(owner)
{
    m_controller = CreateController();
}

TBRControllerBand::~TBRControllerBand()
{
    BeginDestroy();
    delete m_controller;
    m_controller = nullptr;
}

TBRController* TBRControllerBand::CreateController()
{
    auto* controller = new TBRController(this);
    controller->SetSelfCheck(this);
    controller->SetDetail(this);
    return controller;
}

TComponent* TBRControllerBand::Master() const
{
    return m_controller ? m_controller->Master() : nullptr;
}

void TBRControllerBand::SetMaster(TComponent* master)
{
    if (!m_controller || master == this)
        return;
    // Refused when following the masters of controller bands leads back here.
    int steps = 0;
    for (TComponent* m = master; m && steps < 100000; ++steps) {
        if (m == this)
            return;
        auto* band = qobject_cast<TBRControllerBand*>(m);
        m = band ? band->Master() : nullptr;
    }
    m_controller->SetMaster(master);
    if (m_controller->Master() != master)
        return;
    if (master)
        FreeNotification(master);
    ReorderReport();
}

void TBRControllerBand::SetParentReport(TCustomBandReport* report)
{
    TBRCustomBand::SetParentReport(report);
    if (m_controller)
        m_controller->SetParentReport(report);
    if (report && !Master())
        SetMaster(report);
}

void TBRControllerBand::Notification(TComponent* component, TOperation operation)
{
    TBRCustomBand::Notification(component, operation);
    // The controller clears its own Master; nothing else is kept here.
}

void TBRControllerBand::WriteProperties(BRDefinitionWriter& w) const
{
    TBRCustomBand::WriteProperties(w);
    w.WriteRef(QStringLiteral("Master"), Master());
}
