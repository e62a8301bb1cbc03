#pragma once
// Export filters: a run can be sent through one instead of to pages. The
// registry lists the filters the save dialog offers; none is registered here.

#include <QList>
#include <QString>
#include <functional>
#include <memory>

class TBRExportFilter {
public:
    explicit TBRExportFilter(const QString& fileName) : m_fileName(fileName) {}
    virtual ~TBRExportFilter() = default;
    const QString& FileName() const { return m_fileName; }

private:
    QString m_fileName;
};

// A filter class: makes a filter writing to the chosen file.
using TBRExportFilterClass = std::function<std::unique_ptr<TBRExportFilter>(const QString& fileName)>;

class TBRExportFilterLibrary {
public:
    struct Entry {
        TBRExportFilterClass FilterClass;
        QString Description;
        QString Extension; // without the dot
    };
    QList<Entry> Filters;

    // The save dialog's filter text: saved-report files first, then every entry.
    QString BuildSaveFilter() const;
};

// The one registry of the process.
TBRExportFilterLibrary& ExportFilterLibrary();
QString BuildSaveFilter();
