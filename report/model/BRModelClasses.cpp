#include "BRModelClasses.h"
#include "ClassRegistry.h"
#include "TBRBand.h"
#include "TBRChildBand.h"
#include "TBRController.h"
#include "TBRGroup.h"
#include "TBRSubDetail.h"
#include "TBandReport.h"

#include <mutex>

namespace {
// A component under any parent: a component owner is passed on, any other
// parent (a window) becomes the QObject parent.
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

void RegisterReportModelClasses()
{
    static std::once_flag once;
    std::call_once(once, [] {
        RegisterClass(QStringLiteral("TBandReport"), create<TBandReport>);
        RegisterClass(QStringLiteral("TBRBand"), create<TBRBand>);
        RegisterClass(QStringLiteral("TBRChildBand"), create<TBRChildBand>);
        RegisterClass(QStringLiteral("TBRSubDetail"), create<TBRSubDetail>);
        RegisterClass(QStringLiteral("TBRGroup"), create<TBRGroup>);
        RegisterClass(QStringLiteral("TBRController"), create<TBRController>);
    });
}
