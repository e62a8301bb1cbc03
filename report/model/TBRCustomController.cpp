#include "TBRCustomController.h"
#include "TBRControllerBand.h"
#include "TBRController.h"
#include "TBRGroup.h"
#include "TBRPrintable.h"
#include "TCustomBandReport.h"

TBRCustomController::TBRCustomController(TComponent* owner) : TComponent(owner)
{
    m_selfCheck = owner ? owner : this;
}

TBRCustomController::~TBRCustomController()
{
    Destroying();
}

TCustomBandReport* TBRCustomController::ParentReport() const
{
    return m_parentReport.data();
}

void TBRCustomController::SetParentReport(TCustomBandReport* report)
{
    m_parentReport = report;
}

void TBRCustomController::SetMaster(TComponent* master)
{
    if (master == this)
        return;
    if (master && !qobject_cast<TCustomBandReport*>(master) && !qobject_cast<TBRCustomController*>(master)
        && !qobject_cast<TBRControllerBand*>(master))
        return;
    if (m_master)
        RemoveFreeNotification(m_master.data());
    m_master = master;
    if (master)
        FreeNotification(master);
}

void TBRCustomController::CollectChildren()
{
    // A controller already collecting is not entered again: masters set by
    // hand on free controllers could otherwise form a circle.
    if (IsDestroying() || m_collecting)
        return;
    m_collecting = true;
    m_beforeList.clear();
    m_afterList.clear();
    m_groupList.clear();
    TComponent* self = m_selfCheck ? m_selfCheck.data() : this;
    QList<TBRCustomController*> seen;
    if (QObject* container = (self == this ? parent() : self->parent()))
        ScanChildren(container, seen);
    ScanChildren(self, seen);
    ListDataSets();
    m_collecting = false;
}

void TBRCustomController::ScanChildren(QObject* container, QList<TBRCustomController*>& seen)
{
    TComponent* self = m_selfCheck ? m_selfCheck.data() : this;
    const QObjectList children = container->children();
    for (QObject* object : children) {
        TBRCustomController* controller = nullptr;
        if (auto* band = qobject_cast<TBRControllerBand*>(object)) {
            if (!band->IsDestroying())
                controller = band->Controller();
        } else {
            controller = qobject_cast<TBRCustomController*>(object);
        }
        if (controller && controller != this && !controller->IsDestroying() && controller->Master() == self
            && !seen.contains(controller)) {
            seen.append(controller);
            controller->SetParentReport(m_parentReport.data());
            (controller->PrintBefore() ? m_beforeList : m_afterList).append(controller);
            controller->CollectChildren();
        }
        if (auto* group = qobject_cast<TBRGroup*>(object)) {
            if (group->Master() == self && !group->IsDestroying() && !m_groupList.contains(group)) {
                m_groupList.append(group);
                group->SetParentReport(m_parentReport.data());
            }
        }
    }
}

void TBRCustomController::ListBands(QList<TBRCustomBand*>&) const {}

void TBRCustomController::RegisterNotifyClient(TBRPrintable* client)
{
    if (!client)
        return;
    for (const auto& c : m_notifyClients)
        if (c == client)
            return;
    m_notifyClients.append(client);
}

void TBRCustomController::SendNotification(std::uint8_t code)
{
    const auto clients = m_notifyClients;
    for (const auto& client : clients)
        if (client)
            client->EngineNotify(this, code);
}

void TBRCustomController::AddBeforeController(TBRCustomController* controller)
{
    if (controller && !m_beforeList.contains(controller))
        m_beforeList.append(controller);
}

void TBRCustomController::AddAfterController(TBRCustomController* controller)
{
    if (controller && !m_afterList.contains(controller))
        m_afterList.append(controller);
}

void TBRCustomController::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation != TOperation::opRemove)
        return;
    if (component == m_master.data())
        m_master = nullptr;
    auto same = [component](const QObject* o) { return o == component; };
    m_beforeList.removeIf(same);
    m_afterList.removeIf(same);
    m_groupList.removeIf(same);
}
