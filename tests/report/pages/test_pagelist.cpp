#include "EmfSample.h"
#include "PageStoreError.h"
#include "TBRCompress.h"
#include "TBRPageList.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>

namespace {

qint32 int32At(const QByteArray& b, qsizetype at)
{
    return qFromLittleEndian<qint32>(b.constData() + at);
}

void setInt32(QByteArray& b, qsizetype at, qint32 v)
{
    qToLittleEndian<qint32>(v, b.data() + at);
}

QByteArray readAll(const QString& name)
{
    QFile f(name);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

void writeAll(const QString& name, const QByteArray& data)
{
    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

std::vector<QByteArray> samplePages(int count)
{
    std::vector<QByteArray> pages;
    for (int i = 0; i < count; ++i)
        pages.push_back(emfsample::page(1500 + (i * 977) % 4000, unsigned(i + 1)));
    return pages;
}

// A list with a fresh in-memory store holding pages.
std::unique_ptr<TBRPageList> makeList(const std::vector<QByteArray>& pages, bool compressed)
{
    auto list = std::make_unique<TBRPageList>();
    list->SetCompressed(compressed);
    list->SetStore(std::make_unique<TBRStream>(100000));
    for (const auto& p : pages)
        list->AppendPage(p);
    return list;
}

QByteArray storeBytes(TBRPageList& list)
{
    QTemporaryDir tmp;
    list.WriteToFile(tmp.filePath(QStringLiteral("copy.BRP")));
    return readAll(tmp.filePath(QStringLiteral("copy.BRP")));
}

} // namespace

class PageListModes : public ::testing::TestWithParam<bool> {};
INSTANTIATE_TEST_SUITE_P(Store, PageListModes, ::testing::Values(false, true),
                         [](const auto& instance) { return instance.param ? "Compressed" : "Plain"; });

TEST_P(PageListModes, OnePageLayout)
{
    const bool compressed = GetParam();
    const QByteArray page = emfsample::page(600);
    auto list = makeList({page}, compressed);
    const QByteArray file = storeBytes(*list);

    EXPECT_EQ(qFromLittleEndian<quint16>(file.constData()), 3);
    EXPECT_EQ(qFromLittleEndian<quint16>(file.constData() + 2), 0x016A);
    EXPECT_EQ(int32At(file, 8), 1);
    EXPECT_EQ(file.at(25), compressed ? 1 : 0);
    EXPECT_EQ(int32At(file, 128), 1);           // page number
    EXPECT_EQ(int32At(file, 132), file.size()); // next offset = file size
    EXPECT_EQ(int32At(file, file.size() - 4), 128);
    const QByteArray data = file.mid(136, file.size() - 140);
    if (compressed) {
        EXPECT_EQ(int32At(data, 0), page.size());
        EXPECT_EQ(data.mid(4), TBRCompress::Encode(page));
    } else {
        EXPECT_EQ(data, page);
    }
    // The same page codes the same way wherever it lies.
    list->AppendPage(page);
    const QByteArray two = storeBytes(*list);
    EXPECT_EQ(two.mid(file.size() + 8, data.size()), data);
    EXPECT_EQ(int32At(two, 8), 1) << "the count stays 1 until the header is rewritten";
    list->WriteHeader();
    EXPECT_EQ(int32At(storeBytes(*list), 8), 2);
}

TEST_P(PageListModes, FetchesSequentiallyAndAtRandomOverALongChain)
{
    const auto pages = samplePages(90);
    auto list = makeList(pages, GetParam());
    ASSERT_FALSE(list->Store()->UsingMemory()) << "the chain should have spilled to a file";
    ASSERT_EQ(list->Count(), 90);

    for (int n = 1; n <= 90; ++n)
        ASSERT_EQ(list->FetchPage(n).value(), pages[n - 1]) << "page " << n;
    std::vector<int> order(90);
    std::iota(order.begin(), order.end(), 1);
    std::shuffle(order.begin(), order.end(), std::mt19937(3));
    for (int n : order)
        ASSERT_EQ(list->FetchPage(n).value(), pages[n - 1]) << "page " << n;
    for (int n : {0, -1, 91})
        EXPECT_FALSE(list->FetchPage(n).has_value());

    // Appends interleaved with fetches, as while a preview shows a running job.
    list->AppendPage(pages[5]);
    EXPECT_EQ(list->FetchPage(45).value(), pages[44]);
    list->AppendPage(pages[6]);
    EXPECT_EQ(list->FetchPage(91).value(), pages[5]);
    EXPECT_EQ(list->FetchPage(92).value(), pages[6]);
}

TEST(TBRPageList, ReopenedFileUsesItsOwnCountAndFlag)
{
    QTemporaryDir tmp;
    const auto pages = samplePages(4);
    for (bool savedCompressed : {false, true}) {
        for (bool loaderCompressed : {false, true}) {
            SCOPED_TRACE(testing::Message() << "saved " << savedCompressed << " loader " << loaderCompressed);
            auto writer = makeList(pages, savedCompressed);
            writer->WriteHeader();
            const QString name = tmp.filePath(QStringLiteral("r.BRP"));
            writer->WriteToFile(name);

            TBRPageList reader;
            reader.SetCompressed(loaderCompressed);
            reader.OpenFile(name);
            EXPECT_EQ(reader.Count(), 4);
            EXPECT_EQ(reader.Compressed(), savedCompressed);
            EXPECT_EQ(reader.FetchPage(3).value(), pages[2]);
            EXPECT_EQ(reader.FetchPage(1).value(), pages[0]);
        }
    }
}

TEST(TBRPageList, SavingALoadedFileCopiesItExactly)
{
    QTemporaryDir tmp;
    auto writer = makeList(samplePages(30), true);
    writer->WriteHeader();
    writer->WriteToFile(tmp.filePath(QStringLiteral("a.BRP")));
    const QByteArray original = readAll(tmp.filePath(QStringLiteral("a.BRP")));

    TBRPageList loaded;
    loaded.OpenFile(tmp.filePath(QStringLiteral("a.BRP")));
    loaded.FetchPage(12);
    loaded.WriteToFile(tmp.filePath(QStringLiteral("b.BRP")));
    EXPECT_EQ(readAll(tmp.filePath(QStringLiteral("b.BRP"))), original);

    // Its own file cannot be the target; the file is left whole.
    EXPECT_THROW(loaded.WriteToFile(tmp.filePath(QStringLiteral("a.BRP"))), StoreFileError);
    EXPECT_EQ(readAll(tmp.filePath(QStringLiteral("a.BRP"))), original);
    EXPECT_EQ(loaded.FetchPage(30).has_value(), true);
}

TEST(TBRPageList, FailedAppendLeavesTheStoreUsable)
{
    const auto pages = samplePages(40);
    TBRPageList list;
    list.SetStore(std::make_unique<TBRStream>(100000));
    EXPECT_THROW(list.AppendPage("not a metafile"), PlatformError);
    QByteArray padded = pages[0] + "xx";
    EXPECT_THROW(list.AppendPage(padded), PlatformError);
    EXPECT_EQ(list.Count(), 0);

    // The write that passes the limit cannot make its temporary file.
    const QByteArray oldTmp = qgetenv("TMPDIR");
    qputenv("TMPDIR", "/nonexistent/brp-test-dir");
    int appended = 0;
    try {
        for (; appended < 40; ++appended)
            list.AppendPage(pages[appended]);
    } catch (const StoreFileError&) {
    }
    qputenv("TMPDIR", oldTmp);
    if (oldTmp.isEmpty())
        qunsetenv("TMPDIR");
    ASSERT_LT(appended, 40);
    EXPECT_EQ(list.Count(), appended);
    for (int i = appended; i < 40; ++i)
        list.AppendPage(pages[i]);
    list.WriteHeader();
    for (int n = 40; n >= 1; --n)
        ASSERT_EQ(list.FetchPage(n).value(), pages[n - 1]) << "page " << n;
}

TEST(TBRPageList, DamagedFilesGiveErrors)
{
    QTemporaryDir tmp;
    auto writer = makeList(samplePages(5), false);
    writer->WriteHeader();
    const QByteArray plain = storeBytes(*writer);
    auto cwriter = makeList(samplePages(5), true);
    cwriter->WriteHeader();
    const QByteArray packed = storeBytes(*cwriter);
    const qint32 rec2 = int32At(plain, 132);
    const qint32 rec3 = int32At(plain, rec2 + 4);
    const qint32 crec2 = int32At(packed, 132);

    struct Case {
        const char* name;
        bool compressed;
        std::function<void(QByteArray&)> damage;
    };
    const Case cases[] = {
        {"empty", false, [](QByteArray& b) { b.clear(); }},
        {"cut inside the header", false, [](QByteArray& b) { b.truncate(100); }},
        {"header only", false, [](QByteArray& b) { b.truncate(128); }},
        {"cut inside the last record", false, [](QByteArray& b) { b.chop(30); }},
        {"cut inside the first record", false, [](QByteArray& b) { b.truncate(300); }},
        {"page count beyond the file", false, [](QByteArray& b) { setInt32(b, 8, 1 << 30); }},
        {"negative page count", false, [](QByteArray& b) { setInt32(b, 8, -3); }},
        {"last offset outside", false, [&](QByteArray& b) { setInt32(b, b.size() - 4, b.size() + 100); }},
        {"last offset into the header", false, [&](QByteArray& b) { setInt32(b, b.size() - 4, 4); }},
        {"next offset outside", false, [&](QByteArray& b) { setInt32(b, rec2 + 4, 0x7fffff00); }},
        {"next offset loops back", false, [&](QByteArray& b) { setInt32(b, rec2 + 4, 128); }},
        {"next offset to itself", false, [&](QByteArray& b) { setInt32(b, rec2 + 4, rec2); }},
        {"trailing offset loops", false, [&](QByteArray& b) { setInt32(b, rec3 - 4, rec3); }},
        {"page numbers wrong", false, [&](QByteArray& b) { setInt32(b, rec2, 7); }},
        {"metafile size beyond record", false, [&](QByteArray& b) { setInt32(b, 136 + 48, 1 << 30); }},
        {"flag says compressed", false, [](QByteArray& b) { b[25] = 1; }},
        {"flag says plain", true, [](QByteArray& b) { b[25] = 0; }},
        {"huge byte count", true, [&](QByteArray& b) { setInt32(b, 136, 0x7ffffff0); }},
        {"negative byte count", true, [&](QByteArray& b) { setInt32(b, crec2 + 8, -1); }},
        {"code garbled", true, [&](QByteArray& b) { for (int i = 0; i < 40; ++i) b[crec2 + 12 + i] = char(0xFF); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QByteArray bytes = c.compressed ? packed : plain;
        c.damage(bytes);
        const QString name = tmp.filePath(QStringLiteral("damaged.BRP"));
        writeAll(name, bytes);
        TBRPageList list;
        int errors = 0;
        QString message;
        try {
            list.OpenFile(name);
        } catch (const DamagedStoreError& e) {
            ++errors;
            message = e.Message();
            EXPECT_EQ(list.Store(), nullptr);
        }
        // Every order of reads fails cleanly and leaves the list usable.
        for (int n : {1, 5, 3, 2, 4, 1, 2, 3}) {
            try {
                list.FetchPage(n);
            } catch (const DamagedStoreError& e) {
                ++errors;
                message = e.Message();
            }
        }
        EXPECT_GT(errors, 0);
        EXPECT_FALSE(message.isEmpty());
    }
}

// Pages 1 and Count are found without the chain; others are reached from the
// current record, forward or backward. A broken backward link shows which way
// was taken.
TEST(TBRPageList, WalksTheChainFromWhereItStands)
{
    QTemporaryDir tmp;
    auto writer = makeList(samplePages(5), false);
    writer->WriteHeader();
    QByteArray file = storeBytes(*writer);
    qint32 starts[6] = {0, 128};
    for (int n = 2; n <= 5; ++n)
        starts[n] = int32At(file, starts[n - 1] + 4);
    setInt32(file, starts[5] - 4, starts[2]); // page 4's trailing offset names page 2
    const QString name = tmp.filePath(QStringLiteral("w.BRP"));
    writeAll(name, file);

    TBRPageList list;
    list.OpenFile(name);
    EXPECT_TRUE(list.FetchPage(5).has_value());
    EXPECT_TRUE(list.FetchPage(1).has_value());
    EXPECT_TRUE(list.FetchPage(3).has_value()) << "forward from page 2";
    EXPECT_TRUE(list.FetchPage(5).has_value());
    EXPECT_THROW(list.FetchPage(3), DamagedStoreError) << "backward from page 5 through the broken link";
    EXPECT_TRUE(list.FetchPage(1).has_value());
}

// An offset inside the file that points the wrong way is not said to point
// outside it.
TEST(TBRPageList, BadOffsetsAreNamedForWhatTheyAre)
{
    QTemporaryDir tmp;
    auto writer = makeList(samplePages(5), false);
    writer->WriteHeader();
    const QByteArray good = storeBytes(*writer);
    const qint32 rec2 = int32At(good, 132);
    struct Case {
        const char* name;
        std::function<void(QByteArray&)> damage;
        int page;
        QString message;
    };
    const Case cases[] = {
        {"next offset back to page 1", [&](QByteArray& b) { setInt32(b, rec2 + 4, 128); }, 2,
         QStringLiteral("page 2's next-record offset 128 points backwards, to or before the record's start at %1").arg(rec2)},
        {"next offset to its own record", [&](QByteArray& b) { setInt32(b, rec2 + 4, rec2); }, 2, QStringLiteral("points backwards")},
        {"next offset inside the record's fields", [&](QByteArray& b) { setInt32(b, rec2 + 4, rec2 + 5); }, 2,
         QStringLiteral("leaves no room for the record's 12 bytes of fields")},
        {"next offset past the end", [&](QByteArray& b) { setInt32(b, rec2 + 4, b.size() + 1); }, 2,
         QStringLiteral("points outside the file (%1 bytes)").arg(good.size())},
        {"last offset into the header", [](QByteArray& b) { setInt32(b, b.size() - 4, 4); }, 5,
         QStringLiteral("the last record's offset 4 points into the 128-byte header")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QByteArray bytes = good;
        c.damage(bytes);
        const QString name = tmp.filePath(QStringLiteral("damaged.BRP"));
        writeAll(name, bytes);
        TBRPageList list;
        list.OpenFile(name);
        try {
            list.FetchPage(c.page);
            ADD_FAILURE() << "page " << c.page << " was read";
        } catch (const DamagedStoreError& e) {
            EXPECT_TRUE(e.Message().contains(c.message)) << e.Message().toStdString();
        }
    }
}
