// The text index of stored pages: search keys without case or accents, hits
// in page and drawing order, the runs' boxes, and the index kept beside the
// pages whether they are appended, spilled to the store's file, compressed or
// read back from a saved file. Damaged text records never read past the page.
#include "EmfTextReader.h"
#include "PageTextIndex.h"
#include "SearchFold.h"
#include "TBRPageList.h"
#include "TCanvas.h"
#include "TMetafileCanvas.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

// A page holding these texts, one per line from (40, 40), 20 pixels apart.
QByteArray pageOf(const QStringList& lines)
{
    TMetafileCanvas c(794, 1123);
    c.Font.Name = QStringLiteral("Arial");
    c.Font.SetSize(10);
    for (int i = 0; i < lines.size(); ++i)
        c.TextOut(40, 40 + 20 * i, lines[i]);
    c.MoveTo(10, 10); // not text
    c.LineTo(100, 10);
    return c.Finish();
}

using Hits = std::vector<PageTextIndex::Hit>;

const QStringList kPage1 = {QStringLiteral("Relação de pedidos"), QStringLiteral("José da Silva"), QStringLiteral("Cliente 51")};
const QStringList kPage2 = {QStringLiteral("Sem texto procurado")};
const QStringList kPage3 = {QStringLiteral("JOSÉ"), QStringLiteral("Maria José Ltda"), QStringLiteral("josefina"), QStringLiteral("jose jose")};

TEST(SearchFold, KeysIgnoreCaseAndAccents)
{
    const struct {
        QString text;
        QByteArray key;
    } cases[] = {
        {QStringLiteral("JOSÉ"), "jose"},
        {QStringLiteral("Relação Ç ã Ü ñ"), "relacao c a u n"},
        {QStringLiteral("Jose") + QChar(0x0301), "jose"}, // accent as a combining mark
        {QStringLiteral("ÅÄÖ øß"), "aao \xc3\xb8\xc3\x9f"},     // letters that do not decompose stay
        {QStringLiteral("a\tb\x1f" "c"), "a b c"},                 // control characters as blanks
        {QString::fromUcs4(U"\U0001D400x"), "\xf0\x9d\x90\x80x"},
        {QString(QChar(0xD800)) + QStringLiteral("a"), "\xef\xbf\xbd" "a"}, // a lone surrogate
        {QStringLiteral(""), ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SearchFold::Key(c.text), c.key) << c.text.toStdString();
}

TEST(PageTextIndex, HitsInPageAndDrawingOrderIgnoringCaseAndAccents)
{
    PageTextIndex index;
    for (const QStringList& p : {kPage1, kPage2, kPage3})
        index.AddPage(pageOf(p));
    ASSERT_EQ(index.Pages(), 3);
    EXPECT_EQ(index.RunCount(1), 3);
    EXPECT_EQ(index.RunCount(2), 1);

    const struct {
        QString query;
        Hits hits;
    } cases[] = {
        {QStringLiteral("JOSÉ"), {{1, 1}, {3, 0}, {3, 1}, {3, 2}, {3, 3}}}, // one hit per run, "jose jose" too
        {QStringLiteral("jose"), {{1, 1}, {3, 0}, {3, 1}, {3, 2}, {3, 3}}},
        {QStringLiteral("RELACAO"), {{1, 0}}},
        {QStringLiteral("ltda"), {{3, 1}}},
        {QStringLiteral("texto procurado"), {{2, 0}}},
        {QStringLiteral("silvacliente"), {}}, // never across two runs
        {QStringLiteral("Silva\x1f" "Cliente"), {}},
        {QStringLiteral("xyz"), {}},
        {QStringLiteral(""), {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(index.Search(c.query), c.hits) << c.query.toStdString();
}

TEST(PageTextIndex, BoxesAreWhereTheTextWasDrawn)
{
    PageTextIndex index;
    index.AddPage(pageOf(kPage1));
    for (int run = 0; run < 3; ++run) {
        const QRect r = index.RunRect(1, run);
        EXPECT_EQ(r.topLeft(), QPoint(40, 40 + 20 * run)) << run;
        EXPECT_GT(r.width(), 30);
        EXPECT_GT(r.height(), 8);
        EXPECT_LT(r.height(), 20);
    }
    EXPECT_TRUE(index.RunRect(1, 3).isEmpty());
    EXPECT_TRUE(index.RunRect(2, 0).isEmpty());
    EXPECT_TRUE(index.RunRect(0, 0).isEmpty());
}

TEST(PageTextIndex, PagesWithoutTextAndUnreadablePagesCount)
{
    PageTextIndex index;
    index.AddPage(pageOf({}));
    index.AddPage(QByteArray("not a metafile"));
    index.AddPage(pageOf({QStringLiteral("fim")}));
    EXPECT_EQ(index.Pages(), 3);
    EXPECT_EQ(index.Search(QStringLiteral("fim")), Hits({{3, 0}}));
    index.Clear();
    EXPECT_EQ(index.Pages(), 0);
    EXPECT_TRUE(index.Search(QStringLiteral("fim")).empty());
}

// Offsets within a recorded EMR_EXTTEXTOUTW record.
constexpr int kChars = 44, kStringOffset = 48;

qsizetype firstTextRecord(const QByteArray& emf)
{
    qsizetype at = 0;
    while (at + 8 <= emf.size()) {
        if (qFromLittleEndian<quint32>(emf.constData() + at) == 84)
            return at;
        at += qFromLittleEndian<quint32>(emf.constData() + at + 4);
    }
    return -1;
}

TEST(EmfTextReader, DamagedTextRecordsAreSkippedOrEndTheWalk)
{
    const QByteArray good = pageOf({QStringLiteral("primeiro"), QStringLiteral("segundo")});
    const qsizetype rec = firstTextRecord(good);
    ASSERT_GT(rec, 0);
    auto texts = [](const QByteArray& emf) {
        QStringList out;
        for (const TextRun& r : EmfTextReader::ReadTextRuns(emf))
            out << r.Text;
        return out;
    };
    EXPECT_EQ(texts(good), QStringList({QStringLiteral("primeiro"), QStringLiteral("segundo")}));

    QByteArray manyChars = good; // more characters than the record holds
    qToLittleEndian<quint32>(0x7FFFFFFF, manyChars.data() + rec + kChars);
    EXPECT_EQ(texts(manyChars), QStringList({QStringLiteral("segundo")}));

    QByteArray farString = good; // string beyond the record
    qToLittleEndian<quint32>(0xFFFFFFF0, farString.data() + rec + kStringOffset);
    EXPECT_EQ(texts(farString), QStringList({QStringLiteral("segundo")}));

    QByteArray badSize = good; // a record size past the end stops the walk
    qToLittleEndian<quint32>(0x7FFFFFF0, badSize.data() + rec + 4);
    EXPECT_TRUE(texts(badSize).isEmpty());

    EXPECT_TRUE(texts(good.left(rec + 30)).isEmpty()); // cut inside the record
    EXPECT_TRUE(texts(QByteArray()).isEmpty());
    EXPECT_FALSE(EmfTextReader::ForEachText(QByteArray(16, '\0'), [](const QRect&, QStringView) {}));
}

TEST(EmfTextReader, AnsiTextIsWindows1252)
{
    QByteArray emf = pageOf({QStringLiteral("abcd")});
    const qsizetype rec = firstTextRecord(emf);
    ASSERT_GT(rec, 0);
    // The same record as 8-bit text: "Ação" in Windows-1252, then "\x80".
    qToLittleEndian<quint32>(83, emf.data() + rec);
    const quint32 at = qFromLittleEndian<quint32>(emf.constData() + rec + kStringOffset);
    qToLittleEndian<quint32>(4, emf.data() + rec + kChars);
    std::memcpy(emf.data() + rec + at, "A\xe7\xe3\x80", 4);
    const std::vector<TextRun> runs = EmfTextReader::ReadTextRuns(emf);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].Text, QString::fromUtf8("Açã€"));
}

class PageListText : public ::testing::TestWithParam<bool> {};
INSTANTIATE_TEST_SUITE_P(Store, PageListText, ::testing::Values(false, true),
                         [](const auto& instance) { return instance.param ? "Compressed" : "Plain"; });

// The list's index follows its pages, also once the store has moved to its
// file, and a saved file opened again gives the same hits.
TEST_P(PageListText, IndexFollowsThePagesAndSavedFiles)
{
    TBRPageList list;
    list.SetCompressed(GetParam());
    list.SetStore(std::make_unique<TBRStream>(2000)); // spills after a page or two
    for (int n = 1; n <= 12; ++n)
        list.AppendPage(pageOf({QStringLiteral("Página %1").arg(n), n % 5 == 0 ? QStringLiteral("Conceição") : QStringLiteral("outro")}));
    ASSERT_FALSE(list.Store()->FileName().isEmpty());
    const Hits expected = {{5, 1}, {10, 1}};
    EXPECT_EQ(list.TextIndex().Pages(), 12);
    EXPECT_EQ(list.TextIndex().Search(QStringLiteral("CONCEICAO")), expected);

    QTemporaryDir tmp;
    const QString file = tmp.filePath(QStringLiteral("saved.BRP"));
    list.WriteHeader(); // as a finished job does
    list.WriteToFile(file);
    TBRPageList loaded;
    loaded.OpenFile(file);
    EXPECT_EQ(loaded.TextIndex().Search(QStringLiteral("conceição")), expected);
    EXPECT_EQ(loaded.TextIndex().RunRect(10, 1), list.TextIndex().RunRect(10, 1));

    list.Reset();
    EXPECT_EQ(list.TextIndex().Pages(), 0);
}

TEST(PageListText, ADamagedPageOfALoadedFileIsLeftOutAndCounted)
{
    TBRPageList list;
    list.SetStore(std::make_unique<TBRStream>(100000));
    for (const char* t : {"um texto", "outro texto", "mais texto"})
        list.AppendPage(pageOf({QString::fromUtf8(t)}));
    list.WriteHeader();
    QTemporaryDir tmp;
    const QString file = tmp.filePath(QStringLiteral("damaged.BRP"));
    list.WriteToFile(file);
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    QByteArray bytes = f.readAll();
    // Page 2's metafile loses its signature.
    const qint32 second = qFromLittleEndian<qint32>(bytes.constData() + TBRPageList::HeaderSize + 4);
    bytes[second + 8 + 40] = 'X';
    f.seek(0);
    f.write(bytes);
    f.close();

    TBRPageList loaded;
    loaded.OpenFile(file);
    EXPECT_EQ(loaded.TextIndex().Search(QStringLiteral("TEXTO")), Hits({{1, 0}, {3, 0}}));
    EXPECT_EQ(loaded.TextIndex().Pages(), 3);
    EXPECT_EQ(loaded.TextIndex().UnreadablePages(), 1);
}

} // namespace
