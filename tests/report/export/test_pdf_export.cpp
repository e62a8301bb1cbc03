// The PDF filter from the recorded pages of the listing: a page per report
// page on the report's paper, text kept as text in embedded font subsets.
#include "EBRError.h"
#include "ListingFixture.h"
#include "TBRPDFExportFilter.h"
#include "TBRPageList.h"
#include "TBRStream.h"
#include "TMetafileCanvas.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace {

// Every entry of the cross-reference table points at its own object (a
// reader may mend a broken table without a word; a test should not).
::testing::AssertionResult tableHolds(const QByteArray& pdf)
{
    const qsizetype sx = pdf.lastIndexOf("startxref");
    if (sx < 0)
        return ::testing::AssertionFailure() << "no startxref";
    const qint64 xref = pdf.mid(sx + 9).trimmed().split('\n').first().trimmed().toLongLong();
    const QByteArrayList lines = pdf.mid(xref).split('\n');
    if (lines.size() < 2 || lines[0] != "xref")
        return ::testing::AssertionFailure() << "startxref does not point at the table";
    const int count = lines[1].split(' ').value(1).toInt();
    for (int i = 1; i < count && 2 + i < lines.size(); ++i) {
        if (!lines[2 + i].contains(" n"))
            continue;
        const qint64 offset = lines[2 + i].left(10).toLongLong();
        if (!pdf.mid(offset).startsWith(QByteArray::number(i) + " 0 obj"))
            return ::testing::AssertionFailure() << "object " << i << " is not at " << offset;
    }
    return ::testing::AssertionSuccess();
}

// The page content streams of a PDF, decompressed, in the file's order.
QByteArrayList pageContents(const QByteArray& pdf)
{
    QByteArrayList pages;
    for (qsizetype at = pdf.indexOf("stream\n"); at >= 0; at = pdf.indexOf("stream\n", at + 1)) {
        if (at >= 3 && pdf.mid(at - 3, 3) == "end")
            continue;
        const qsizetype end = pdf.indexOf("endstream", at);
        // qUncompress wants the size first; any bound will do.
        const QByteArray code = QByteArray("\x00\x40\x00\x00", 4) + pdf.mid(at + 7, end - at - 7);
        const QByteArray data = qUncompress(code);
        if (data.contains(" Tj"))
            pages << data;
    }
    return pages;
}

} // namespace

TEST(PdfExport, LabelsThatDropAClipTheyNeverSetAddNothingToThePage)
{
    // A label removes its clip when done, set or not: in a PDF that started a
    // new graphics state (and set the pen again) for every label. The same
    // texts with and without the removals make the same page.
    QTemporaryDir dir;
    TBRPageList pages;
    pages.SetStore(std::make_unique<TBRStream>(100000));
    for (const bool removeClips : {true, false}) {
        TMetafileCanvas c(794, 1123);
        c.Font.Name = QStringLiteral("Arial");
        c.Font.SetSize(8);
        c.SetBkMode(TRANSPARENT);
        for (int i = 0; i < 100; ++i) {
            c.TextOut(40 + (i % 4) * 180, 40 + (i / 4) * 20, QStringLiteral("Linha %1").arg(i));
            if (removeClips)
                c.RemoveClipRegion();
        }
        pages.AppendPage(c.Finish());
    }
    TBRPDFExportFilter filter(dir.filePath(QStringLiteral("rotulos.pdf")));
    filter.ExportPages(pages, nullptr);
    ASSERT_TRUE(filter.Written());
    QFile f(filter.FileName());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArrayList contents = pageContents(f.readAll());
    ASSERT_EQ(contents.size(), 2);
    EXPECT_EQ(contents[0], contents[1]);
}

TEST_F(ListingTest, PdfKeepsTextPagesAndPaper)
{
    // Some twenty pages: the fonts are shared by all of them, so the size per
    // page is what a longer listing costs.
    const QList<Pedido> rows = pedidos(900);
    TBRPrinter& target = preview(rows);
    TBRPDFExportFilter filter(path(QStringLiteral("listagem.pdf")));
    target.RunExport(&filter);
    ASSERT_TRUE(filter.Written());
    EXPECT_TRUE(filter.Notes().isEmpty());
    const QByteArray bytes = readAll(filter.FileName());
    ASSERT_TRUE(bytes.startsWith("%PDF-"));
    EXPECT_LE(bytes.size() / target.PageTotal(), 10 * 1024) << "bytes per page";

    const QString info = poppler(QStringLiteral("pdfinfo"), {filter.FileName()});
    if (info.isNull())
        GTEST_SKIP() << "pdfinfo not available";
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+%1\\n").arg(target.PageTotal())))) << info.toStdString();
    EXPECT_TRUE(info.contains(QStringLiteral("(A4)"))) << info.toStdString();
    // Embedded; only the glyphs used (a whole font alone is past the budget).
    const QString fonts = poppler(QStringLiteral("pdffonts"), {filter.FileName()});
    const QStringList fontLines = fonts.split(u'\n', Qt::SkipEmptyParts).mid(2);
    EXPECT_FALSE(fontLines.isEmpty());
    // Subsets, named as such: "ABCDEF+Name", embedded, subset, with Unicode map.
    for (const QString& line : fontLines)
        EXPECT_TRUE(line.contains(QRegularExpression(QStringLiteral("^[A-Z]{6}\\+\\S+\\s.*Identity-H\\s+yes\\s+yes\\s+yes"))))
            << line.toStdString();
    EXPECT_TRUE(tableHolds(bytes));
    const QString text = poppler(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), filter.FileName(), QStringLiteral("-")});
    EXPECT_EQ(text.count(u'\f'), target.PageTotal());
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
    ASSERT_TRUE(target && target->State() == jsFinished);
    TBRPDFExportFilter filter(path(QStringLiteral("deitado.pdf")));
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
    TBRPDFExportFilter filter(path(QStringLiteral("nada.pdf")));
    EXPECT_THROW(target.RunExport(&filter), EBRError);
    EXPECT_FALSE(filter.Written());
    EXPECT_FALSE(QFileInfo::exists(filter.FileName()));
}
