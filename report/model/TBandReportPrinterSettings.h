#pragma once
// Printer settings stored with a report.

#include "TBRPrinterSettings.h"

class TBandReportPrinterSettings : public TBRPrinterSettings {
    Q_OBJECT
public:
    explicit TBandReportPrinterSettings(QObject* parent = nullptr);
};
