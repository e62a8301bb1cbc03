// The pending-orders listing on generated data: open and fetch every row,
// with and without the demo database's indexes, as a ratio against fetching
// "select * from Pedidoc" from the same file in the same run.
//
// Two periods: everything (the default of empty date fields) and one month,
// the usual monthly check. On the whole period the fiscal-note tests read
// their tables for every order still listed, so the time grows with the
// square of the size: 100,000 orders over the whole period take hours.
//
// BM_HeldRows: what a query holds while it is open (the listing stays open
// while its preview shows), "select * from Pedidoc" at 100,000 orders: the
// heap the open data set keeps and one pass reading every field of every row,
// against the same rows kept as fetched (a list of values per row, as the
// data set held them before) in the same run.
//
// The databases are generated once into <temp>/pedidos-bench-<uid>/ and kept.
#include "ConsultaPedidos.h"
#include "DemoDatabase.h"
#include "TSQLConnection.h"
#include "TSQLQuery.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <malloc.h>
#include <unistd.h>

namespace {

QString database(int orders, bool indexes)
{
    const QString dir = QDir::tempPath() + QStringLiteral("/pedidos-bench-%1").arg(getuid());
    QDir().mkpath(dir);
    const QString path =
        dir + QStringLiteral("/pedidos-%1-%2.fdb").arg(orders).arg(QLatin1String(indexes ? "idx" : "noidx"));
    if (!QFile::exists(path)) {
        const QString part = path + QStringLiteral(".part");
        QFile::remove(part);
        DemoDatabase::Options o;
        o.orders = orders;
        o.indexes = indexes;
        DemoDatabase::Create(part, o);
        QFile::rename(part, path);
    }
    return path;
}

// Milliseconds to open `q` and walk every row.
double openAndFetch(TSQLQuery& q, int* rows)
{
    QElapsedTimer t;
    t.start();
    q.Open();
    int n = 0;
    for (q.First(); !q.Eof(); q.Next())
        ++n;
    q.Close();
    *rows = n;
    return static_cast<double>(t.nsecsElapsed()) / 1e6;
}

void BM_PendingOrders(benchmark::State& state)
{
    const int orders = static_cast<int>(state.range(0));
    const bool indexes = state.range(1) != 0;
    const bool oneMonth = state.range(2) != 0;
    TSQLConnection cn;
    cn.SetDriverName(QStringLiteral("Interbase"));
    cn.Params().SetValue(QStringLiteral("Database"), database(orders, indexes));
    cn.Params().SetValue(QStringLiteral("User_Name"), QStringLiteral("SYSDBA"));

    TSQLQuery listagem;
    listagem.SetSQLConnection(&cn);
    ConsultaPedidos::MontarInstrucao(listagem.SQL(), QString());
    if (oneMonth)
        ConsultaPedidos::DefinirPeriodo(listagem.Params(), QStringLiteral("01/06/2020"), QStringLiteral("30/06/2020"));
    else
        ConsultaPedidos::DefinirPeriodo(listagem.Params(), QStringLiteral("01/01/1950"), QStringLiteral("01/01/2999"));
    TSQLQuery tudo;
    tudo.SetSQLConnection(&cn);
    tudo.SQL().Add(QStringLiteral("select * from Pedidoc"));

    int rows = 0, allRows = 0;
    openAndFetch(tudo, &allRows);   // warm the page cache for both
    double total = 0, baseline = 0;
    int runs = 0;
    for (auto _ : state) {
        const double ms = openAndFetch(listagem, &rows);
        state.SetIterationTime(ms / 1000.0);
        total += ms;
        baseline += openAndFetch(tudo, &allRows);
        ++runs;
    }
    state.counters["rows"] = rows;
    state.counters["baseline_ms"] = baseline / runs;
    state.counters["x_select_all"] = total / baseline;
}

// Bytes the heap holds for the program, large blocks included.
double heapMb()
{
    const struct mallinfo2 m = mallinfo2();
    return static_cast<double>(m.uordblks + m.hblkhd) / (1024.0 * 1024.0);
}

void BM_HeldRows(benchmark::State& state)
{
    const int orders = static_cast<int>(state.range(0));
    TSQLConnection cn;
    cn.SetDriverName(QStringLiteral("Interbase"));
    cn.Params().SetValue(QStringLiteral("Database"), database(orders, true));
    cn.Params().SetValue(QStringLiteral("User_Name"), QStringLiteral("SYSDBA"));
    const QString sql = QStringLiteral("select * from Pedidoc");
    cn.Open();
    cn.Connection().Query(sql); // the page cache warm for both

    double heldMb = 0, fetchedMb = 0, openMs = 0, fetchMs = 0, readMs = 0, fetchedReadMs = 0;
    qint64 checksum = 0;
    for (auto _ : state) {
        {
            TSQLQuery q;
            q.SetSQLConnection(&cn);
            q.SQL().Add(sql);
            const double before = heapMb();
            QElapsedTimer open;
            open.start();
            q.Open();
            openMs = static_cast<double>(open.nsecsElapsed()) / 1e6;
            heldMb = heapMb() - before;
            QElapsedTimer t;
            t.start();
            for (q.First(); !q.Eof(); q.Next())
                for (int f = 0; f < q.FieldCount(); ++f)
                    checksum += q.FieldValue(f).toString().size();
            readMs = static_cast<double>(t.nsecsElapsed()) / 1e6;
        }
        {
            const double before = heapMb();
            QElapsedTimer fetch;
            fetch.start();
            const FbResult fetched = cn.Connection().Query(sql);
            fetchMs = static_cast<double>(fetch.nsecsElapsed()) / 1e6;
            fetchedMb = heapMb() - before;
            QElapsedTimer t;
            t.start();
            for (const QVariantList& row : fetched.rows)
                for (const QVariant& v : row)
                    checksum += v.toString().size();
            fetchedReadMs = static_cast<double>(t.nsecsElapsed()) / 1e6;
        }
        state.SetIterationTime(readMs / 1000.0);
    }
    benchmark::DoNotOptimize(checksum);
    state.counters["held_MB"] = heldMb;
    state.counters["as_fetched_MB"] = fetchedMb;
    state.counters["x_memory"] = heldMb / fetchedMb;
    state.counters["open_ms"] = openMs;
    state.counters["fetch_ms"] = fetchMs;
    state.counters["x_open"] = openMs / fetchMs;
    state.counters["read_ms"] = readMs;
    state.counters["as_fetched_read_ms"] = fetchedReadMs;
    state.counters["x_read"] = readMs / fetchedReadMs;
}

}

BENCHMARK(BM_HeldRows)->ArgName("orders")->Arg(100000)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

BENCHMARK(BM_PendingOrders)
    ->ArgNames({"orders", "indexes", "month"})
    ->Args({10000, 0, 1})
    ->Args({10000, 1, 1})
    ->Args({100000, 0, 1})
    ->Args({100000, 1, 1})
    ->Args({10000, 0, 0})
    ->Args({10000, 1, 0})
    ->Args({100000, 0, 0})
    ->Args({100000, 1, 0})
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
