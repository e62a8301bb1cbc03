// Saving pages where they do not fit: a full disk (a small tmpfs) or a file
// size limit. The save fails with the system's reason, an existing file under
// the name keeps every byte, and nothing else is left in the folder.
#include "EmfSample.h"
#include "FullDisk.h"
#include "PageStoreError.h"
#include "TBRPageList.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace {

QByteArray readAll(const QString& name)
{
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

// Pages of about 5 KB each.
std::unique_ptr<TBRPageList> listOf(int pages, bool compressed)
{
    auto list = std::make_unique<TBRPageList>();
    list->SetCompressed(compressed);
    list->SetStore(std::make_unique<TBRStream>(100000));
    for (int i = 0; i < pages; ++i)
        list->AppendPage(emfsample::page(5000, unsigned(i + 1)));
    list->WriteHeader();
    return list;
}

// The two ways a disk runs full; each leaves about 24 KB for the file.
enum class Disk { SmallTmpfs, FileSizeLimit };

class SavingOnAFullDisk : public ::testing::TestWithParam<Disk> {};

} // namespace

INSTANTIATE_TEST_SUITE_P(Disks, SavingOnAFullDisk, ::testing::Values(Disk::SmallTmpfs, Disk::FileSizeLimit),
                         [](const auto& instance) {
                             return std::string(instance.param == Disk::SmallTmpfs ? "SmallTmpfs" : "FileSizeLimit");
                         });

TEST_P(SavingOnAFullDisk, KeepsTheOldFileAndGivesTheReason)
{
    const bool tmpfs = GetParam() == Disk::SmallTmpfs;
    SmallDisk disk(64 * 1024);
    QTemporaryDir plain;
    if (tmpfs && !disk.Mounted())
        GTEST_SKIP() << disk.Reason().toStdString();
    const QString target = tmpfs ? disk.Path(QStringLiteral("o.BRP")) : plain.filePath(QStringLiteral("o.BRP"));
    const QByteArray old = "the report saved before";
    {
        QFile f(target);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(old);
    }
    if (tmpfs)
        disk.LeaveFree(24 * 1024);

    // A little more than fits (what the write buffer used to hide), and far more.
    for (const auto& [pages, compressed] : {std::pair{6, false}, std::pair{30, false}, std::pair{30, true}}) {
        SCOPED_TRACE(std::to_string(pages) + (compressed ? " compressed" : " plain"));
        auto list = listOf(pages, compressed);
        QString error;
        {
            std::unique_ptr<FileSizeLimit> limit;
            if (!tmpfs)
                limit = std::make_unique<FileSizeLimit>(24 * 1024);
            try {
                list->WriteToFile(target);
            } catch (const StoreFileError& e) {
                error = e.Message();
            }
        }
        const QString reason = tmpfs ? QStringLiteral("No space left on device") : QStringLiteral("File too large");
        EXPECT_EQ(error.toStdString(), QStringLiteral("Cannot write file \"%1\": %2").arg(target, reason).toStdString());
        EXPECT_EQ(readAll(target), old);
        const QStringList files = tmpfs ? disk.Files() : QDir(plain.path()).entryList(QDir::Files | QDir::Hidden);
        EXPECT_EQ(files.join(u' ').toStdString(), "o.BRP");
    }
}
