#include "BRControlClasses.h"
#include "BRModelClasses.h"
#include "ClassRegistry.h"
#include "TBRDBText.h"
#include "TBRExpr.h"
#include "TBRLabel.h"
#include "TBRShape.h"

#include <mutex>

namespace {
// Printables are owned by a component (the window or the report); any other
// parent becomes the QObject parent.
template <class T>
QObject* create(QObject* parent)
{
    auto* owner = qobject_cast<TComponent*>(parent);
    auto* object = new T(owner);
    if (!owner && parent)
        object->setParent(parent);
    return object;
}
} // namespace

void RegisterReportControlClasses()
{
    RegisterReportModelClasses();
    static std::once_flag once;
    std::call_once(once, [] {
        RegisterClass(QStringLiteral("TBRLabel"), create<TBRLabel>);
        RegisterClass(QStringLiteral("TBRDBText"), create<TBRDBText>);
        RegisterClass(QStringLiteral("TBRExpr"), create<TBRExpr>);
        RegisterClass(QStringLiteral("TBRShape"), create<TBRShape>);
    });
}
