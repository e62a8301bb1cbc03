// A real multi-page saved report, written by the output target, damaged every
// way a reader can meet: cut at each byte, or one header or record field set
// to 0, -1, a huge value or an offset outside the file. Each file must be
// refused with a message or read up to its last sound page; it must never
// crash, hang, or give a page other than the one stored.
#include "PageStoreError.h"
#include "RecordingPrinters.h"
#include "TBRPageList.h"
#include "TBRPrinter.h"
#include "TBRUnitBase.h"
#include "TCanvas.h"
#include "TMetafile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <vector>

namespace {

constexpr int PageCount = 4;

struct SavedReport {
    QByteArray bytes;
    std::vector<QByteArray> pages;  // as stored, page 1 first
    std::vector<qint32> starts;     // record start of each page
    std::vector<qint32> ends;       // record end of each page
};

qint32 int32At(const QByteArray& b, qint64 at)
{
    return qFromLittleEndian<qint32>(b.constData() + at);
}

void writeFile(const QString& name, const QByteArray& data)
{
    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(data), data.size());
}

// Runs a small listing through the output target and saves it.
SavedReport makeReport(bool compressed, const QString& fileName)
{
    SavedReport r;
    {
        TBRPrinter target;
        target.SetCompression(compressed);
        target.StartJob();
        for (int n = 1; n <= PageCount; ++n) {
            target.NewPage();
            TCanvas* c = target.PageCanvas();
            c->TextOut(target.DeviceX(100), target.DeviceY(100), QStringLiteral("Página %1 de %2").arg(n).arg(PageCount));
            for (int line = 0; line < n * 3; ++line)
                c->TextOut(target.DeviceX(100), target.DeviceY(200 + 50 * line),
                           QStringLiteral("%1  Cliente %2  12/03/2024  %3,50").arg(1000 + line).arg(n * 7 + line).arg(line * 13));
            c->MoveTo(target.DeviceX(100), target.DeviceY(180));
            c->LineTo(target.DeviceX(1900), target.DeviceY(180));
            c->Rectangle(target.DeviceX(90), target.DeviceY(90), target.DeviceX(1910), target.DeviceY(2700));
        }
        target.FinishJob();
        target.SaveReportFile(fileName);
        for (int n = 1; n <= PageCount; ++n)
            r.pages.push_back(target.PageList().FetchPage(n).value());
    }
    QFile f(fileName);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    r.bytes = f.readAll();
    qint32 at = TBRPageList::HeaderSize;
    for (int n = 1; n <= PageCount; ++n) {
        r.starts.push_back(at);
        at = int32At(r.bytes, at + 4);
        r.ends.push_back(at);
    }
    return r;
}

// What a reader got out of a file.
struct Reading {
    bool refused = false;
    QString message;  // of the refusal or of the last damaged page
    int count = 0;    // pages announced
    int soundPrefix = 0; // pages 1..k read one after the other before the first failure
};

// Opens the file as a page store and fetches forward, backward and by jumps.
// Any page returned must be the stored one (`pages`, page 1 first); anything
// else must be a DamagedStoreError with a message.
Reading readPages(const QString& fileName, const std::vector<QByteArray>& pages)
{
    Reading out;
    TBRPageList list;
    try {
        list.OpenFile(fileName);
    } catch (const DamagedStoreError& e) {
        out.refused = true;
        out.message = e.Message();
        EXPECT_FALSE(out.message.isEmpty());
        EXPECT_EQ(list.Store(), nullptr);
        return out;
    }
    out.count = list.Count();
    bool prefix = true;
    const int jumps[] = {1, 2, 3, 4, 4, 3, 2, 1, 3, 1, 4, 2, 0, 5, 100, -1};
    std::vector<int> order;
    for (int n = 1; n <= out.count && n <= 64; ++n)
        order.push_back(n);
    for (int n = std::min(out.count, 64); n >= 1; --n)
        order.push_back(n);
    order.insert(order.end(), std::begin(jumps), std::end(jumps));
    for (size_t i = 0; i < order.size(); ++i) {
        const int n = order[i];
        const bool forward = i < size_t(std::min(out.count, 64));
        try {
            const std::optional<QByteArray> page = list.FetchPage(n);
            if (!page) {
                EXPECT_TRUE(n < 1 || n > out.count) << "page " << n << " of " << out.count << " came back empty";
                continue;
            }
            if (n > PageCount) {
                ADD_FAILURE() << "page " << n << " came back from a file of " << PageCount;
                continue;
            }
            EXPECT_TRUE(*page == pages[size_t(n - 1)]) << "page " << n << " is not the stored page";
            if (forward && prefix)
                out.soundPrefix = n;
        } catch (const DamagedStoreError& e) {
            out.message = e.Message();
            EXPECT_FALSE(out.message.isEmpty());
            if (forward)
                prefix = false;
        }
    }
    return out;
}

class DamagedSavedReport : public ::testing::TestWithParam<bool> {
protected:
    static void SetUpTestSuite()
    {
        TBRUnitBase::InitDefaultUnits(QLocale(QLocale::Portuguese, QLocale::Brazil));
        s_printers = new RecordingPrinters(QList<RecordedPrinter>{RecordedPrinter::Laser()});
        s_dir = new QTemporaryDir;
        for (bool compressed : {false, true})
            s_reports[compressed] = makeReport(compressed, s_dir->filePath(compressed ? QStringLiteral("packed.BRP") : QStringLiteral("plain.BRP")));
    }
    static void TearDownTestSuite()
    {
        delete s_dir;
        s_dir = nullptr;
        delete s_printers;
        s_printers = nullptr;
    }
    const SavedReport& report() const { return s_reports[GetParam()]; }
    QString scratch() const { return s_dir->filePath(QStringLiteral("damaged.BRP")); }

    static inline RecordingPrinters* s_printers = nullptr;
    static inline QTemporaryDir* s_dir = nullptr;
    static inline SavedReport s_reports[2];
};

INSTANTIATE_TEST_SUITE_P(Files, DamagedSavedReport, ::testing::Values(false, true),
                         [](const auto& instance) { return instance.param ? "Compressed" : "Plain"; });

TEST_P(DamagedSavedReport, IntactFileReadsEveryPage)
{
    const SavedReport& r = report();
    ASSERT_EQ(r.ends.back(), r.bytes.size());
    writeFile(scratch(), r.bytes);
    const Reading read = readPages(scratch(), r.pages);
    EXPECT_FALSE(read.refused) << qPrintable(read.message);
    EXPECT_EQ(read.count, PageCount);
    EXPECT_EQ(read.soundPrefix, PageCount);

    // Through the output target too, as the preview loads it.
    TBRPrinter target;
    target.LoadReportFile(scratch());
    for (int n = 1; n <= PageCount; ++n)
        ASSERT_NE(target.FetchPage(n), nullptr) << n;
}

TEST_P(DamagedSavedReport, CutAtEveryOffset)
{
    const SavedReport& r = report();
    for (qint32 cut = 0; cut < r.bytes.size(); ++cut) {
        writeFile(scratch(), r.bytes.left(cut));
        const Reading read = readPages(scratch(), r.pages);
        if (HasFailure()) {
            ADD_FAILURE() << "file cut at " << cut << " of " << r.bytes.size();
            return;
        }
        if (read.refused)
            continue;
        // Every page whose record lies before the cut is sound and is read.
        int sound = 0;
        while (sound < PageCount - 1 && r.ends[size_t(sound)] <= cut)
            ++sound;
        EXPECT_GE(read.soundPrefix, std::min(sound, read.count)) << "file cut at " << cut;
    }
}

TEST_P(DamagedSavedReport, EveryFieldOverwritten)
{
    const SavedReport& r = report();
    const bool compressed = GetParam();
    const qint64 size = r.bytes.size();

    struct Field {
        QString name;
        qint64 offset;
        int width;
        int page; // the record it belongs to; 0 for the header
    };
    std::vector<Field> fields = {
        {QStringLiteral("file word 3"), 0, 2, 0},          {QStringLiteral("file word 362"), 2, 2, 0},
        {QStringLiteral("page count"), TBRPageList::HeaderCountOffset, 4, 0},
        {QStringLiteral("time"), TBRPageList::HeaderTimeOffset, 8, 0},
        {QStringLiteral("compressed flag"), TBRPageList::HeaderCompressedOffset, 1, 0},
    };
    for (int n = 1; n <= PageCount; ++n) {
        const qint64 s = r.starts[size_t(n - 1)], e = r.ends[size_t(n - 1)];
        fields.push_back({QStringLiteral("page %1 number").arg(n), s, 4, n});
        fields.push_back({QStringLiteral("page %1 next offset").arg(n), s + 4, 4, n});
        fields.push_back({QStringLiteral("page %1 start offset").arg(n), e - 4, 4, n});
        if (compressed) {
            fields.push_back({QStringLiteral("page %1 byte count").arg(n), s + 8, 4, n});
        } else {
            fields.push_back({QStringLiteral("page %1 metafile record type").arg(n), s + 8, 4, n});
            fields.push_back({QStringLiteral("page %1 metafile header size").arg(n), s + 12, 4, n});
            fields.push_back({QStringLiteral("page %1 metafile byte count").arg(n), s + 8 + 48, 4, n});
        }
    }
    const qint64 values[] = {0, -1, std::numeric_limits<qint32>::max(), std::numeric_limits<qint32>::min(),
                             size + 4096, size, size - 4, TBRPageList::HeaderSize - 4};

    for (const Field& f : fields) {
        for (const qint64 v : values) {
            QByteArray bytes = r.bytes;
            for (int i = 0; i < f.width; ++i)
                bytes[f.offset + i] = char((quint64(v) >> (8 * i)) & 0xFF);
            if (bytes == r.bytes)
                continue;
            SCOPED_TRACE(qPrintable(QStringLiteral("%1 set to %2").arg(f.name).arg(v)));
            writeFile(scratch(), bytes);
            // A field inside a plain page's metafile is part of what is stored:
            // if that page still reads, it reads as changed.
            std::vector<QByteArray> stored = r.pages;
            if (f.page > 0 && !compressed && f.offset >= r.starts[size_t(f.page - 1)] + 8) {
                const qint64 from = r.starts[size_t(f.page - 1)] + 8;
                stored[size_t(f.page - 1)] = bytes.mid(from, r.pages[size_t(f.page - 1)].size());
            }
            const Reading read = readPages(scratch(), stored);
            if (f.page > 0) {
                // The header is intact, so the file opens and the pages before
                // the damaged record are read as stored.
                EXPECT_FALSE(read.refused) << qPrintable(read.message);
                EXPECT_GE(read.soundPrefix, f.page - 1);
            }
            if (read.refused || read.soundPrefix < read.count) {
                EXPECT_FALSE(read.message.isEmpty());
            }

            // The preview's way in: the output target loads it and shows pages.
            TBRPrinter target;
            try {
                target.LoadReportFile(scratch());
                for (int n = 1; n <= target.PageTotal() && n <= 64; ++n) {
                    try {
                        target.FetchPage(n);
                    } catch (const PlatformError& e) {
                        EXPECT_FALSE(e.Message().isEmpty());
                    }
                }
            } catch (const PlatformError& e) {
                EXPECT_FALSE(e.Message().isEmpty());
                EXPECT_EQ(target.PageTotal(), 0);
            }
        }
    }
}

} // namespace
