// Peak memory of `brptool` over CSV data, each run its own process (its peak
// resident size, as /usr/bin/time -v reports it), figures as ratios of the
// same run:
//
// - a two-field listing over 1,000 and 1,000,000 rows, to a saved-report file,
//   and `brptool eval` over the same files: how much the peak grows, against
//   the size of the larger file (goal: at most 1.5 times);
// - the program's listing over 10,000 and 100,000 orders to a saved-report
//   file and to a PDF: the PDF's peak against the saved report's (goal:
//   within 20 MB).
//
// Wall and processor time of every run are reported beside.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <map>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

QTemporaryDir& tempDir()
{
    static QTemporaryDir dir;
    return dir;
}

QString brptool()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/../tools/brptool");
}

struct Run {
    double peakMb = 0;
    double seconds = 0;
    double cpuSeconds = 0;
    bool ok = false;
};

// Runs brptool with `args`, its output thrown away; its peak from wait4.
Run runTool(const QStringList& args)
{
    std::vector<QByteArray> bytes{QFile::encodeName(brptool())};
    for (const QString& a : args)
        bytes.push_back(QFile::encodeName(a));
    std::vector<char*> argv;
    for (QByteArray& b : bytes)
        argv.push_back(b.data());
    argv.push_back(nullptr);
    QElapsedTimer timer;
    timer.start();
    const pid_t pid = fork();
    if (pid == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    Run r;
    r.seconds = double(timer.nsecsElapsed()) / 1e9;
    r.cpuSeconds = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                   double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    r.peakMb = double(usage.ru_maxrss) / 1024;
    r.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return r;
}

QString writeFile(const QString& name, const std::function<void(QFile&)>& fill)
{
    const QString path = tempDir().filePath(name);
    if (!QFileInfo::exists(path)) {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        fill(f);
    }
    return path;
}

// The two-field listing: a page header and a detail band of a name and a
// value, over rows of "Cliente N,N.5".
QString twoFieldDefinition()
{
    return writeFile(QStringLiteral("rel.dfm"), [](QFile& f) {
        f.write("object Rel: TBandReport\n  Units = MM\n  Page.Values = (100.0 2970.0 100.0 2100.0 100.0 100.0 0.0)\n"
                "  Page.PaperSize = A4\n  DataSet = QryRel\n  object Cab: TBRBand\n    BandType = rbPageHeader\n"
                "    Size.Values = (100.0 1900.0)\n    object Titulo: TBRLabel\n      Caption = 'Listagem'\n"
                "      Size.Values = (50.0 0.0 0.0 500.0)\n    end\n  end\n  object Det: TBRBand\n"
                "    BandType = rbDetail\n    Size.Values = (50.0 1900.0)\n    object Nome: TBRDBText\n"
                "      DataSet = QryRel\n      DataField = 'NOME'\n      Size.Values = (45.0 0.0 0.0 600.0)\n    end\n"
                "    object Valor: TBRDBText\n      DataSet = QryRel\n      DataField = 'VALOR'\n      Mask = '0.00'\n"
                "      Size.Values = (45.0 700.0 0.0 400.0)\n    end\n  end\nend\n");
    });
}

QString twoFieldCsv(int rows)
{
    return writeFile(QStringLiteral("two-%1.csv").arg(rows), [rows](QFile& f) {
        QByteArray block = "NOME,VALOR:float\n";
        for (int i = 1; i <= rows; ++i) {
            block += "Cliente " + QByteArray::number(i) + ',' + QByteArray::number(i) + ".5\n";
            if (block.size() > (1 << 20)) {
                f.write(block);
                block.clear();
            }
        }
        f.write(block);
    });
}

QString listingDefinition()
{
    return writeFile(QStringLiteral("UPrincipal.def"), [](QFile& f) {
        QFile def(QStringLiteral(":/UPrincipal.def"));
        def.open(QIODevice::ReadOnly);
        f.write(def.readAll());
    });
}

QString ordersCsv(int rows)
{
    return writeFile(QStringLiteral("orders-%1.csv").arg(rows), [rows](QFile& f) {
        f.write("CODEMPRESA:integer,CODPEDIDO:integer,CODCLIENTE:integer,NOME,DATAPEDIDO:date,DATAFATURA:date,PRAZO,"
                "TOTALPEDIDO:float\n");
        for (int i = 0; i < rows; ++i) {
            const QByteArray day = QStringLiteral("%1/03/2024").arg(1 + i % 28, 2, 10, QChar(u'0')).toLatin1();
            f.write(QByteArray::number(1 + i % 3) + ',' + QByteArray::number(5000 + i) + ',' +
                    QByteArray::number(200 + i % 41) + ",Cliente Comércio " + QByteArray::number(i % 97) + ',' + day +
                    ',' + day + ",30/60/90," + QByteArray::number(1234.5 + i, 'f', 2) + '\n');
        }
    });
}

std::map<std::string, Run> g_runs;

void measure(benchmark::State& state, const std::string& key, const QStringList& args)
{
    Run r;
    for (auto _ : state) {
        r = runTool(args);
        state.SetIterationTime(r.seconds);
        if (!r.ok)
            state.SkipWithError("brptool failed");
    }
    g_runs[key] = r;
    state.counters["peak_MB"] = r.peakMb;
    state.counters["cpu_s"] = r.cpuSeconds;
}

void BM_TwoFieldRun(benchmark::State& state)
{
    const int rows = int(state.range(0));
    measure(state, "run " + std::to_string(rows),
            {QStringLiteral("run"), twoFieldDefinition(), QStringLiteral("--data"),
             QStringLiteral("QryRel=") + twoFieldCsv(rows), QStringLiteral("--out"),
             tempDir().filePath(QStringLiteral("two.BRP")), QStringLiteral("--quiet")});
}

void BM_TwoFieldEval(benchmark::State& state)
{
    const int rows = int(state.range(0));
    measure(state, "eval " + std::to_string(rows),
            {QStringLiteral("eval"), QStringLiteral("--data"), QStringLiteral("QryRel=") + twoFieldCsv(rows),
             QStringLiteral("SUM(QryRel.VALOR)")});
}

void BM_ListingRun(benchmark::State& state)
{
    const int rows = int(state.range(0));
    const char* type = state.range(1) ? "pdf" : "BRP";
    measure(state, std::string("listing ") + type + " " + std::to_string(rows),
            {QStringLiteral("run"), listingDefinition(), QStringLiteral("--report"), QStringLiteral("BRRelatorio"),
             QStringLiteral("--data"), QStringLiteral("QryRel=") + ordersCsv(rows), QStringLiteral("--out"),
             tempDir().filePath(QStringLiteral("listing.%1").arg(QLatin1String(type))), QStringLiteral("--quiet")});
}

BENCHMARK(BM_TwoFieldRun)->Arg(1000)->Arg(1000000)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TwoFieldEval)->Arg(1000)->Arg(1000000)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListingRun)
    ->ArgsProduct({{10000, 100000}, {0, 1}})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    Q_INIT_RESOURCE(resources);
    if (!QFileInfo(brptool()).isExecutable()) {
        std::fprintf(stderr, "bench_run_memory: no brptool at %s\n", qPrintable(brptool()));
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    const double csvMb = double(QFileInfo(twoFieldCsv(1000000)).size()) / (1 << 20);
    std::printf("\nTwo-field listing, CSV of 1,000,000 rows = %.1f MB; peak growth from 1,000 to 1,000,000 rows "
                "against it (goal: at most 1.50):\n",
                csvMb);
    for (const char* what : {"run", "eval"}) {
        const auto small = g_runs.find(std::string(what) + " 1000"), large = g_runs.find(std::string(what) + " 1000000");
        if (small == g_runs.end() || large == g_runs.end())
            continue;
        const double growth = large->second.peakMb - small->second.peakMb;
        std::printf("  brptool %-4s %.1f MB -> %.1f MB: +%.1f MB = %.2f x the file (%.1f s)\n", what,
                    small->second.peakMb, large->second.peakMb, growth, growth / csvMb, large->second.seconds);
    }
    std::printf("\nListing to a PDF against the same listing to a saved report (goal: peak within 20 MB):\n");
    for (const int rows : {10000, 100000}) {
        const auto brp = g_runs.find("listing BRP " + std::to_string(rows)),
                   pdf = g_runs.find("listing pdf " + std::to_string(rows));
        if (brp == g_runs.end() || pdf == g_runs.end())
            continue;
        std::printf("  %6d orders: .BRP %.1f MB (%.1f s), .pdf %.1f MB (%.1f s): %+.1f MB\n", rows, brp->second.peakMb,
                    brp->second.seconds, pdf->second.peakMb, pdf->second.seconds,
                    pdf->second.peakMb - brp->second.peakMb);
    }
    return 0;
}
