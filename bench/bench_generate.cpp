// Generation speed and memory on a listing-like report: a page header of 20
// labels, a detail band of 8 data fields (one with a numeric mask) at about
// 45 rows a page and a summary, over 10,000 and 100,000 in-memory rows, into
// the page store, plain and compressed. Baseline in the same run: painting
// the same page content with QPainter into one QPicture per page.
//
// Memory is the run's own: peak resident during the run minus what the
// process held once the data was loaded (the peak is reset before each run).
//
// With BRP_BENCH_SAVE=prefix each run's pages are saved to
// prefix-<rows>-<plain|compressed>.brp, to compare recordings byte for byte
// (past the 128-byte header, which holds the time of writing).
#include "BRCtrls.h"
#include "BandRpt.h"
#include "ReportEngine.h"
#include "TBRPrinter.h"
#include "TMemDataSet.h"

#include <QApplication>
#include <QFile>
#include <QPainter>
#include <QPicture>
#include <benchmark/benchmark.h>

#include <ctime>
#include <cstdio>
#include <map>
#include <memory>

namespace {

constexpr int kFields = 8;

// Seconds of CPU this process used: the machine may be shared, so rates are
// taken on CPU time (wall time is reported by the framework beside them).
double cpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

long procKb(const char* key)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(qstrlen(key)).trimmed().split(' ').first().toLong();
    return 0;
}

void resetPeak()
{
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly))
        f.write("5");
}

QString cell(int row, int field)
{
    switch (field) {
    case 0:
        return QString::number(100000 + row);
    case 1:
        return QStringLiteral("%1/%2/2024").arg(1 + row % 28, 2, 10, QChar(u'0')).arg(1 + row % 12, 2, 10, QChar(u'0'));
    case 3:
        return QStringLiteral("CLIENTE %1 COMERCIO LTDA").arg(row % 5000);
    case 6:
        return QString::number(double(row % 10000000) / 1000, 'f', 3);
    default:
        return QStringLiteral("F%1-%2").arg(field).arg(row % 97);
    }
}

struct Listing {
    std::unique_ptr<TComponent> form = std::make_unique<TComponent>();
    TBandReport* report = nullptr;
    TMemDataSet* data = nullptr;

    explicit Listing(int rows)
    {
        form->SetName(QStringLiteral("Form1"));
        data = new TMemDataSet(form.get());
        data->SetName(QStringLiteral("QryRel"));
        for (int f = 0; f < kFields; ++f)
            data->DefineField(QStringLiteral("C%1").arg(f), f == 6 ? TFieldType::ftFloat : TFieldType::ftString);
        for (int r = 0; r < rows; ++r) {
            QVariantList values;
            for (int f = 0; f < kFields; ++f)
                values << (f == 6 ? QVariant(double(r % 10000000) / 1000) : QVariant(cell(r, f)));
            data->AppendRecord(values);
        }
        data->Open();

        report = new TBandReport(form.get());
        report->SetName(QStringLiteral("Rel"));
        report->Page()->SetPaperSize(TBRPaperSize::A4);
        report->SetUnits(TBRUnit::Native);
        for (int i : {TBRPage::iLeftMargin, TBRPage::iRightMargin, TBRPage::iTopMargin, TBRPage::iBottomMargin})
            report->Page()->SetDimension(i, 100);
        report->SetDataSet(data);
        report->OnPreview = [](QObject*) {};

        auto band = [&](const QString& name, TBRBandType type, int height) {
            auto* b = new TBRBand(form.get());
            b->SetName(name);
            b->SetParentPanel(report);
            b->SetBandType(type);
            b->SetHeight(height);
            return b;
        };
        TBRBand* header = band(QStringLiteral("Cab"), rbPageHeader, 60);
        for (int i = 0; i < 20; ++i) {
            auto* l = new TBRLabel(form.get());
            l->SetName(QStringLiteral("L%1").arg(i));
            l->SetParentPanel(header);
            l->SetBounds(4 + (i % 10) * 70, i < 10 ? 4 : 30, 68, 17);
            l->SetCaption(QStringLiteral("Coluna %1").arg(i));
        }
        TBRBand* detail = band(QStringLiteral("Det"), rbDetail, 21);
        for (int f = 0; f < kFields; ++f) {
            auto* t = new TBRDBText(form.get());
            t->SetName(QStringLiteral("D%1").arg(f));
            t->SetParentPanel(detail);
            t->SetBounds(4 + f * 88, 2, 86, 17);
            t->SetDataSet(data);
            t->SetDataField(QStringLiteral("C%1").arg(f));
            if (f == 6)
                t->SetMask(QStringLiteral("#,##0.000"));
        }
        TBRBand* summary = band(QStringLiteral("Sum"), rbSummary, 30);
        auto* total = new TBRLabel(form.get());
        total->SetName(QStringLiteral("Total"));
        total->SetParentPanel(summary);
        total->SetBounds(4, 4, 200, 17);
        total->SetCaption(QStringLiteral("Fim da listagem"));
    }
};

struct Figures {
    double pagesPerSecond = 0;
    double runMb = 0;
    int pages = 0;
};
std::map<std::pair<int, bool>, Figures> g_generate;
std::map<int, double> g_picture;

void BM_Generate(benchmark::State& state)
{
    const int rows = int(state.range(0));
    const bool compressed = state.range(1) != 0;
    Listing listing(rows);
    if (compressed)
        listing.report->SetOptions(int(listing.report->Options() | Compression));
    Figures fig;
    for (auto _ : state) {
        resetPeak();
        const long before = procKb("VmRSS:");
        const double t0 = cpuSeconds();
        listing.report->Preview();
        const double seconds = cpuSeconds() - t0;
        fig.runMb = double(procKb("VmHWM:") - before) / 1024;
        fig.pages = listing.report->OutputTarget()->PageTotal();
        fig.pagesPerSecond = fig.pages / seconds;
        if (const QString prefix = qEnvironmentVariable("BRP_BENCH_SAVE"); !prefix.isEmpty())
            listing.report->OutputTarget()->SaveReportFile(
                QStringLiteral("%1-%2-%3.brp")
                    .arg(prefix)
                    .arg(rows)
                    .arg(QLatin1String(compressed ? "compressed" : "plain")));
        listing.report->ReleaseOutputTarget();
    }
    g_generate[{rows, compressed}] = fig;
    state.counters["pages"] = fig.pages;
    state.counters["pages_per_s"] = fig.pagesPerSecond;
    state.counters["run_MB"] = fig.runMb;
}

// The same texts at the same places, painted into one QPicture per page.
void BM_QPictureBaseline(benchmark::State& state)
{
    const int rows = int(state.range(0));
    constexpr int perPage = 47;
    const QLocale locale;
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(10);
    int pages = 0;
    double seconds = 0;
    for (auto _ : state) {
        const double t0 = cpuSeconds();
        pages = 0;
        for (int first = 0; first < rows; first += perPage) {
            QPicture picture;
            QPainter p(&picture);
            p.setFont(font);
            p.fillRect(QRect(38, 38, 718, 60), Qt::white);
            for (int i = 0; i < 20; ++i)
                p.drawText(QPoint(42 + (i % 10) * 70, (i < 10 ? 42 : 68) + 13), QStringLiteral("Coluna %1").arg(i));
            for (int r = first; r < std::min(rows, first + perPage); ++r) {
                const int y = 98 + (r - first) * 21;
                p.fillRect(QRect(38, y, 718, 21), Qt::white);
                for (int f = 0; f < kFields; ++f) {
                    const QString text = f == 6 ? locale.toString(double(r % 10000000) / 1000, 'f', 3) : cell(r, f);
                    p.drawText(QPoint(42 + f * 88, y + 15), text);
                }
            }
            p.end();
            benchmark::DoNotOptimize(picture.size());
            ++pages;
        }
        seconds = cpuSeconds() - t0;
    }
    g_picture[rows] = pages / seconds;
    state.counters["pages"] = pages;
    state.counters["pages_per_s"] = pages / seconds;
}

} // namespace

BENCHMARK(BM_QPictureBaseline)->Arg(10000)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Generate)
    ->ArgNames({"rows", "compressed"})
    ->ArgsProduct({{10000, 100000}, {0, 1}})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    brp::StartReportEngine(QStringLiteral("bench"), QLocale(QLocale::Portuguese, QLocale::Brazil));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("\n%-8s %-11s %10s %10s %12s %8s\n", "rows", "store", "pages/s", "vs QPic", "vs plain", "run MB");
    for (const auto& [key, fig] : g_generate) {
        const double picture = g_picture.count(key.first) ? g_picture[key.first] : 0;
        const auto plain = g_generate.find({key.first, false});
        std::printf("%-8d %-11s %10.0f %9.2fx %11.2fx %8.1f\n", key.first, key.second ? "compressed" : "plain",
                    fig.pagesPerSecond, picture > 0 ? fig.pagesPerSecond / picture : 0,
                    plain != g_generate.end() ? fig.pagesPerSecond / plain->second.pagesPerSecond : 0, fig.runMb);
    }
    return 0;
}
