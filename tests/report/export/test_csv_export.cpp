// The CSV filter on the listing: read back as a spreadsheet would, one order
// per row; quoting; the option that keeps headers and footers.
#include "ListingFixture.h"
#include "Rfc4180Reader.h"
#include "TBRCSVExportFilter.h"

namespace {
QList<QStringList> readBack(const QByteArray& bytes)
{
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF")) << "a byte order mark first";
    const auto records = brp::ReadRfc4180(QString::fromUtf8(bytes.mid(3)));
    EXPECT_TRUE(records.has_value()) << "not RFC 4180: " << bytes.left(300).toStdString();
    return records.value_or(QList<QStringList>());
}
} // namespace

TEST_F(ListingTest, CsvHoldsOneOrderPerRow)
{
    const QList<Pedido> rows = pedidos(130); // three pages
    TBRCSVExportFilter filter(path(QStringLiteral("listagem.csv")));
    listing(rows).ExportThrough(&filter);
    EXPECT_TRUE(filter.Written());
    EXPECT_GE(report->PageNumber(), 3);
    const QList<QStringList> records = readBack(readAll(filter.FileName()));
    ASSERT_EQ(records.size(), rows.size());
    for (qsizetype i = 0; i < rows.size(); ++i)
        ASSERT_EQ(records[i], rows[i].Texts()) << "row " << i;
    // The accents survive as UTF-8.
    EXPECT_TRUE(records[0][3].startsWith(QStringLiteral("Comércio São João")));
}

TEST_F(ListingTest, CsvKeepsHeadersAndFootersOnRequest)
{
    const QList<Pedido> rows = pedidos(60); // two pages
    TBRCSVExportFilter filter(path(QStringLiteral("tudo.csv")), true);
    listing(rows).ExportThrough(&filter);
    ASSERT_TRUE(filter.Written());
    const QList<QStringList> records = readBack(readAll(filter.FileName()));
    // Every page's header, each order, and the closing note.
    const int pages = report->PageNumber();
    ASSERT_EQ(records.size(), rows.size() + pages + 1);
    EXPECT_TRUE(records[0].contains(QStringLiteral("Nome Cliente"))) << records[0].join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(records[0].contains(QStringLiteral("Listagem de pedidos sem contas a receber")));
    EXPECT_EQ(records[1], rows[0].Texts());
    EXPECT_TRUE(records.last()[0].startsWith(QStringLiteral("Observação:")));
    int headers = 0;
    for (const QStringList& r : records)
        headers += r.contains(QStringLiteral("Nome Cliente"));
    EXPECT_EQ(headers, pages);
}

TEST(CsvQuote, QuotesOnlyWhatNeedsIt)
{
    const struct {
        const char* field;
        const char* written;
    } cases[] = {
        {"plain", "plain"},
        {"", ""},
        {"a,b", "\"a,b\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"two\nlines", "\"two\nlines\""},
        {"cr\rhere", "\"cr\rhere\""},
        {" spaced ", " spaced "},
        {"Pão", "Pão"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TBRCSVExportFilter::Quote(QString::fromUtf8(c.field)), QString::fromUtf8(c.written)) << c.field;
}

TEST(CsvQuote, WhatIsQuotedReadsBack)
{
    const QStringList fields{QStringLiteral("a,b"), QStringLiteral("say \"hi\""), QStringLiteral("two\r\nlines"), QStringLiteral(""), QStringLiteral("Açúcar")};
    QString line;
    for (const QString& f : fields)
        line += (line.isEmpty() ? QString() : QStringLiteral(",")) + TBRCSVExportFilter::Quote(f);
    const auto records = brp::ReadRfc4180(line + QStringLiteral("\r\n"));
    ASSERT_TRUE(records.has_value());
    ASSERT_EQ(records->size(), 1);
    EXPECT_EQ(records->front(), fields);
}
