// Page store costs on listing-like pages (a title, a rule, 45 lines of 8
// cells, recorded as EMF): the coder against zlib level 1 on the same bytes,
// and AppendPage / FetchPage against recording the page in the first place.
#include "BRPrntr.h"
#include "TMetafileCanvas.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <random>

namespace {

QByteArray recordListingPage(int seed)
{
    std::mt19937 rng{unsigned(seed)};
    TMetafileCanvas canvas(794, 1123);
    TFont title;
    title.SetSize(14);
    title.Style = fsBold;
    canvas.SetFont(title);
    canvas.TextOut(40, 30, QStringLiteral("Listagem de Pedidos sem Contas a Receber"));
    canvas.MoveTo(40, 60);
    canvas.LineTo(754, 60);
    TFont body;
    body.SetSize(8);
    canvas.SetFont(body);
    canvas.SetBkMode(TRANSPARENT);
    for (int line = 0; line < 45; ++line) {
        const int y = 70 + line * 22;
        const QString cells[8] = {
            QString::number(100000 + int(rng() % 900000)),
            QStringLiteral("%1/%2/2024")
                .arg(1 + rng() % 28, 2, 10, QChar(u'0'))
                .arg(1 + rng() % 12, 2, 10, QChar(u'0')),
            QStringLiteral("51"),
            QStringLiteral("CLIENTE %1 COMÉRCIO LTDA").arg(rng() % 5000),
            QString::number(int(rng() % 99)),
            QStringLiteral("A VISTA"),
            QStringLiteral("%L1").arg(double(rng() % 10000000) / 1000, 0, 'f', 3),
            QStringLiteral("5102")};
        for (int c = 0; c < 8; ++c)
            canvas.TextOut(40 + c * 90, y, cells[c]);
    }
    return canvas.Finish();
}

const QByteArray& listingPage()
{
    static const QByteArray page = recordListingPage(1);
    return page;
}

QByteArray zlib1(const QByteArray& in)
{
    uLongf size = compressBound(uLong(in.size()));
    QByteArray out(qsizetype(size), Qt::Uninitialized);
    compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(in.constData()),
              uLong(in.size()), 1);
    out.resize(qsizetype(size));
    return out;
}

void BM_RecordPage_Baseline(benchmark::State& state)
{
    int seed = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(recordListingPage(++seed));
    state.counters["page_bytes"] = double(listingPage().size());
}

void BM_CoderEncode(benchmark::State& state)
{
    const QByteArray& page = listingPage();
    QByteArray code;
    for (auto _ : state)
        benchmark::DoNotOptimize(code = TBRCompress::Encode(page));
    state.SetBytesProcessed(int64_t(state.iterations()) * page.size());
    state.counters["ratio"] = double(code.size()) / double(page.size());
}

void BM_CoderDecode(benchmark::State& state)
{
    const QByteArray& page = listingPage();
    const QByteArray code = TBRCompress::Encode(page);
    for (auto _ : state)
        benchmark::DoNotOptimize(TBRCompress::Decode(code.constData(), code.size(), page.size()));
    state.SetBytesProcessed(int64_t(state.iterations()) * page.size());
}

void BM_Zlib1Compress(benchmark::State& state)
{
    const QByteArray& page = listingPage();
    QByteArray code;
    for (auto _ : state)
        benchmark::DoNotOptimize(code = zlib1(page));
    state.SetBytesProcessed(int64_t(state.iterations()) * page.size());
    state.counters["ratio"] = double(code.size()) / double(page.size());
}

void BM_Zlib1Decompress(benchmark::State& state)
{
    const QByteArray& page = listingPage();
    const QByteArray code = zlib1(page);
    QByteArray out(page.size(), Qt::Uninitialized);
    for (auto _ : state) {
        uLongf size = uLongf(out.size());
        uncompress(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(code.constData()),
                   uLong(code.size()));
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * page.size());
}

// 60 pages per iteration: the store spills to its temporary file on the way.
void BM_AppendPage(benchmark::State& state)
{
    const QByteArray& page = listingPage();
    constexpr int pages = 60;
    for (auto _ : state) {
        TBRPageList list;
        list.SetCompressed(state.range(0) != 0);
        list.SetStore(std::make_unique<TBRStream>(100000));
        for (int i = 0; i < pages; ++i)
            list.AppendPage(page);
        list.WriteHeader();
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * pages);
}

void BM_FetchPage(benchmark::State& state)
{
    const bool compressed = state.range(0) != 0;
    const bool random = state.range(1) != 0;
    constexpr int pages = 200;
    TBRPageList list;
    list.SetCompressed(compressed);
    list.SetStore(std::make_unique<TBRStream>(100000));
    for (int i = 0; i < pages; ++i)
        list.AppendPage(recordListingPage(i));
    list.WriteHeader();
    std::mt19937 rng(5);
    int n = 0;
    for (auto _ : state) {
        n = random ? 1 + int(rng() % pages) : n % pages + 1;
        benchmark::DoNotOptimize(list.FetchPage(n));
    }
    state.SetItemsProcessed(int64_t(state.iterations()));
}

} // namespace

BENCHMARK(BM_RecordPage_Baseline)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CoderEncode)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CoderDecode)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Zlib1Compress)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Zlib1Decompress)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AppendPage)->ArgName("compressed")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FetchPage)->ArgNames({"compressed", "random"})->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    // Text metrics need a GUI application; no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
