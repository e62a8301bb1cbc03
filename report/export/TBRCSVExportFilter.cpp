#include "TBRCSVExportFilter.h"
#include "BRBandTexts.h"
#include "TBRCustomBand.h"

TBRCSVExportFilter::TBRCSVExportFilter(const QString& fileName, bool keepAllBands)
    : TBRExportFilter(fileName), m_file(fileName), m_keepAllBands(keepAllBands)
{
}

void TBRCSVExportFilter::Start(long double, long double, const TFont&)
{
    m_file.Open();
    m_file.Write(QByteArrayLiteral("\xEF\xBB\xBF"));
}

void TBRCSVExportFilter::PrintBand(QObject* object, int, int, long double)
{
    auto* band = qobject_cast<TBRCustomBand*>(object);
    if (!band)
        return;
    const TBRBandType type = band->EffectiveBandType();
    if (!m_keepAllBands && type != rbDetail && type != rbSubDetail)
        return;
    const QList<BRBandText> texts = brp::BandTexts(band);
    if (texts.isEmpty())
        return;
    QString line;
    for (qsizetype i = 0; i < texts.size(); ++i) {
        if (i > 0)
            line += u',';
        line += Quote(texts[i].Text);
    }
    // A lone empty field would read as a blank line, which readers skip.
    if (line.isEmpty())
        line = QStringLiteral("\"\"");
    line += QStringLiteral("\r\n");
    m_file.Write(line.toUtf8());
}

void TBRCSVExportFilter::Finish()
{
    m_file.Commit();
    SetWritten();
}

QString TBRCSVExportFilter::Quote(const QString& field)
{
    static const QString special = QStringLiteral(",\"\r\n");
    bool quote = false;
    for (QChar c : field)
        quote = quote || special.contains(c);
    if (!quote)
        return field;
    QString quoted = field;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}
