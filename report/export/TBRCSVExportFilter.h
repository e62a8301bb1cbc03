#pragma once
// Comma-separated values: one line per printed detail band, its controls'
// texts left to right. Quoted as RFC 4180 wants (CRLF line ends), UTF-8 with
// a byte order mark so that spreadsheet programs read the accents. Headers,
// footers and the other bands are left out unless KeepAllBands is set.

#include "BRExportFile.h"
#include "TBRExportFilter.h"

class TBRCSVExportFilter : public TBRExportFilter {
public:
    explicit TBRCSVExportFilter(const QString& fileName, bool keepAllBands = false);

    bool KeepAllBands() const { return m_keepAllBands; }

    void Start(long double pageWidth, long double pageLength, const TFont& font) override;
    void PrintBand(QObject* band, int x, int y, long double expanded) override;
    void Finish() override;

    // One field as it is written: quoted when it holds a comma, a quote or a
    // line end, its quotes doubled.
    static QString Quote(const QString& field);

private:
    BRExportFile m_file;
    bool m_keepAllBands;
};
