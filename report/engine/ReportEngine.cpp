#include "ReportEngine.h"
#include "BRControlClasses.h"
#include "BRExportClasses.h"
#include "BRRunWindowsRegistration.h"
#include "ExpressionEngine.h"
#include "TBRStandardPreview.h"
#include "TBRUnitBase.h"

namespace brp {

void StartReportEngine(const QString& appName, const QLocale& unitsLocale)
{
    // The output target cannot call up to the preview layer: it opens the
    // preview and the run's windows through what is registered here.
    RegisterStandardPreview();
    RegisterRunWindows();
    RegisterReportControlClasses();
    RegisterExportFilters();
    StartExpressionEngine(appName);
    TBRUnitBase::InitDefaultUnits(unitsLocale);
}

void StopReportEngine()
{
    StopExpressionEngine();
}

} // namespace brp
