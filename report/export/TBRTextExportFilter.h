#pragma once
// Plain text: each page's bands as lines of text, every control's text at the
// column of its place on the paper, pages separated by form feeds ("\f").
// Fixed pitch: 17 characters per inch across (a column is 1/17 inch, about
// 1.5 mm: the condensed pitch of a dot-matrix printer, narrow enough for the
// texts of a 10-point listing) and 6 lines per inch down (a row is 1/6 inch)
// within a band; a band takes at least one line. Each control writes the
// lines it printed. Texts that would run into each other keep one blank
// between them. UTF-8, lines end in "\n".

#include "BRExportFile.h"
#include "TBRExportFilter.h"

class TBRTextExportFilter : public TBRExportFilter {
public:
    static constexpr long double ColumnPitch = 254.0L / 17; // native units
    static constexpr long double RowPitch = 254.0L / 6;

    explicit TBRTextExportFilter(const QString& fileName);

    void Start(long double pageWidth, long double pageLength, const TFont& font) override;
    void StartPage() override;
    void PrintBand(QObject* band, int x, int y, long double expanded) override;
    void Finish() override;

    // The column of a native position from the paper's left edge.
    static int Column(long double x);

private:
    BRExportFile m_file;
    int m_pages = 0;
};
