// How time grows with inputs made to be long: a label cutting one over-long
// word to its width, and reading and laying out definitions with a long chain
// of linked bands, a long chain of child bands, and many plain bands. Each is
// measured at a size and at ten times that size; the figure is the ratio of
// the two times (processor time). Work that grows with the input gives about
// 10, work that grows with its square about 100. Target: under 15 for each.
#include "BRCtrls.h"
#include "BRReportReader.h"
#include "BandRpt.h"
#include "PrinterService.h"
#include "RecordingPrinterService.h"
#include "ReportEngine.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <ctime>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

namespace {

double cpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

// Seconds per case and size, for the ratios printed at the end.
std::map<std::string, std::map<int, double>> g_seconds;

QString word(int length)
{
    QString w(length, Qt::Uninitialized);
    for (int i = 0; i < length; ++i)
        w[i] = QChar(u'a' + (i * 7) % 26);
    return w;
}

// A word of `range(0)` letters after a short one, in a label 50 pixels wide:
// the word gets a line of its own, cut to fit.
void BM_WordCut(benchmark::State& state)
{
    const int length = int(state.range(0));
    TComponent form;
    auto* report = new TBandReport(&form);
    auto* band = new TBRBand(&form);
    band->SetParentPanel(report);
    auto* label = new TBRLabel(&form);
    label->SetParentPanel(band);
    label->SetAutoSize(false);
    label->SetBounds(0, 0, 50, 17);
    const QString caption = QStringLiteral("ab ") + word(length);
    double seconds = 0;
    for (auto _ : state) {
        const double t0 = cpuSeconds();
        label->SetCaption(caption);
        seconds = cpuSeconds() - t0;
        benchmark::DoNotOptimize(label->BrokenLines().size());
    }
    g_seconds["word cut"][length] = seconds;
}

// Bands B0..B(n-1): "link" chains each band to the one written before it
// (the order that made every link walk the chain so far), "child" makes each
// a child band of the one before, "plain" gives n summary bands.
QString bands(const std::string& kind, int n)
{
    QString text = QStringLiteral("object Rel: TBandReport\n  Units = MM\n"
                                  "  Page.Values = (100.0 2970.0 100.0 2100.0 100.0 100.0 0.0)\n");
    for (int i = 0; i < n; ++i) {
        const bool child = kind == "child" && i > 0;
        text += QStringLiteral("  object B%1: %2\n").arg(i).arg(QLatin1String(child ? "TBRChildBand" : "TBRBand"));
        if (child)
            text += QStringLiteral("    ParentBand = B%1\n").arg(i - 1);
        else
            text += QStringLiteral("    BandType = %1\n")
                        .arg(QLatin1String(kind == "plain" ? "rbSummary" : "rbDetail"));
        if (kind == "link" && i > 0)
            text += QStringLiteral("    LinkBand = B%1\n").arg(i - 1);
        text += QStringLiteral("    Size.Values = (10.0 1900.0)\n  end\n");
    }
    return text + QStringLiteral("end\n");
}

void readBands(benchmark::State& state, const std::string& kind)
{
    const int n = int(state.range(0));
    const QString text = bands(kind, n);
    double seconds = 0;
    for (auto _ : state) {
        const double t0 = cpuSeconds();
        std::unique_ptr<TCustomBandReport> report(BRReportReader::ReadText(text, nullptr));
        report->SetZoom(150); // lays the bands out again
        report.reset();
        seconds = cpuSeconds() - t0;
    }
    g_seconds[kind + " bands"][n] = seconds;
}

void BM_LinkChain(benchmark::State& state) { readBands(state, "link"); }
void BM_ChildChain(benchmark::State& state) { readBands(state, "child"); }
void BM_PlainBands(benchmark::State& state) { readBands(state, "plain"); }

} // namespace

BENCHMARK(BM_WordCut)->Arg(100000)->Arg(1000000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LinkChain)->Arg(1000)->Arg(10000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChildChain)->Arg(1000)->Arg(10000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainBands)->Arg(2000)->Arg(20000)->Iterations(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // No printer queries for every report made.
    brp::SetPrinterServiceFactory([] { return std::make_unique<RecordingPrinterService>(); });
    brp::SetApplicationPrinter(std::make_unique<RecordingPrinterService>());
    brp::StartReportEngine(QStringLiteral("bench"), QLocale(QLocale::Portuguese, QLocale::Brazil));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("\n%-14s %10s %10s %12s %12s %8s\n", "input", "size", "x10", "seconds", "x10 seconds", "ratio");
    for (const auto& [name, bySize] : g_seconds) {
        if (bySize.size() != 2)
            continue;
        const auto small = bySize.begin(), large = std::next(small);
        std::printf("%-14s %10d %10d %12.3f %12.3f %7.1fx\n", name.c_str(), small->first, large->first, small->second,
                    large->second, small->second > 0 ? large->second / small->second : 0);
    }
    return 0;
}
