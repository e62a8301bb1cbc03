// Any text read as a report definition is either a report, laid out and
// written back, or a PlatformError naming the line; nothing else may happen.
#include "BRReportReader.h"
#include "BandRpt.h"
#include "PrinterService.h"
#include "RecordingPrinterService.h"

#include <QGuiApplication>
#include <cstddef>
#include <cstdint>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        // No printer queries for every report made.
        SetPrinterServiceFactory([] { return std::make_unique<RecordingPrinterService>(); });
        SetApplicationPrinter(std::make_unique<RecordingPrinterService>());
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    try {
        std::unique_ptr<TCustomBandReport> report(BRReportReader::ReadText(text, nullptr));
        report->SetZoom(150);
        report->LayOutBands();
        (void)BRDefinitionWriter::Write(*report);
    } catch (const PlatformError&) {
    }
    return 0;
}
