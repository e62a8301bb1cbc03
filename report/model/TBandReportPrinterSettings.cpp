#include "TBandReportPrinterSettings.h"

TBandReportPrinterSettings::TBandReportPrinterSettings(QObject* parent) : TBRPrinterSettings(parent)
{
    // Not published: the default printer until the print dialog picks one.
    PrinterIndex = -1;
}
