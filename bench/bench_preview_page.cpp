// Changing page in the preview at 100 % (fetch the page from the store, read
// it, paint it in the window) against painting the same listing page straight
// onto an image with QPainter. The report is a realistic multi-page listing (a
// header, a rule and 45 lines of 8 text cells a page) recorded through the
// output target, its store spilled to a temporary file, plain and compressed.
//
// bench_preview_page [benchmark flags] [--save FILE.BRP]: --save also writes
// the plain report as a saved-report file (a sample for brptool view).
#include "ListingPage.h"
#include "PainterCanvas.h"
#include "PrinterService.h"
#include "RecordingPrinterService.h"
#include "ReportEngine.h"
#include "TBRPreview.h"
#include "TBRPreviewImage.h"
#include "TBRPrinter.h"
#include "TBRStream.h"
#include "TCanvas.h"
#include "RatioReporter.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

namespace {

constexpr int kPages = 20;


// The listing recorded through the output target, as a report run records it.
std::unique_ptr<TBRPrinter> RecordListing(bool compressed)
{
    auto target = std::make_unique<TBRPrinter>();
    target->SetCompression(compressed);
    target->StartJob();
    for (int page = 1; page <= kPages; ++page) {
        target->NewPage();
        brp::DrawListingPage(*target->PageCanvas(), page);
    }
    target->FinishJob();
    return target;
}

void BM_PaintDirect(benchmark::State& state)
{
    QImage image(798, 1127, QImage::Format_ARGB32_Premultiplied);
    int page = 0;
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter p(&image);
        PainterCanvas c(&p, 96);
        brp::DrawListingPage(c, 1 + page++ % kPages);
    }
}
BENCHMARK(BM_PaintDirect)->Unit(benchmark::kMillisecond);

// Next page, wrapping at the end: fetch, read and paint in the shown window.
void PreviewPageChange(benchmark::State& state, bool compressed)
{
    std::unique_ptr<TBRPrinter> target = RecordListing(compressed);
    TBRPreview preview;
    preview.resize(900, 1200);
    preview.SetBRPrinter(target.get());
    preview.SetZoom(100);
    preview.show();
    QApplication::processEvents();
    int page = 1;
    for (auto _ : state) {
        page = page % kPages + 1;
        preview.SetPageNumber(page); // paints at once
    }
    if (!preview.PreviewImage()->HasImage())
        state.SkipWithError("the page was not shown");
    state.counters["store_bytes"] = double(target->Store() ? target->Store()->Size() : 0);
}

void BM_PreviewPageChange(benchmark::State& state)
{
    PreviewPageChange(state, false);
}
BENCHMARK(BM_PreviewPageChange)->Unit(benchmark::kMillisecond);

void BM_PreviewPageChangeCompressed(benchmark::State& state)
{
    PreviewPageChange(state, true);
}
BENCHMARK(BM_PreviewPageChangeCompressed)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    brp::StartReportEngine(QStringLiteral("bench"), QLocale(QLocale::Portuguese, QLocale::Brazil));
    // Pages are recorded at the screen's resolution; no printer is needed.
    brp::SetPrinterServiceFactory([] { return std::make_unique<RecordingPrinterService>(); });
    brp::SetApplicationPrinter(std::make_unique<RecordingPrinterService>());
    benchmark::Initialize(&argc, argv);
    for (int i = 1; i + 1 < argc; ++i) {
        if (QByteArray(argv[i]) == "--save") {
            std::unique_ptr<TBRPrinter> target = RecordListing(false);
            target->SaveReportFile(QString::fromLocal8Bit(argv[i + 1]));
            std::printf("wrote %s: %d pages\n", argv[i + 1], target->PageTotal());
        }
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto find = [](const std::map<std::string, double>& m, const char* name) {
        const auto it = m.find(name);
        return it == m.end() ? 0.0 : it->second;
    };
    const double direct = find(reporter.cpu, "BM_PaintDirect");
    if (direct > 0) {
        std::printf("\nBaseline: painting the listing page straight onto an image = 1.00 (%.2f ms)\n", direct);
        for (const char* name : {"BM_PreviewPageChange", "BM_PreviewPageChangeCompressed"}) {
            const double t = find(reporter.cpu, name);
            if (t > 0)
                std::printf("%-32s %.2f x baseline, %.2f ms a page (goals: at most 2 x, under 10 ms)\n", name,
                            t / direct, find(reporter.real, name));
        }
    }
    benchmark::Shutdown();
    brp::SetApplicationPrinter(nullptr);
    return 0;
}
