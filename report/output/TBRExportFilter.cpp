#include "TBRExportFilter.h"

QString TBRExportFilterLibrary::BuildSaveFilter() const
{
    const QString ext = QStringLiteral("BRP");
    QString text = QStringLiteral("Report file") + QStringLiteral("(*.") + ext + QStringLiteral(")|*.") + ext;
    for (const Entry& e : Filters)
        text += u'|' + e.Description + QStringLiteral(" (*.") + e.Extension + QStringLiteral(")|*.") + e.Extension;
    return text;
}

const TBRExportFilterLibrary::Entry* TBRExportFilterLibrary::FindByExtension(const QString& extension) const
{
    for (const Entry& e : Filters)
        if (e.Extension.compare(extension, Qt::CaseInsensitive) == 0)
            return &e;
    return nullptr;
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
