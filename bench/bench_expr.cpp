// Expression costs per record of a typical report, as ratios against reading
// the same field directly (the baseline, measured in the same run), plus the
// cost of compiling an expression.
#include "BRExpr.h"
#include "ReportEngine.h"
#include "TMemDataSet.h"

#include <benchmark/benchmark.h>
#include <QCoreApplication>
#include <cstdio>
#include <map>
#include <string>

namespace {

constexpr int Rows = 1000;

struct Data {
    TMemDataSet rel;
    TBRDataSetList list;
    Data()
    {
        rel.SetName(QStringLiteral("QryRel"));
        rel.DefineField(QStringLiteral("NUMERO"), TFieldType::ftInteger);
        rel.DefineField(QStringLiteral("CLIENTE"), TFieldType::ftString);
        rel.DefineField(QStringLiteral("TOTALPEDIDO"), TFieldType::ftFloat);
        for (int i = 0; i < Rows; ++i)
            rel.AppendRecord({i, QStringLiteral("Cliente %1").arg(i), 12.5 * (i % 37)});
        rel.Open();
        list = {&rel};
    }
};

Data& data()
{
    static Data d;
    return d;
}

void BM_ReadFieldDirect(benchmark::State& state)
{
    TMemDataSet& rel = data().rel;
    TField* field = rel.FieldByName(QStringLiteral("TOTALPEDIDO"));
    for (auto _ : state) {
        double sum = 0;
        for (rel.First(); !rel.Eof(); rel.Next())
            sum += field->AsFloat();
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * Rows);
}

void walkEvaluating(benchmark::State& state, const char* expression, bool accumulate)
{
    TMemDataSet& rel = data().rel;
    TBREvaluator e;
    e.UseDataSets(&data().list);
    e.Compile(QString::fromLatin1(expression));
    TBREvValue v;
    for (auto _ : state) {
        e.ResetAggregates();
        for (rel.First(); !rel.Eof(); rel.Next()) {
            if (accumulate)
                e.Accumulate();
            else
                e.CurrentValue(v);
        }
        benchmark::DoNotOptimize(v);
    }
    e.CurrentValue(v);
    state.SetItemsProcessed(state.iterations() * Rows);
}

void BM_SumAccumulate(benchmark::State& state)
{
    walkEvaluating(state, "SUM(QryRel.TOTALPEDIDO)", true);
}

void BM_IfFieldComparison(benchmark::State& state)
{
    walkEvaluating(state, "IF(QryRel.TOTALPEDIDO > 200, 'alto', 'baixo')", false);
}

void BM_FormatNumeric(benchmark::State& state)
{
    walkEvaluating(state, "FORMATNUMERIC('#,##0.00', QryRel.TOTALPEDIDO)", false);
}

// One compile and release, reported per "record" so that it reads against one field read.
void BM_Compile(benchmark::State& state)
{
    TBREvaluator e;
    e.UseDataSets(&data().list);
    for (auto _ : state) {
        e.Compile(QStringLiteral("IF(QryRel.TOTALPEDIDO > 200, 'alto', 'baixo') + FORMATNUMERIC('#,##0.00', SUM(QryRel.TOTALPEDIDO))"));
        e.Release();
    }
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_ReadFieldDirect);
BENCHMARK(BM_SumAccumulate);
BENCHMARK(BM_IfFieldComparison);
BENCHMARK(BM_FormatNumeric);
BENCHMARK(BM_Compile);

// Prints each benchmark's time per item as a ratio against the direct read.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs) {
            const auto it = r.counters.find("items_per_second");
            if (it != r.counters.end() && it->second.value > 0)
                m_perItem[r.benchmark_name()] = 1e9 / it->second.value;
        }
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        const double base = m_perItem["BM_ReadFieldDirect"];
        std::printf("\nper record (ns) and ratio against reading the field directly:\n");
        for (const auto& [name, t] : m_perItem)
            std::printf("  %-22s %10.1f ns  x%.1f\n", name.c_str(), t, base > 0 ? t / base : 0.0);
    }

private:
    std::map<std::string, double> m_perItem;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    brp::SetExpressionLocale(QLocale(QStringLiteral("pt_BR")));
    brp::StartReportEngine(QStringLiteral("bench"));
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
