// Export of a listing. PDF: 20 recorded listing pages (ListingPage.h) written
// by the PDF export filter, against painting the same pages straight into a
// QPdfWriter (the baseline), with the bytes per page of each. CSV and plain
// text: the program's listing report (read from its window definition) over
// 2,000 in-memory orders, exported through the run, against the same run
// making pages for the preview.
//
// PDF at scale: the listing report over 10,000 and 100,000 orders. Baseline:
// the report printed to a "printer" that paints its pages straight into a
// QPdfWriter (PdfWriterPrinter.h: the same pages, no metafile between).
// Against it: what `brptool run --out x.pdf` does (load the CSV file, make the
// pages, export them) and what the preview's PDF export does (export pages
// already made). Processor time, peak memory of each, bytes per page; with
// BRP_BENCH_SAVE=PREFIX each PDF is kept as PREFIX-<how>-<rows>.pdf.
#include "BRReportReader.h"
#include "DefinitionReader.h"
#include "CsvDataSet.h"
#include "ListingPage.h"
#include "PainterCanvas.h"
#include "PdfWriterPrinter.h"
#include "ReportEngine.h"
#include "TBRCSVExportFilter.h"
#include "TBRPDFExportFilter.h"
#include "TBRPageList.h"
#include "TBRPrinter.h"
#include "TBRStream.h"
#include "TBRTextExportFilter.h"
#include "TCustomBandReport.h"
#include "TMemDataSet.h"
#include "TMetafileCanvas.h"
#include "RatioReporter.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <cstdio>
#include <ctime>
#include <map>
#include <memory>
#include <string>

namespace {

constexpr int kPages = 20;
constexpr int kWidth = 794, kHeight = 1123; // A4 at 96 pixels per inch
constexpr int kOrders = 2000;

QTemporaryDir& tempDir()
{
    static QTemporaryDir dir;
    return dir;
}

std::map<std::string, double> g_bytesPerPage;

TBRPageList& recordedPages()
{
    static TBRPageList list;
    if (list.Count() == 0) {
        list.SetStore(std::make_unique<TBRStream>(100000));
        for (int n = 0; n < kPages; ++n) {
            TMetafileCanvas c(kWidth, kHeight);
            brp::DrawListingPage(c, n);
            list.AppendPage(c.Finish());
        }
    }
    return list;
}

void BM_PdfStraight(benchmark::State& state)
{
    const QString name = tempDir().filePath(QStringLiteral("straight.pdf"));
    for (auto _ : state) {
        QFile file(name);
        file.open(QIODevice::WriteOnly);
        QPdfWriter writer(&file);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setResolution(96);
        QPainter p(&writer);
        for (int n = 0; n < kPages; ++n) {
            if (n > 0)
                writer.newPage();
            PainterCanvas c(&p, 96);
            brp::DrawListingPage(c, n);
        }
        p.end();
        file.close();
    }
    g_bytesPerPage["BM_PdfStraight"] = double(QFileInfo(name).size()) / kPages;
    state.counters["bytes_per_page"] = g_bytesPerPage["BM_PdfStraight"];
}
BENCHMARK(BM_PdfStraight)->Unit(benchmark::kMillisecond);

void BM_PdfExportFilter(benchmark::State& state)
{
    TBRPageList& pages = recordedPages();
    const QString name = tempDir().filePath(QStringLiteral("filter.pdf"));
    for (auto _ : state) {
        TBRPDFExportFilter filter(name);
        filter.ExportPages(pages, nullptr);
        if (!filter.Written())
            state.SkipWithError("not written");
    }
    g_bytesPerPage["BM_PdfExportFilter"] = double(QFileInfo(name).size()) / kPages;
    state.counters["bytes_per_page"] = g_bytesPerPage["BM_PdfExportFilter"];
}
BENCHMARK(BM_PdfExportFilter)->Unit(benchmark::kMillisecond);

// The program's listing over kOrders orders.
struct Listing {
    std::unique_ptr<TComponent> form = std::make_unique<TComponent>();
    std::unique_ptr<TCustomBandReport> report;

    Listing()
    {
        form->SetName(QStringLiteral("FPrincipal"));
        auto* qry = new TMemDataSet(form.get());
        qry->SetName(QStringLiteral("QryRel"));
        for (const char* f : {"CODEMPRESA", "CODPEDIDO", "CODCLIENTE"})
            qry->DefineField(QString::fromLatin1(f), TFieldType::ftInteger);
        for (const char* f : {"NOME", "DATAPEDIDO", "DATAFATURA", "PRAZO"})
            qry->DefineField(QString::fromLatin1(f), TFieldType::ftString, 60);
        qry->DefineField(QStringLiteral("TOTALPEDIDO"), TFieldType::ftFloat);
        for (int i = 0; i < kOrders; ++i) {
            const QString day = QStringLiteral("%1/03/2024").arg(1 + i % 28, 2, 10, QChar(u'0'));
            qry->AppendRecord({1 + i % 3, 5000 + i, 200 + i % 41, QStringLiteral("Cliente Comércio %1").arg(i % 97), day,
                               day, QStringLiteral("30/60/90"), 1234.5 + i});
        }
        qry->Open();
        QFile def(QStringLiteral(":/UPrincipal.def"));
        def.open(QIODevice::ReadOnly);
        const DefinitionObject root = brp::ReadDefinition(QString::fromUtf8(def.readAll()));
        const DefinitionObject* definition = BRReportReader::FindReport(root, QStringLiteral("BRRelatorio"));
        report.reset(BRReportReader::Read(*definition, form.get()));
        report->SetShowProgress(false);
        report->OnPreview = [](QObject*) {};
    }
};

Listing& listing()
{
    static Listing l;
    return l;
}

void BM_ListingPreviewPages(benchmark::State& state)
{
    TCustomBandReport& r = *listing().report;
    for (auto _ : state) {
        r.Preview();
        state.counters["pages"] = r.OutputTarget()->PageTotal();
        r.ReleaseOutputTarget();
    }
}
BENCHMARK(BM_ListingPreviewPages)->Unit(benchmark::kMillisecond);

template <class Filter>
void BM_ListingExport(benchmark::State& state, const char* file)
{
    TCustomBandReport& r = *listing().report;
    const QString name = tempDir().filePath(QString::fromLatin1(file));
    for (auto _ : state) {
        Filter filter(name);
        r.ExportThrough(&filter);
        if (!filter.Written())
            state.SkipWithError("not written");
    }
    state.counters["bytes"] = double(QFileInfo(name).size());
}
void BM_ListingCsv(benchmark::State& state)
{
    BM_ListingExport<TBRCSVExportFilter>(state, "listing.csv");
}
BENCHMARK(BM_ListingCsv)->Unit(benchmark::kMillisecond);

void BM_ListingText(benchmark::State& state)
{
    BM_ListingExport<TBRTextExportFilter>(state, "listing.txt");
}
BENCHMARK(BM_ListingText)->Unit(benchmark::kMillisecond);

// ---- PDF at scale ------------------------------------------------------------

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

// Peak memory from here on: what the process holds now, the peak reset.
long startMeasuringPeak()
{
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly))
        f.write("5");
    return procKb("VmRSS:");
}

// The orders as `brptool run --data QryRel=...` reads them.
QString ordersCsv(int rows)
{
    const QString name = tempDir().filePath(QStringLiteral("orders-%1.csv").arg(rows));
    if (QFileInfo::exists(name))
        return name;
    QFile f(name);
    f.open(QIODevice::WriteOnly);
    f.write("CODEMPRESA:integer,CODPEDIDO:integer,CODCLIENTE:integer,NOME,DATAPEDIDO:date,DATAFATURA:date,PRAZO,"
            "TOTALPEDIDO:float\n");
    for (int i = 0; i < rows; ++i) {
        const QByteArray day = QStringLiteral("%1/03/2024").arg(1 + i % 28, 2, 10, QChar(u'0')).toLatin1();
        f.write(QByteArray::number(1 + i % 3) + ',' + QByteArray::number(5000 + i) + ',' +
                QByteArray::number(200 + i % 41) + ",Cliente Comércio " + QByteArray::number(i % 97) + ',' + day + ',' +
                day + ",30/60/90," + QByteArray::number(1234.5 + i, 'f', 2) + '\n');
    }
    return name;
}

// The listing report read into a form of its own, over a QryRel loaded from
// the orders file.
struct ScaledListing {
    std::unique_ptr<TComponent> form = std::make_unique<TComponent>();
    std::unique_ptr<TCustomBandReport> report;

    explicit ScaledListing(int rows)
    {
        form->SetName(QStringLiteral("FPrincipal"));
        auto* qry = new TMemDataSet(form.get());
        qry->SetName(QStringLiteral("QryRel"));
        if (!brp::LoadCsvDataSet(ordersCsv(rows), *qry).isEmpty())
            std::abort();
        QFile def(QStringLiteral(":/UPrincipal.def"));
        def.open(QIODevice::ReadOnly);
        const DefinitionObject root = brp::ReadDefinition(QString::fromUtf8(def.readAll()));
        report.reset(BRReportReader::Read(*BRReportReader::FindReport(root, QStringLiteral("BRRelatorio")), form.get()));
        report->SetShowProgress(false);
        report->OnPreview = [](QObject* sender) {
            if (auto* target = qobject_cast<TBRPrinter*>(sender))
                target->PageList().SetIndexOnAppend(false);
        };
    }
};

struct PdfFigures {
    double cpu = 0;
    double peakMb = 0;
    double bytesPerPage = 0;
    int pages = 0;
};
std::map<std::pair<std::string, int>, PdfFigures> g_pdf;

void record(const char* name, int rows, double cpu, long before, const QString& file, int pages,
            benchmark::State& state)
{
    PdfFigures f;
    f.cpu = cpu;
    f.peakMb = double(procKb("VmHWM:") - before) / 1024;
    f.pages = pages;
    f.bytesPerPage = pages > 0 ? double(QFileInfo(file).size()) / pages : 0;
    g_pdf[{name, rows}] = f;
    if (const QString prefix = qEnvironmentVariable("BRP_BENCH_SAVE"); !prefix.isEmpty()) {
        const QString copy = QStringLiteral("%1-%2-%3.pdf").arg(prefix, QString::fromLatin1(name)).arg(rows);
        QFile::remove(copy);
        QFile::copy(file, copy);
    }
    state.counters["pages"] = pages;
    state.counters["bytes_per_page"] = f.bytesPerPage;
    state.counters["peak_MB"] = f.peakMb;
    state.SetIterationTime(cpu);
}

// Baseline: the report printed page by page straight into a QPdfWriter.
void BM_PdfPaintedStraight(benchmark::State& state)
{
    const int rows = int(state.range(0));
    const QString name = tempDir().filePath(QStringLiteral("straight-%1.pdf").arg(rows));
    ScaledListing listing(rows);
    const PrinterServiceFactory previous =
        brp::SetPrinterServiceFactory([name] { return std::make_unique<PdfWriterPrinterService>(name); });
    brp::SetApplicationPrinter(nullptr);
    for (auto _ : state) {
        const long before = startMeasuringPeak();
        const double t0 = cpuSeconds();
        listing.report->Print();
        const double cpu = cpuSeconds() - t0;
        record("straight", rows, cpu, before, name, listing.report->PageNumber(), state);
    }
    brp::SetPrinterServiceFactory(previous);
    brp::SetApplicationPrinter(nullptr);
}

// What `brptool run ... --out x.pdf` does: load, make the pages, export them.
void BM_PdfBrptoolRun(benchmark::State& state)
{
    const int rows = int(state.range(0));
    const QString name = tempDir().filePath(QStringLiteral("run-%1.pdf").arg(rows));
    ordersCsv(rows);
    for (auto _ : state) {
        const long before = startMeasuringPeak();
        const double t0 = cpuSeconds();
        ScaledListing listing(rows);
        listing.report->Preview();
        TBRPDFExportFilter filter(name);
        filter.ExportPages(listing.report->OutputTarget()->PageList(), nullptr);
        const double cpu = cpuSeconds() - t0;
        if (!filter.Written())
            state.SkipWithError("not written");
        record("run", rows, cpu, before, name, listing.report->OutputTarget()->PageTotal(), state);
    }
}

// The preview's PDF export: the pages are there, only the export is timed.
void BM_PdfFromPreview(benchmark::State& state)
{
    const int rows = int(state.range(0));
    const QString name = tempDir().filePath(QStringLiteral("preview-%1.pdf").arg(rows));
    ScaledListing listing(rows);
    listing.report->Preview();
    TBRPrinter* target = listing.report->OutputTarget();
    for (auto _ : state) {
        const long before = startMeasuringPeak();
        const double t0 = cpuSeconds();
        target->RunExport(std::make_unique<TBRPDFExportFilter>(name).get());
        const double cpu = cpuSeconds() - t0;
        record("preview", rows, cpu, before, name, target->PageTotal(), state);
    }
}

BENCHMARK(BM_PdfPaintedStraight)->Arg(10000)->Arg(100000)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PdfBrptoolRun)->Arg(10000)->Arg(100000)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PdfFromPreview)->Arg(10000)->Arg(100000)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Q_INIT_RESOURCE(resources);
    brp::StartReportEngine(QStringLiteral("bench"), QLocale(QLocale::Portuguese, QLocale::Brazil));
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto& t = reporter.cpu;
    auto find = [&](const std::string& name) {
        const auto it = t.find(name);
        return it == t.end() ? 0.0 : it->second;
    };
    const double straight = find("BM_PdfStraight"), filter = find("BM_PdfExportFilter");
    if (straight > 0 && filter > 0) {
        std::printf("\nPDF of %d listing pages; baseline: painting them straight into QPdfWriter = 1.00\n", kPages);
        std::printf("PDF export filter from the recorded pages: %.2f x baseline (goal: at most 1.20)\n", filter / straight);
        std::printf("Bytes per page: filter %.0f, baseline %.0f (goal: at most 10240)\n",
                    g_bytesPerPage["BM_PdfExportFilter"], g_bytesPerPage["BM_PdfStraight"]);
    }
    const double pages = find("BM_ListingPreviewPages");
    if (pages > 0) {
        std::printf("\nListing of %d orders; baseline: generating its pages for the preview = 1.00\n", kOrders);
        for (const char* name : {"BM_ListingCsv", "BM_ListingText"})
            if (find(name) > 0)
                std::printf("%-16s %.2f x baseline (%.1f ms CPU)\n", name, find(name) / pages, find(name));
    }
    for (const int rows : {10000, 100000}) {
        const auto straightRun = g_pdf.find({"straight", rows});
        if (straightRun == g_pdf.end())
            continue;
        std::printf("\nPDF of the listing over %d orders (%d pages); baseline: printed straight into QPdfWriter = "
                    "1.00 (%.2f s CPU, %.0f bytes a page, peak +%.1f MB)\n",
                    rows, straightRun->second.pages, straightRun->second.cpu, straightRun->second.bytesPerPage,
                    straightRun->second.peakMb);
        for (const char* name : {"run", "preview"}) {
            const auto it = g_pdf.find({name, rows});
            if (it == g_pdf.end())
                continue;
            const PdfFigures& f = it->second;
            std::printf("%-8s %.2f x baseline (goal: at most 1.10), %.2f s CPU, %.0f bytes a page, peak +%.1f MB%s\n",
                        name, f.cpu / straightRun->second.cpu, f.cpu, f.bytesPerPage, f.peakMb,
                        f.pages == straightRun->second.pages ? "" : " (page counts differ!)");
        }
    }
    benchmark::Shutdown();
    return 0;
}
