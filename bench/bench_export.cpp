// Export of a listing. PDF: 20 recorded listing pages (ListingPage.h) written
// by the PDF export filter, against painting the same pages straight into a
// QPdfWriter (the baseline), with the bytes per page of each. CSV and plain
// text: the program's listing report (read from its window definition) over
// 2,000 in-memory orders, exported through the run, against the same run
// making pages for the preview.
#include "BRControlClasses.h"
#include "BRExportClasses.h"
#include "BRReportReader.h"
#include "DefinitionReader.h"
#include "ExpressionEngine.h"
#include "ListingPage.h"
#include "PainterCanvas.h"
#include "TBRCSVExportFilter.h"
#include "TBRPDFExportFilter.h"
#include "TBRPageList.h"
#include "TBRPrinter.h"
#include "TBRStream.h"
#include "TBRTextExportFilter.h"
#include "TBRUnitBase.h"
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
            DrawListingPage(c, n);
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
            DrawListingPage(c, n);
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
        const DefinitionObject root = ReadDefinition(QString::fromUtf8(def.readAll()));
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
        state.counters["pages"] = r.OutputTarget()->PageTotal;
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

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Q_INIT_RESOURCE(resources);
    TBRUnitBase::InitDefaultUnits(QLocale(QLocale::Portuguese, QLocale::Brazil));
    StartExpressionEngine(QStringLiteral("bench"));
    RegisterReportControlClasses();
    RegisterExportFilters();
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
    benchmark::Shutdown();
    return 0;
}
