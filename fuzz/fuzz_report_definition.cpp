// Any text read as a report definition is either a report, laid out and
// written back, or a PlatformError naming the line; nothing else may happen.
#include "BRReportReader.h"
#include "BandRpt.h"
#include "FuzzGuiApp.h"
#include "PrinterService.h"
#include "RecordingPrinterService.h"
#include "ReportEngine.h"

#include <cstddef>
#include <cstdint>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    brp::EnsureFuzzGuiApp([] {
        // No printer queries for every report made.
        brp::SetPrinterServiceFactory([] { return std::make_unique<RecordingPrinterService>(); });
        brp::SetApplicationPrinter(std::make_unique<RecordingPrinterService>());
        brp::StartReportEngine(QStringLiteral("fuzz"));
    });
    // Decoded as brptool decodes a definition file: UTF-8, else Windows-1252.
    const QString text = brp::DefinitionText(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    try {
        std::unique_ptr<TCustomBandReport> report(BRReportReader::ReadText(text, nullptr));
        report->SetZoom(150);
        report->LayOutBands();
        (void)BRDefinitionWriter::Write(*report);
    } catch (const PlatformError&) {
    }
    return 0;
}
