#pragma once
// Component model: an owner tree on top of QObject parenthood, free
// notification between components that refer to each other without owning,
// and the loading / designing state that definition reading and events use.

#include <QObject>
#include <QPointer>
#include <QString>
#include <QList>

enum class TOperation { opInsert, opRemove };

class TComponent : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
public:
    explicit TComponent(TComponent* owner = nullptr);
    ~TComponent() override;

    TComponent* Owner() const { return qobject_cast<TComponent*>(parent()); }
    QString Name() const { return objectName(); }
    // Virtual: a control may react to its new name (a label takes it as its caption).
    virtual void SetName(const QString& name) { setObjectName(name); }

    // Components owned by this one, in creation order.
    int ComponentCount() const;
    TComponent* Components(int index) const;
    TComponent* FindComponent(const QString& name) const;

    // Ask to be told (through Notification with opRemove) when `other` is
    // destroyed. Symmetric, as the platform does: each side hears of the other.
    void FreeNotification(TComponent* other);
    void RemoveFreeNotification(TComponent* other);

    // Called on this component when a component it asked about is going away,
    // and on the owner when a child is inserted or removed.
    virtual void Notification(TComponent* component, TOperation operation);

    // Definition reading: set while properties are read, cleared before Loaded.
    bool IsLoading() const { return m_loading; }
    void BeginLoading() { m_loading = true; }
    virtual void Loaded() { m_loading = false; }

    // Destruction: derived destructors call Destroying first, so that the
    // components told of the removal still see a whole object.
    bool IsDestroying() const { return m_destroying; }
    void Destroying();

    // A component being designed never fires its events.
    bool IsDesigning() const { return m_designing; }
    void SetDesigning(bool value) { m_designing = value; }

private:
    void NotifyRemoval();

    QList<QPointer<TComponent>> m_freeNotifies;
    bool m_loading = false;
    bool m_designing = false;
    bool m_destroying = false;
};
