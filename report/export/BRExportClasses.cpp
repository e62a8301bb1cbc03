#include "BRExportClasses.h"
#include "TBRCSVExportFilter.h"
#include "TBRPDFExportFilter.h"
#include "TBRTextExportFilter.h"

#include <mutex>

namespace {
template <typename Filter>
TBRExportFilterClass filterClass()
{
    return [](const QString& fileName) -> std::unique_ptr<TBRExportFilter> { return std::make_unique<Filter>(fileName); };
}
} // namespace

namespace brp {

void RegisterExportFilters()
{
    static std::once_flag once;
    std::call_once(once, [] {
        auto& filters = ExportFilterLibrary().Filters;
        filters.append({filterClass<TBRPDFExportFilter>(), QStringLiteral("PDF document"), QStringLiteral("pdf")});
        filters.append({filterClass<TBRCSVExportFilter>(), QStringLiteral("Comma-separated values"), QStringLiteral("csv")});
        filters.append({filterClass<TBRTextExportFilter>(), QStringLiteral("Plain text"), QStringLiteral("txt")});
    });
}

} // namespace brp
