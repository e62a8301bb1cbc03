#pragma once
// Stand-in for the report as the printer settings and the output target see it.

#include "BRPrintHost.h"
#include <QObject>

class FakePrintHost : public QObject, public BRPrintHost {
public:
    TBRPrinterEvent onGet;
    TBRPrinterEvent onApply;
    bool useStandard = false;

    TBRPrinterEvent OnGetPrinterSettings() const override { return onGet; }
    TBRPrinterEvent OnApplyPrinterSettings() const override { return onApply; }
    bool UseStandardprinter() const override { return useStandard; }
};
