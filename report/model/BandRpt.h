#pragma once
// Engine core: units, page and band geometry, frames.

#include "BRReportHost.h"
#include "BRRound.h"
#include "TBRBandSize.h"
#include "TBRPage.h"
#include "TBRPaperSize.h"
#include "TBRUnit.h"
#include "TBRUnitBase.h"
#include "TPrinterOrientation.h"
#include "TBRFrame.h"
