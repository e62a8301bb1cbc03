// The PDF filter from the recorded pages of the listing: a page per report
// page on the report's paper, text kept as text in embedded font subsets.
#include "EBRError.h"
#include "ListingFixture.h"
#include "TBRPDFExportFilter.h"
#include "TBRPageList.h"

#include <QFileInfo>
#include <QRegularExpression>

TEST_F(ListingTest, PdfKeepsTextPagesAndPaper)
{
    // Some twenty pages: the fonts are shared by all of them, so the size per
    // page is what a longer listing costs.
    const QList<Pedido> rows = pedidos(900);
    TBRPrinter& target = preview(rows);
    TBRPDFExportFilter filter(path("listagem.pdf"));
    target.RunExport(&filter);
    ASSERT_TRUE(filter.Written());
    EXPECT_TRUE(filter.Notes().isEmpty());
    const QByteArray bytes = readAll(filter.FileName());
    ASSERT_TRUE(bytes.startsWith("%PDF-"));
    EXPECT_LE(bytes.size() / target.PageTotal, 10 * 1024) << "bytes per page";

    const QString info = poppler(QStringLiteral("pdfinfo"), {filter.FileName()});
    if (info.isNull())
        GTEST_SKIP() << "pdfinfo not available";
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+%1\\n").arg(target.PageTotal)))) << info.toStdString();
    EXPECT_TRUE(info.contains(QStringLiteral("(A4)"))) << info.toStdString();
    // Embedded; only the glyphs used (a whole font alone is past the budget).
    const QString fonts = poppler(QStringLiteral("pdffonts"), {filter.FileName()});
    const QStringList fontLines = fonts.split(u'\n', Qt::SkipEmptyParts).mid(2);
    EXPECT_FALSE(fontLines.isEmpty());
    for (const QString& line : fontLines)
        EXPECT_TRUE(line.contains(QRegularExpression(QStringLiteral("Identity-H\\s+yes")))) << line.toStdString();
    const QString text = poppler(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), filter.FileName(), QStringLiteral("-")});
    EXPECT_EQ(text.count(u'\f'), target.PageTotal);
    // Names short enough for their box (a longer one wraps, and its second
    // line does not fit the band).
    for (const Pedido& p : {rows[1], rows[473], rows[898]})
        EXPECT_TRUE(text.contains(p.nome)) << p.nome.toStdString();
}

TEST_F(ListingTest, PdfTurnsLandscapePages)
{
    listing(pedidos(5)).Page()->SetOrientation(poLandscape);
    report->Preview();
    TBRPrinter* target = report->OutputTarget();
    ASSERT_TRUE(target && target->State == jsFinished);
    TBRPDFExportFilter filter(path("deitado.pdf"));
    target->RunExport(&filter);
    ASSERT_TRUE(filter.Written());
    const QString info = poppler(QStringLiteral("pdfinfo"), {filter.FileName()});
    if (info.isNull())
        GTEST_SKIP() << "pdfinfo not available";
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Page size:\\s+842 x 595 pts \\(A4\\)")))) << info.toStdString();
}

TEST_F(ListingTest, PdfNeedsFinishedPages)
{
    TBRPrinter target(nullptr);
    TBRPDFExportFilter filter(path("nada.pdf"));
    EXPECT_THROW(target.RunExport(&filter), EBRError);
    EXPECT_FALSE(filter.Written());
    EXPECT_FALSE(QFileInfo::exists(filter.FileName()));
}
