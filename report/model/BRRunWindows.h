#pragma once
// The windows a run opens that live above the report model: the progress
// window of a print or export run and the print set-up dialog. The preview
// library registers both; without them a print run shows no progress and the
// set-up leaves the settings as they are.

#include "TPrinterOrientation.h"

#include <QObject>
#include <functional>

class TBRPrinter;

// What the print set-up dialog is given and, when confirmed, hands back.
struct BRPrintSetupData {
    enum Range { AllPages = 0, Selection = 1, PageNums = 2 };
    int PrinterIndex = -1;
    int MinPage = 0;
    int MaxPage = 9999;
    int FromPage = 0;
    int ToPage = 0;
    bool PageNumsOption = true;
    bool WarningOption = true;
    TPrinterOrientation Orientation = poPortrait;
    int Copies = 1;
    Range PrintRange = AllPages;
};

// A progress window for `target` (owned by the caller, freed after the run),
// shown when `show` is set; it becomes the target's status client.
using BRProgressWindowFactory = std::function<QObject*(TBRPrinter* target, bool show)>;
// Runs the dialog on `data`; true when the operator confirmed it.
using BRPrintSetupRunner = std::function<bool(BRPrintSetupData& data)>;

namespace brp {

void SetProgressWindowFactory(BRProgressWindowFactory factory);
const BRProgressWindowFactory& ProgressWindowFactory();
void SetPrintSetupRunner(BRPrintSetupRunner runner);
const BRPrintSetupRunner& PrintSetupRunner();

} // namespace brp
