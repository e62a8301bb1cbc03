#include "BRControlClasses.h"
#include "BRModelClasses.h"
#include "ClassRegistry.h"
#include "TBRDBText.h"
#include "TBRExpr.h"
#include "TBRLabel.h"
#include "TBRShape.h"

#include <mutex>

namespace brp {

void RegisterReportControlClasses()
{
    RegisterReportModelClasses();
    static std::once_flag once;
    std::call_once(once, [] {
        RegisterClass(QStringLiteral("TBRLabel"), CreateReportComponent<TBRLabel>);
        RegisterClass(QStringLiteral("TBRDBText"), CreateReportComponent<TBRDBText>);
        RegisterClass(QStringLiteral("TBRExpr"), CreateReportComponent<TBRExpr>);
        RegisterClass(QStringLiteral("TBRShape"), CreateReportComponent<TBRShape>);
    });
}

} // namespace brp
