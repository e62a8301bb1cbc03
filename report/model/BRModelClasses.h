#pragma once
// Puts the report, band, controller and printable classes in the class
// registry, so that definitions can name them. Done once.

#include "TComponent.h"

namespace brp {

void RegisterReportModelClasses();

// The registry's factory for an engine component under any parent: a
// component owner is passed on, any other parent (a window) becomes the
// QObject parent.
template <class T>
QObject* CreateReportComponent(QObject* parent)
{
    auto* owner = qobject_cast<TComponent*>(parent);
    auto* object = new T(owner);
    if (!owner && parent)
        object->setParent(parent);
    return object;
}

} // namespace brp
