#pragma once
// PDF document from the recorded pages (the report is not run again): each
// page played onto a PDF writer, so text stays text (selectable, searchable)
// in subsets of its embedded fonts. A page takes the paper size its picture
// was recorded for.

#include "TBRExportFilter.h"

#include <QStringList>

class TBRPDFExportFilter : public TBRExportFilter {
public:
    explicit TBRPDFExportFilter(const QString& fileName);

    bool TakesRecordedPages() const override { return true; }
    // Raises EBRError (or the page store's error) for a file it cannot write
    // or a page it cannot read; a stop through `progress` writes nothing.
    void ExportPages(TBRPageList& pages, const TBRExportProgress& progress) override;

    // Document title; the file's base name unless set.
    void SetTitle(const QString& title) { m_title = title; }
    // Pages drawn only in part (damaged), one note each; the file is written.
    const QStringList& Notes() const { return m_notes; }

private:
    QString m_title;
    QStringList m_notes;
};
