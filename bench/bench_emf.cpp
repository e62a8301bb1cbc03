// Page recording and playback on a listing-like page (a header, a rule and 45
// lines of 8 text cells): recording a page as EMF and playing it back onto an
// image, each against painting the same page straight onto an image.
#include "EmfPlayer.h"
#include "PainterCanvas.h"
#include "TMetafileCanvas.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <map>
#include <string>

namespace {

constexpr int kWidth = 794, kHeight = 1123;  // A4 at 96 pixels per inch

void DrawListingPage(TCanvas& c, int page)
{
    c.Font.Name = QStringLiteral("Arial");
    c.Font.SetSize(12);
    c.Font.Style = fsBold;
    c.SetBkMode(TRANSPARENT);
    c.SetTextAlign(TA_LEFT | TA_TOP);
    c.TextOut(38, 38, QStringLiteral("Listagem de Pedidos sem Contas a Receber"));
    c.Font.SetSize(8);
    c.Font.Style = 0;
    c.SetTextAlign(TA_RIGHT | TA_TOP);
    c.TextOut(756, 42, QStringLiteral("Página %1").arg(page));
    c.SetTextAlign(TA_LEFT | TA_TOP);
    c.TextOut(38, 64, QStringLiteral("Período: 01/03/2024 a 31/03/2024   Tipos: 51 - NF, 55 - PDV"));
    c.Pen.Width = 1;
    c.MoveTo(38, 82);
    c.LineTo(756, 82);

    static const int columns[8] = {38, 108, 178, 338, 418, 498, 578, 756};
    const int lineHeight = c.TextHeight(QStringLiteral("W")) + 5;
    for (int line = 0; line < 45; ++line) {
        const int y = 90 + line * lineHeight;
        const int n = page * 45 + line;
        const QString cells[8] = {
            QString::number(100000 + n), QStringLiteral("%1/03/2024").arg(1 + n % 28, 2, 10, QChar('0')),
            QStringLiteral("Cliente Comércio Ltda %1").arg(n % 97), QStringLiteral("%1").arg(51 + n % 6),
            QStringLiteral("30/60/90"), QStringLiteral("Venda à vista"), QStringLiteral("%1").arg(n % 13),
            QStringLiteral("%1,%2").arg(1000 + n * 37 % 9000).arg(n % 100, 2, 10, QChar('0'))};
        for (int k = 0; k < 8; ++k) {
            c.SetTextAlign(k == 7 ? (TA_RIGHT | TA_TOP) : (TA_LEFT | TA_TOP));
            c.TextOut(columns[k], y, cells[k]);
        }
    }
    c.RemoveClipRegion();
}

QByteArray RecordPage(int page)
{
    TMetafileCanvas c(kWidth, kHeight);
    DrawListingPage(c, page);
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
        DrawListingPage(c, page++ % 50);
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

// Collects the processor time per iteration (steadier than wall time on a
// shared machine) of each benchmark to print the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& r : runs)
            if (r.run_type == Run::RT_Iteration && r.iterations > 0)
                times[r.benchmark_name()] = r.GetAdjustedCPUTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;
};

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto& t = reporter.times;
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
    benchmark::Shutdown();
    return 0;
}
