#pragma once
// Export filters: a run can be sent through one instead of to pages, or a
// filter can take the pages already recorded. The registry lists the filters
// the save dialog offers; the export library registers them.

#include <QList>
#include <QString>
#include "TGraphics.h"
#include <functional>
#include <memory>

class QObject;
class TBRPageList;

// Told each page as it is done (1-based) and the page count; false stops.
using TBRExportProgress = std::function<bool(int page, int pageTotal)>;

class TBRExportFilter {
public:
    explicit TBRExportFilter(const QString& fileName) : m_fileName(fileName) {}
    virtual ~TBRExportFilter() = default;
    TBRExportFilter(const TBRExportFilter&) = delete;
    TBRExportFilter& operator=(const TBRExportFilter&) = delete;
    const QString& FileName() const { return m_fileName; }

    // What a run tells the filter, in this order: Start once, then for every
    // page StartPage, the bands printed on it and EndPage, then Finish (not
    // after a failed or cancelled run). Lengths are native units.
    virtual void Start(long double pageWidth, long double pageLength, const TFont& font) {}
    virtual void StartPage() {}
    // A printed band (the report's band object), where its top-left corner
    // was and by how much its controls made it taller.
    virtual void PrintBand(QObject* band, int x, int y, long double expanded) {}
    virtual void EndPage() {}
    virtual void Finish() {}
    // A continuous filter takes one endless page: bands never wait for room.
    virtual bool IsContinuous() const { return false; }

    // A filter that works from the recorded pages instead of a run of its
    // own: the target hands it its page list when its job has finished.
    virtual bool TakesRecordedPages() const { return false; }
    virtual void ExportPages(TBRPageList& pages, const TBRExportProgress& progress) {}

    // True once the whole file was written; a failed, cancelled or refused
    // export leaves it false (and no file behind).
    bool Written() const { return m_written; }

protected:
    void SetWritten() { m_written = true; }

private:
    QString m_fileName;
    bool m_written = false;
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
    // The entry for a file extension (without the dot, any case), or none.
    const Entry* FindByExtension(const QString& extension) const;
};

// The one registry of the process.
TBRExportFilterLibrary& ExportFilterLibrary();
QString BuildSaveFilter();
