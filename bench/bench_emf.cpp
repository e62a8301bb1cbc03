// Page recording and playback on a listing-like page (a header, a rule and 45
// lines of 8 text cells): recording a page as EMF and playing it back onto an
// image, each against painting the same page straight onto an image. Then the
// hostile pages of the player's budget test, each played until it is drawn or
// cut short at the work budget, against playing the listing page.
#include "EmfPlayer.h"
#include "HostileEmfPages.h"
#include "ListingPage.h"
#include "PainterCanvas.h"
#include "TMetafileCanvas.h"
#include "RatioReporter.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <functional>
#include <sys/resource.h>
#include <vector>
#include <map>
#include <string>

namespace {

constexpr int kWidth = 794, kHeight = 1123;  // A4 at 96 pixels per inch


QByteArray RecordPage(int page)
{
    TMetafileCanvas c(kWidth, kHeight);
    brp::DrawListingPage(c, page);
    return c.Finish();
}

void BM_PaintDirect(benchmark::State& state)
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    int page = 0;
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter p(&image);
        PainterCanvas c(&p, 96);
        brp::DrawListingPage(c, page++ % 50);
    }
}
BENCHMARK(BM_PaintDirect)->Unit(benchmark::kMicrosecond);

void BM_RecordEmf(benchmark::State& state)
{
    int page = 0;
    qint64 bytes = 0;
    for (auto _ : state) {
        const QByteArray emf = RecordPage(page++ % 50);
        bytes = emf.size();
        benchmark::DoNotOptimize(emf.constData());
    }
    state.counters["page_bytes"] = double(bytes);
}
BENCHMARK(BM_RecordEmf)->Unit(benchmark::kMicrosecond);

void BM_PlayEmf(benchmark::State& state)
{
    const QByteArray emf = RecordPage(7);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter p(&image);
        EmfPlayer::Play(emf, &p, QRectF(0, 0, kWidth, kHeight));
    }
}
BENCHMARK(BM_PlayEmf)->Unit(benchmark::kMicrosecond);

using hostileemf::HostilePage;
using hostileemf::HostilePages;

void BM_PlayHostilePage(benchmark::State& state)
{
    const HostilePage& page = HostilePages()[std::size_t(state.range(0))];
    const QByteArray emf = page.make();
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    bool cut = false;
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter p(&image);
        cut = !EmfPlayer::Play(emf, &p, QRectF(0, 0, kWidth, kHeight)).Ok();
    }
    state.SetLabel(std::string(page.name) + (cut ? ", cut short" : ", drawn whole"));
}
// In the unit of the baseline, for the ratios.
BENCHMARK(BM_PlayHostilePage)->DenseRange(0, int(HostilePages().size()) - 1)->Iterations(2)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto& t = reporter.cpu;
    auto find = [&](const char* name) {
        const auto it = t.find(name);
        return it == t.end() ? 0.0 : it->second;
    };
    const double direct = find("BM_PaintDirect"), rec = find("BM_RecordEmf"), play = find("BM_PlayEmf");
    if (direct > 0) {
        std::printf("\nBaseline: painting the page straight onto an image = 1.00\n");
        if (rec > 0)
            std::printf("Recording the page as EMF:              %.2f x baseline\n", rec / direct);
        if (play > 0)
            std::printf("Playing the recorded page onto an image: %.2f x baseline\n", play / direct);
    }
    if (play > 0) {
        std::printf("\nBaseline: playing the recorded listing page = 1.00\n");
        for (std::size_t i = 0; i < HostilePages().size(); ++i) {
            const double cost = find(("BM_PlayHostilePage/" + std::to_string(i) + "/iterations:2").c_str());
            if (cost > 0)
                std::printf("%-36s %8.1f x baseline\n", HostilePages()[i].name, cost / play);
        }
        rusage u{};
        getrusage(RUSAGE_SELF, &u);
        std::printf("Peak memory of the whole run: %ld MB\n", u.ru_maxrss / 1024);
    }
    benchmark::Shutdown();
    return 0;
}
