// Exports that cannot complete: a folder that cannot be written, a full disk,
// a cancelled run. Each says so, leaves no file (whole or partial) behind and
// never counts as written.
#include "EBRError.h"
#include "FullDisk.h"
#include "ListingFixture.h"
#include "TBRPDFExportFilter.h"
#include "TBRPageList.h"

#include <QDir>

namespace {
// Files of the test's folder, the exports' partial files included.
QStringList filesIn(const QString& dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

} // namespace

class ExportFailureTest : public ListingTest, public ::testing::WithParamInterface<const char*> {
protected:
    QString extension() const { return QString::fromUtf8(GetParam()); }

    // Exports the listing with the filter of the extension; `during` runs
    // at the end of each page of the run (the PDF's: after each page written).
    // Returns the error raised, or an empty text.
    QString exportTo(const QString& fileName, const std::function<void()>& during = {},
                     const std::function<void()>& around = {})
    {
        const QList<Pedido> rows = pedidos(130);
        const auto* entry = ExportFilterLibrary().FindByExtension(extension());
        EXPECT_NE(entry, nullptr);
        filter = entry->FilterClass(fileName);
        try {
            if (filter->TakesRecordedPages()) {
                TBRPrinter& target = preview(rows);
                if (around)
                    around();
                // As the preview's target does, with its Cancel in `during`.
                filter->ExportPages(target.PageList(), [&](int, int) {
                    if (during)
                        during();
                    return !target.CancelRequested();
                });
            } else {
                TCustomBandReport& r = listing(rows);
                if (during)
                    r.OnEndPage = [&](QObject*) { during(); };
                if (around)
                    around();
                r.ExportThrough(filter.get());
            }
        } catch (const PlatformError& e) {
            return e.Message();
        }
        return QString();
    }

    std::unique_ptr<TBRExportFilter> filter;
};

TEST_P(ExportFailureTest, AFolderThatCannotBeWritten)
{
    QFile plain(path(QStringLiteral("plain")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    for (const QString& name : {path(QStringLiteral("missing/out.")) + extension(), path(QStringLiteral("plain/out.")) + extension()}) {
        SCOPED_TRACE(name.toStdString());
        const QString error = exportTo(name);
        EXPECT_TRUE(error.startsWith(QStringLiteral("Cannot create \"%1\"").arg(name))) << error.toStdString();
        EXPECT_FALSE(filter->Written());
        EXPECT_EQ(filesIn(dir.path()), QStringList{QStringLiteral("plain")});
    }
}

TEST_P(ExportFailureTest, AFullDisk)
{
    const QString name = path(QStringLiteral("out.") + extension());
    std::unique_ptr<FileSizeLimit> limit;
    const QString error = exportTo(name, {}, [&] { limit = std::make_unique<FileSizeLimit>(3000); });
    limit.reset();
    EXPECT_TRUE(error.startsWith(QStringLiteral("Cannot write \"%1\"").arg(name))) << error.toStdString();
    // The system's own reason, not a guess.
    EXPECT_TRUE(error.endsWith(QLatin1String("File too large"))) << error.toStdString();
    EXPECT_FALSE(filter->Written());
    EXPECT_TRUE(filesIn(dir.path()).isEmpty()) << filesIn(dir.path()).join(QLatin1Char(' ')).toStdString();
}

TEST_P(ExportFailureTest, CancelledInTheProgressWindowOrByTheReport)
{
    const QString name = path(QStringLiteral("out.") + extension());
    // The progress window's Cancel asks the target; CancelRun asks the report.
    const std::function<void()> cancels[] = {
        [&] { report->OutputTarget()->RequestCancel(); },
        [&] { report->CancelRun(); },
    };
    for (const auto& cancel : cancels) {
        if (extension() == QStringLiteral("pdf") && &cancel != &cancels[0])
            continue; // a finished report has no run to cancel
        const QString error = exportTo(name, cancel);
        EXPECT_TRUE(error.isEmpty()) << error.toStdString();
        EXPECT_FALSE(filter->Written());
        EXPECT_TRUE(filesIn(dir.path()).isEmpty()) << filesIn(dir.path()).join(QLatin1Char(' ')).toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(EachFilter, ExportFailureTest, ::testing::Values("pdf", "csv", "txt"));
