#pragma once
// A guarded reference to another component, like QPointer, that can be
// compared with a component while that one is being destroyed: the removal
// notice comes from the base destructor, when the object is no longer of the
// referenced type, so it must not be cast to it.

#include <QObject>
#include <QPointer>

template <class T>
class ComponentRef {
public:
    ComponentRef() = default;
    ComponentRef(T* object) : m_object(object) {}
    ComponentRef& operator=(T* object)
    {
        m_object = object;
        return *this;
    }
    ComponentRef& operator=(std::nullptr_t)
    {
        m_object = nullptr;
        return *this;
    }

    // Only while the object is alive and whole.
    T* Data() const { return static_cast<T*>(m_object.data()); }
    T* operator->() const { return Data(); }
    explicit operator bool() const { return !m_object.isNull(); }
    bool IsNull() const { return m_object.isNull(); }

    // Whether this refers to `object`, compared as plain objects.
    bool RefersTo(const QObject* object) const { return object && m_object.data() == object; }

private:
    QPointer<QObject> m_object;
};
