#include "BRControlClasses.h"
#include "BRModelClasses.h"
#include "ClassRegistry.h"
#include "TBRDBText.h"
#include "TBRExpr.h"
#include "TBRLabel.h"
#include "TBRShape.h"

#include <mutex>


void RegisterReportControlClasses()
{
    RegisterReportModelClasses();
    static std::once_flag once;
    std::call_once(once, [] {
        brp::RegisterClass(QStringLiteral("TBRLabel"), CreateReportComponent<TBRLabel>);
        brp::RegisterClass(QStringLiteral("TBRDBText"), CreateReportComponent<TBRDBText>);
        brp::RegisterClass(QStringLiteral("TBRExpr"), CreateReportComponent<TBRExpr>);
        brp::RegisterClass(QStringLiteral("TBRShape"), CreateReportComponent<TBRShape>);
    });
}
