#include "BRModelClasses.h"
#include "ClassRegistry.h"
#include "TBRBand.h"
#include "TBRChildBand.h"
#include "TBRController.h"
#include "TBRGroup.h"
#include "TBRSubDetail.h"
#include "TBandReport.h"

#include <mutex>

namespace brp {

void RegisterReportModelClasses()
{
    static std::once_flag once;
    std::call_once(once, [] {
        RegisterClass(QStringLiteral("TBandReport"), CreateReportComponent<TBandReport>);
        RegisterClass(QStringLiteral("TBRBand"), CreateReportComponent<TBRBand>);
        RegisterClass(QStringLiteral("TBRChildBand"), CreateReportComponent<TBRChildBand>);
        RegisterClass(QStringLiteral("TBRSubDetail"), CreateReportComponent<TBRSubDetail>);
        RegisterClass(QStringLiteral("TBRGroup"), CreateReportComponent<TBRGroup>);
        RegisterClass(QStringLiteral("TBRController"), CreateReportComponent<TBRController>);
    });
}

} // namespace brp
