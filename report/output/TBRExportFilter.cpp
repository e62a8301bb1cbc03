#include "TBRExportFilter.h"

QString TBRExportFilterLibrary::BuildSaveFilter() const
{
    const QString ext = QStringLiteral("BRP");
    QString text = QStringLiteral("Report file") + QStringLiteral("(*.") + ext + QStringLiteral(")|*.") + ext;
    for (const Entry& e : Filters)
        text += u'|' + e.Description + QStringLiteral(" (*.") + e.Extension + QStringLiteral(")|*.") + e.Extension;
    return text;
}

TBRExportFilterLibrary& ExportFilterLibrary()
{
    static TBRExportFilterLibrary library;
    return library;
}

QString BuildSaveFilter()
{
    return ExportFilterLibrary().BuildSaveFilter();
}
