// Naming font subsets in a PDF's tail: tags go into the fonts' names, every
// offset after them moves, and a tail not laid out as expected is left as
// it is.
#include "PdfSubsetTagger.h"

#include <QBuffer>
#include <QByteArrayList>
#include <gtest/gtest.h>

namespace {

// A PDF of the given objects (numbered from 1), with a correct table.
QByteArray pdfOf(const QByteArrayList& objects)
{
    QByteArray pdf = "%PDF-1.4\n";
    QList<qsizetype> offsets;
    for (qsizetype i = 0; i < objects.size(); ++i) {
        offsets << pdf.size();
        pdf += QByteArray::number(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const qsizetype xref = pdf.size();
    pdf += "xref\n0 " + QByteArray::number(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (const qsizetype o : offsets)
        pdf += QByteArray::number(o).rightJustified(10, '0') + " 00000 n \n";
    pdf += "trailer\n<< /Size " + QByteArray::number(objects.size() + 1) + " /Root 1 0 R >>\nstartxref\n" +
           QByteArray::number(xref) + "\n%%EOF\n";
    return pdf;
}

// Every entry of the table points at its own object.
::testing::AssertionResult tableHolds(const QByteArray& pdf)
{
    const qsizetype sx = pdf.lastIndexOf("startxref");
    const qsizetype xref = pdf.mid(sx + 9).trimmed().split('\n').first().trimmed().toLongLong();
    if (!pdf.mid(xref).startsWith("xref\n0 "))
        return ::testing::AssertionFailure() << "startxref does not point at the table";
    const QByteArrayList lines = pdf.mid(xref).split('\n');
    const int count = lines[1].split(' ')[1].toInt();
    for (int i = 1; i < count; ++i) {
        const qsizetype offset = lines[2 + i].left(10).toLongLong();
        if (!pdf.mid(offset).startsWith(QByteArray::number(i) + " 0 obj"))
            return ::testing::AssertionFailure() << "object " << i << " is not at " << offset;
    }
    return ::testing::AssertionSuccess();
}

const QByteArray kDescriptor = "<< /Type /FontDescriptor\n/FontName /QABCDE+LiberationSans\n/FontFile2 5 0 R >>";
const QByteArray kCidFont = "<< /Type /Font\n/Subtype /CIDFontType2\n/BaseFont /LiberationSans\n/FontDescriptor 2 0 R >>";
const QByteArray kType0 = "<< /Type /Font\n/Subtype /Type0\n/BaseFont /LiberationSans\n/DescendantFonts [3 0 R] >>";

} // namespace

TEST(PdfSubsetTagger, FontsTakeTheirSubsetsTag)
{
    struct Case {
        const char* what;
        QByteArrayList objects;
        int tailFrom; // the tail starts at this object
        QByteArrayList names;
    } cases[] = {
        {"tagged descriptor", {"<< /Type /Catalog >>", kDescriptor, kCidFont, kType0, "<< /Length 0 >>\nstream\n\nendstream"}, 2,
         {"/FontName /QABCDE+LiberationSans", "/BaseFont /QABCDE+LiberationSans", "/BaseFont /QABCDE+LiberationSans"}},
        {"descriptor without a tag",
         {"<< /Type /Catalog >>", QByteArray(kDescriptor).replace("QABCDE+", ""), kCidFont, kType0,
          "<< /Length 0 >>\nstream\n\nendstream"},
         2,
         {"/FontName /AAAAAC+LiberationSans", "/BaseFont /AAAAAC+LiberationSans", "/BaseFont /AAAAAC+LiberationSans"}},
        // A stream that happens to hold "/BaseFont /X" is data, not a font.
        {"font names in a stream",
         {"<< /Length 16 >>\nstream\n/BaseFont /Fake\nendstream", kDescriptor, kCidFont, kType0, "<< /Length 0 >>\nstream\n\nendstream"},
         1,
         {"/BaseFont /Fake", "/BaseFont /QABCDE+LiberationSans"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QByteArray pdf = pdfOf(c.objects);
        const qsizetype tailStart = pdf.indexOf(QByteArray::number(c.tailFrom) + " 0 obj");
        const QByteArray tagged = pdf.left(tailStart) + brp::TagFontSubsets(pdf.mid(tailStart), tailStart);
        EXPECT_NE(tagged, pdf);
        EXPECT_TRUE(tableHolds(tagged));
        for (const QByteArray& name : c.names)
            EXPECT_TRUE(tagged.contains(name)) << name.toStdString() << "\n" << tagged.toStdString();
        EXPECT_FALSE(tagged.contains("/BaseFont /LiberationSans")) << tagged.toStdString();
    }
}

TEST(PdfSubsetTagger, ATailItDoesNotUnderstandIsLeftAsItIs)
{
    const QByteArray good = pdfOf({"<< /Type /Catalog >>", kDescriptor, kCidFont, kType0});
    const qsizetype tailStart = good.indexOf("2 0 obj");
    // Object 3's entry, one byte off.
    const qsizetype entry3 = good.indexOf("xref\n0 5\n") + 9 + 3 * 20;
    QByteArray wrongOffset = good;
    wrongOffset[entry3 + 9] = good[entry3 + 9] == '0' ? '1' : '0';
    // The count says five entries, four follow.
    QByteArray cutShort = good;
    cutShort.remove(good.indexOf("trailer") - 20, 20);
    const QByteArray cases[] = {
        good.left(good.indexOf("startxref")),                      // no startxref
        QByteArray(good).replace("startxref\n", "startxref\n1"), // a table outside the file
        wrongOffset,                                               // an entry that misses its object
        cutShort,
        pdfOf({"<< /Type /Catalog >>", QByteArray(kDescriptor).replace("/FontFile2 5 0 R", ""), kCidFont, kType0}),
    };
    for (const QByteArray& pdf : cases) {
        SCOPED_TRACE(pdf.toStdString());
        const QByteArray tail = pdf.mid(tailStart);
        EXPECT_EQ(brp::TagFontSubsets(tail, tailStart), tail);
    }
    // The whole file held back at once: no table in a tail that starts late.
    EXPECT_EQ(brp::TagFontSubsets(good.mid(good.indexOf("xref") + 1), good.indexOf("xref") + 1),
              good.mid(good.indexOf("xref") + 1));
}

TEST(PdfSubsetTagger, PassesBytesOnAndTagsTheTail)
{
    const QByteArray pdf = pdfOf({"<< /Type /Catalog >>", kDescriptor, kCidFont, kType0});
    QBuffer file;
    file.open(QIODevice::WriteOnly);
    PdfSubsetTagger tagger(&file);
    const qsizetype tailStart = pdf.indexOf("2 0 obj");
    tagger.write(pdf.left(10));
    tagger.write(pdf.mid(10, tailStart - 10));
    EXPECT_EQ(file.data(), pdf.left(tailStart));
    tagger.HoldTail();
    tagger.write(pdf.mid(tailStart));
    EXPECT_EQ(file.data().size(), tailStart) << "the tail waits";
    ASSERT_TRUE(tagger.Finish());
    EXPECT_TRUE(tableHolds(file.data()));
    EXPECT_EQ(file.data().count("QABCDE+LiberationSans"), 3);
}
