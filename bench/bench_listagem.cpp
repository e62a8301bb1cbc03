// Both ways of listing on the demo database at 3,000, 12,000 and 100,000
// orders, over the default period (both date fields empty, all types) and
// one month: the documented statement and the accelerated path, each the
// rows fetched in full, with "select * from Pedidoc" on the same file as the
// baseline of the same run.
//
// The documented statement over the default period grows with the square of
// the orders (about 40 minutes at 100,000); that one figure is extrapolated
// from the two smaller sizes, unless --with-slow is given. The summary at the
// end gives the goals as ratios: the accelerated path at 100,000 orders
// against the documented statement at 3,000 (at most 1) and its growth from
// 12,000 to 100,000 orders (at most 10, 8.3 would be linear); growth_MB is the
// resident memory a listing adds at its peak (goal: under 100 MB). Processor
// time (this process, the embedded engine included) is shown too: steadier
// than wall time on a shared machine.
//
// The databases are generated once, without forced writes, into
// bench-data/ beside this program and kept for the next run.
#include "ConsultaPedidos.h"
#include "ConsultaPedidosAcelerada.h"
#include "DemoDatabase.h"
#include "FbConnection.h"
#include "RatioReporter.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <algorithm>
#include <map>

namespace {

bool g_comLentas = false;
// Processor seconds of the run kept for each benchmark (the best of its
// repetitions), by the benchmark's name.
std::map<std::string, double> g_processador;

double processador()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

QString database(int orders)
{
    const QString dir = QCoreApplication::applicationDirPath() + QStringLiteral("/bench-data");
    QDir().mkpath(dir);
    const QString path = dir + QStringLiteral("/pedidos-%1.fdb").arg(orders);
    if (!QFile::exists(path)) {
        const QString part = path + QStringLiteral(".part");
        QFile::remove(part);
        DemoDatabase::Options o;
        o.orders = orders;
        o.forcedWrites = false;
        std::fprintf(stderr, "generating %d orders into %s\n", orders, path.toLocal8Bit().constData());
        DemoDatabase::Create(part, o);
        QFile::rename(part, path);
    }
    return path;
}

// A line of /proc/self/status, in kB.
long statusKb(const char* campo)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& l : f.readAll().split('\n'))
        if (l.startsWith(campo))
            return l.mid(static_cast<qsizetype>(std::strlen(campo))).trimmed().split(' ').value(0).toLong();
    return -1;
}

// Starts the peak of resident memory afresh (Linux: "5" to clear_refs).
void reiniciarPico()
{
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly))
        f.write("5");
}

enum Caminho { kDocumentada = 0, kAcelerada = 1, kTudo = 2 };

std::string nome(int orders, bool mes, Caminho c)
{
    return "BM_Listagem/orders:" + std::to_string(orders) + "/month:" + std::to_string(mes ? 1 : 0) +
           "/path:" + std::to_string(static_cast<int>(c)) + "/iterations:1/manual_time";
}

void BM_Listagem(benchmark::State& state)
{
    const int orders = static_cast<int>(state.range(0));
    const bool mes = state.range(1) != 0;
    const auto caminho = static_cast<Caminho>(state.range(2));
    if (caminho == kDocumentada && !mes && orders > 12000 && !g_comLentas) {
        state.SkipWithError("extrapolated (--with-slow runs it)");
        for (auto _ : state) {
        }
        return;
    }
    FbConnection db;
    db.Attach(database(orders), QStringLiteral("SYSDBA"), QString());
    const ConsultaPedidos::Filtro filtro = ConsultaPedidos::FiltroDosTextos(
        mes ? QStringLiteral("01/06/2020") : QStringLiteral("01/01/1950"),
        mes ? QStringLiteral("30/06/2020") : QStringLiteral("01/01/2999"), QString());
    // The file's pages in the engine's cache, as for a second listing.
    db.Query(QStringLiteral("select * from Pedidoc"));
    size_t linhas = 0;
    long picoKb = 0, antesKb = 0; // kB
    for (auto _ : state) {
        // The best of three where a run is short: the machine is shared, and
        // the figures are compared across sizes.
        double melhor = 0, melhorCpu = 0;
        QElapsedTimer total;
        total.start();
        for (int vez = 0; vez < 3 && (vez == 0 || total.elapsed() < 10000); ++vez) {
            antesKb = statusKb("VmRSS:");
            reiniciarPico();
            QElapsedTimer t;
            t.start();
            const double cpu0 = processador();
            const FbResult r = caminho == kDocumentada ? ConsultaPedidos::ListagemDocumentada(db, filtro)
                               : caminho == kAcelerada ? ConsultaPedidos::ListagemAcelerada(db, filtro)
                                                       : db.Query(QStringLiteral("select * from Pedidoc"));
            const double s = static_cast<double>(t.nsecsElapsed()) / 1e9;
            if (vez == 0 || s < melhor)
                melhorCpu = processador() - cpu0;
            melhor = vez == 0 ? s : std::min(melhor, s);
            picoKb = std::max(picoKb, statusKb("VmHWM:") - antesKb);
            linhas = r.rows.size();
        }
        state.SetIterationTime(melhor);
        g_processador[nome(orders, mes, caminho)] = melhorCpu * 1000.0;
    }
    state.counters["rows"] = static_cast<double>(linhas);
    // Resident memory the listing added at its peak, over what the process
    // (the engine's page cache included) held before it.
    state.counters["growth_MB"] = static_cast<double>(picoKb) / 1024.0;
    state.counters["before_MB"] = static_cast<double>(antesKb) / 1024.0;
}

}

BENCHMARK(BM_Listagem)
    ->ArgNames({"orders", "month", "path"})
    ->ArgsProduct({{3000, 12000, 100000}, {0, 1}, {kTudo, kAcelerada, kDocumentada}})
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--with-slow") == 0) {
            g_comLentas = true;
            for (int j = i; j + 1 < argc; ++j)
                argv[j] = argv[j + 1];
            --argc;
            break;
        }
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    // Wall time is the operator's wait, the goals' measure; processor time
    // (this process, the embedded engine included) is steadier on a shared
    // machine. In seconds.
    const auto tempo = [&](const std::map<std::string, double>& m, int orders, bool mes, Caminho c) {
        const auto it = m.find(nome(orders, mes, c));
        double t = it == m.end() || it->second <= 0 ? NAN : it->second / 1000.0;
        if (std::isnan(t) && c == kDocumentada && !mes && orders > 12000) {
            // t = a * n^k through the two smaller sizes.
            const auto a = m.find(nome(3000, false, c)), b = m.find(nome(12000, false, c));
            if (a == m.end() || b == m.end() || a->second <= 0 || b->second <= 0)
                return t;
            const double t3 = a->second / 1000.0, t12 = b->second / 1000.0;
            t = t12 * std::pow(orders / 12000.0, std::log(t12 / t3) / std::log(4.0));
        }
        return t;
    };
    for (const auto* m : {&reporter.real, &g_processador}) {
        const auto s = [&](int orders, bool mes, Caminho c) { return tempo(*m, orders, mes, c); };
        std::printf("\n%s seconds, documented / accelerated (ratio):\n", m == &reporter.real ? "wall" : "processor");
        for (const bool mes : {false, true})
            for (const int n : {3000, 12000, 100000})
                std::printf("  %-14s %7d orders: %9.2f / %6.3f  (x%.0f)%s\n", mes ? "one month" : "default period", n,
                            s(n, mes, kDocumentada), s(n, mes, kAcelerada), s(n, mes, kDocumentada) / s(n, mes, kAcelerada),
                            !mes && n > 12000 && !g_comLentas ? "  documented extrapolated" : "");
        std::printf("  accelerated 100,000 default / documented 3,000 default: %.3f (goal: at most 1)\n",
                    s(100000, false, kAcelerada) / s(3000, false, kDocumentada));
        std::printf("  accelerated 100,000 / 12,000, default period:           %.2f (goal: at most 10; 8.33 linear)\n",
                    s(100000, false, kAcelerada) / s(12000, false, kAcelerada));
        std::printf("  accelerated 100,000 default / select * from Pedidoc:    %.2f\n",
                    s(100000, false, kAcelerada) / s(100000, false, kTudo));
    }
    return 0;
}
