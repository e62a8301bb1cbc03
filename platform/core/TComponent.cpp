#include "TComponent.h"

TComponent::TComponent(TComponent* owner) : QObject(owner)
{
    if (owner)
        owner->Notification(this, TOperation::opInsert);
}

TComponent::~TComponent()
{
    Destroying();
}

void TComponent::Destroying()
{
    if (m_destroying)
        return;
    m_destroying = true;
    NotifyRemoval();
}

void TComponent::NotifyRemoval()
{
    // Copy first: a handler may ask to stop notifications while we walk.
    const auto targets = m_freeNotifies;
    m_freeNotifies.clear();
    for (const auto& target : targets) {
        if (target && target != this) {
            target->m_freeNotifies.removeAll(this);
            target->Notification(this, TOperation::opRemove);
        }
    }
    if (auto* owner = Owner())
        owner->Notification(this, TOperation::opRemove);
}

int TComponent::ComponentCount() const
{
    int n = 0;
    for (auto* child : children())
        if (qobject_cast<TComponent*>(child))
            ++n;
    return n;
}

TComponent* TComponent::Components(int index) const
{
    int n = 0;
    for (auto* child : children())
        if (auto* c = qobject_cast<TComponent*>(child)) {
            if (n == index)
                return c;
            ++n;
        }
    return nullptr;
}

TComponent* TComponent::FindComponent(const QString& name) const
{
    for (auto* child : children())
        if (auto* c = qobject_cast<TComponent*>(child))
            if (c->Name().compare(name, Qt::CaseInsensitive) == 0)
                return c;
    return nullptr;
}

void TComponent::FreeNotification(TComponent* other)
{
    if (!other || other == this)
        return;
    if (!m_freeNotifies.contains(other))
        m_freeNotifies.append(other);
    if (!other->m_freeNotifies.contains(this))
        other->m_freeNotifies.append(this);
}

void TComponent::RemoveFreeNotification(TComponent* other)
{
    if (!other)
        return;
    m_freeNotifies.removeAll(other);
    other->m_freeNotifies.removeAll(this);
}

void TComponent::Notification(TComponent*, TOperation) {}
