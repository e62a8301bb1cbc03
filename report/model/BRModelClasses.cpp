#include "BRModelClasses.h"
#include "ClassRegistry.h"
#include "TBRBand.h"
#include "TBRChildBand.h"
#include "TBRController.h"
#include "TBRGroup.h"
#include "TBRSubDetail.h"
#include "TBandReport.h"

#include <mutex>


void RegisterReportModelClasses()
{
    static std::once_flag once;
    std::call_once(once, [] {
        brp::RegisterClass(QStringLiteral("TBandReport"), CreateReportComponent<TBandReport>);
        brp::RegisterClass(QStringLiteral("TBRBand"), CreateReportComponent<TBRBand>);
        brp::RegisterClass(QStringLiteral("TBRChildBand"), CreateReportComponent<TBRChildBand>);
        brp::RegisterClass(QStringLiteral("TBRSubDetail"), CreateReportComponent<TBRSubDetail>);
        brp::RegisterClass(QStringLiteral("TBRGroup"), CreateReportComponent<TBRGroup>);
        brp::RegisterClass(QStringLiteral("TBRController"), CreateReportComponent<TBRController>);
    });
}
