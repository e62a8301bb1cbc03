#include "TBRTextExportFilter.h"
#include "BRBandTexts.h"
#include "BRRound.h"

#include <QMap>
#include <algorithm>
#include <cmath>

namespace {
// Bounds for absurd geometry: no line grows past this many columns and no
// band past this many rows.
constexpr int kMaxColumn = 4000;
constexpr int kMaxRow = 1000;

// Control characters (a form feed in the data above all) would break pages
// and lines apart: each becomes a blank.
QString printable(const QString& text)
{
    QString out = text;
    for (QChar& c : out)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = u' ';
    return out;
}

// Writes `text` into `line` from `start`, after what is there already.
void place(QString& line, int start, const QString& text)
{
    if (text.isEmpty())
        return;
    start = std::clamp(start, 0, kMaxColumn);
    if (!line.isEmpty() && start <= line.size())
        start = line.size() + 1;
    line += QString(start - line.size(), u' ');
    line += text;
}
} // namespace

TBRTextExportFilter::TBRTextExportFilter(const QString& fileName) : TBRExportFilter(fileName), m_file(fileName) {}

int TBRTextExportFilter::Column(long double x)
{
    return brp::Round(x / ColumnPitch);
}

void TBRTextExportFilter::Start(long double, long double, const TFont&)
{
    m_file.Open();
    m_pages = 0;
}

void TBRTextExportFilter::StartPage()
{
    if (m_pages++ > 0)
        m_file.Write(QByteArrayLiteral("\f"));
}

void TBRTextExportFilter::PrintBand(QObject* band, int x, int, long double)
{
    const QList<BRBandText> texts = brp::BandTexts(band);
    struct Piece {
        int start;
        QString text;
    };
    QMap<int, QList<Piece>> rows;
    for (const BRBandText& t : texts) {
        const QStringList& lines = t.Lines;
        // Rows by the top edge: texts a little lower on the same line stay on it.
        const long double row = std::floor(t.Top / RowPitch + 0.01L);
        const int firstRow = std::isfinite(row) ? int(std::clamp(row, 0.0L, (long double)kMaxRow)) : 0;
        for (qsizetype k = 0; k < lines.size() && firstRow + k <= kMaxRow; ++k) {
            const QString text = printable(lines[k]).trimmed();
            if (text.isEmpty())
                continue;
            const int left = std::clamp(Column(x + t.Left), 0, kMaxColumn);
            const int right = std::clamp(Column(x + t.Left + t.Width), left, kMaxColumn);
            int start = left;
            if (t.Alignment == taRightJustify)
                start = right - int(text.size());
            else if (t.Alignment == taCenter)
                start = (left + right - int(text.size())) / 2;
            rows[firstRow + int(k)].append({std::max(start, 0), text});
        }
    }
    if (rows.isEmpty())
        return;
    QString out;
    const int last = rows.lastKey();
    for (int row = rows.firstKey(); row <= last; ++row) {
        QList<Piece> pieces = rows.value(row);
        std::stable_sort(pieces.begin(), pieces.end(), [](const Piece& a, const Piece& b) { return a.start < b.start; });
        QString line;
        for (const Piece& p : pieces)
            place(line, p.start, p.text);
        out += line + u'\n';
    }
    m_file.Write(out.toUtf8());
}

void TBRTextExportFilter::Finish()
{
    m_file.Commit();
    SetWritten();
}
