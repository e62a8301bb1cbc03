// Finding text in a 2,326-page listing (a header, a rule and 45 lines of 8
// text cells a page, recorded through the output target as a report run
// records it): a search over the text index, the index built from a saved
// file that is loaded (plain and compressed), and the index's share of
// recording a page. Baselines in the same run: reading every page of the
// loaded file (for the index and the searches), recording one page (for the
// indexing of that page).
#include "ListingPage.h"
#include "PageTextIndex.h"
#include "PrinterService.h"
#include "RecordingPrinterService.h"
#include "ReportEngine.h"
#include "TBRPageList.h"
#include "TBRPrinter.h"
#include "TMetafileCanvas.h"
#include "RatioReporter.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

namespace {

constexpr int kPages = 2326;

struct Listing {
    QTemporaryDir dir;
    QString plain, compressed;
    std::unique_ptr<TBRPrinter> recorded;
};

// Made once, before any timing; freed at the end of main so that its folder
// and the recorded pages' spilled store are deleted.
std::unique_ptr<Listing>& listingHolder()
{
    static std::unique_ptr<Listing> held;
    return held;
}

Listing& listing()
{
    std::unique_ptr<Listing>& l = listingHolder();
    if (!l) {
        auto made = std::make_unique<Listing>();
        for (bool compress : {true, false}) {
            auto target = std::make_unique<TBRPrinter>();
            target->SetCompression(compress);
            target->StartJob();
            for (int page = 1; page <= kPages; ++page) {
                target->NewPage();
                brp::DrawListingPage(*target->PageCanvas(), page);
            }
            target->FinishJob();
            const QString file = made->dir.filePath(QLatin1String(compress ? "listing-z.BRP" : "listing.BRP"));
            target->SaveReportFile(file);
            (compress ? made->compressed : made->plain) = file;
            if (!compress)
                made->recorded = std::move(target);
        }
        l = std::move(made);
    }
    return *l;
}

void BM_ReadAllPages(benchmark::State& state)
{
    for (auto _ : state) {
        TBRPageList list;
        list.OpenFile(listing().plain);
        for (int n = 1; n <= list.Count(); ++n)
            benchmark::DoNotOptimize(list.FetchPage(n));
    }
}
BENCHMARK(BM_ReadAllPages)->Unit(benchmark::kMillisecond);

void IndexLoadedFile(benchmark::State& state, bool compressed)
{
    qsizetype bytes = 0;
    for (auto _ : state) {
        TBRPageList list;
        list.OpenFile(compressed ? listing().compressed : listing().plain);
        bytes = list.TextIndex().MemoryBytes();
        if (list.TextIndex().Pages() != kPages)
            state.SkipWithError("not every page was indexed");
    }
    state.counters["index_MB"] = double(bytes) / 1e6;
}

void BM_IndexLoadedFile(benchmark::State& state)
{
    IndexLoadedFile(state, false);
}
BENCHMARK(BM_IndexLoadedFile)->Unit(benchmark::kMillisecond);

void BM_IndexLoadedFileCompressed(benchmark::State& state)
{
    IndexLoadedFile(state, true);
}
BENCHMARK(BM_IndexLoadedFileCompressed)->Unit(benchmark::kMillisecond)->Iterations(1);

// Searches in the index of the recorded listing: a text on a few lines, one
// on every line (104,670 hits), one on every page, and one found nowhere.
void Search(benchmark::State& state, const QString& text)
{
    PageTextIndex& index = listing().recorded->PageList().TextIndex();
    size_t hits = 0;
    for (auto _ : state) {
        hits = index.Search(text).size();
        benchmark::DoNotOptimize(hits);
    }
    state.counters["hits"] = double(hits);
}

void BM_SearchFew(benchmark::State& state)
{
    Search(state, QStringLiteral("COMERCIO LTDA 42"));
}
BENCHMARK(BM_SearchFew)->Unit(benchmark::kMillisecond);

void BM_SearchEveryLine(benchmark::State& state)
{
    Search(state, QStringLiteral("venda a vista"));
}
BENCHMARK(BM_SearchEveryLine)->Unit(benchmark::kMillisecond);

void BM_SearchEveryPage(benchmark::State& state)
{
    Search(state, QStringLiteral("Período: 01/03"));
}
BENCHMARK(BM_SearchEveryPage)->Unit(benchmark::kMillisecond);

void BM_SearchNowhere(benchmark::State& state)
{
    Search(state, QStringLiteral("José Ninguém"));
}
BENCHMARK(BM_SearchNowhere)->Unit(benchmark::kMillisecond);

// What a recorded page costs, and what indexing it adds.
QByteArray recordPage(int page)
{
    TMetafileCanvas c(794, 1123);
    brp::DrawListingPage(c, page);
    return c.Finish();
}

void BM_RecordPage(benchmark::State& state)
{
    int page = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(recordPage(1 + page++ % 50));
}
BENCHMARK(BM_RecordPage)->Unit(benchmark::kMicrosecond);

void BM_IndexPage(benchmark::State& state)
{
    const QByteArray emf = recordPage(7);
    PageTextIndex index;
    for (auto _ : state) {
        if (index.Pages() == 1000) {
            state.PauseTiming();
            index.Clear();
            state.ResumeTiming();
        }
        index.AddPage(emf);
    }
}
BENCHMARK(BM_IndexPage)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    brp::StartReportEngine(QStringLiteral("bench"), QLocale(QLocale::Portuguese, QLocale::Brazil));
    brp::SetPrinterServiceFactory([] { return std::make_unique<RecordingPrinterService>(); });
    brp::SetApplicationPrinter(std::make_unique<RecordingPrinterService>());
    benchmark::Initialize(&argc, argv);
    listing(); // recorded before any timing
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto find = [](const std::map<std::string, double>& m, const char* name) {
        const auto it = m.find(name);
        return it == m.end() ? 0.0 : it->second;
    };
    const double read = find(reporter.cpu, "BM_ReadAllPages");
    if (read > 0) {
        std::printf("\nBaseline: reading all %d pages of the loaded file = 1.00 (%.1f ms)\n", kPages, read);
        for (const char* name : {"BM_IndexLoadedFile", "BM_IndexLoadedFileCompressed/iterations:1", "BM_SearchFew",
                                 "BM_SearchEveryLine", "BM_SearchEveryPage", "BM_SearchNowhere"}) {
            const double t = find(reporter.cpu, name);
            if (t > 0)
                std::printf("%-42s %6.2f x baseline, %8.1f ms%s\n", name, t / read, find(reporter.real, name),
                            QByteArray(name).startsWith("BM_Search") ? " (goal: under 200 ms)" : "");
        }
    }
    const double record = find(reporter.cpu, "BM_RecordPage");
    const double index = find(reporter.cpu, "BM_IndexPage");
    if (record > 0 && index > 0)
        std::printf("\nBaseline: recording one listing page = 1.00 (%.1f us); indexing it: %.3f x (%.1f us)\n",
                    record, index / record, index);
    benchmark::Shutdown();
    listingHolder().reset();
    brp::SetApplicationPrinter(nullptr);
    return 0;
}
