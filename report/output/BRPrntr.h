#pragma once
// Output target, printer settings, page store and preview control of the
// report engine: one header per class, gathered here.

#include "PageStoreError.h"
#include "TBRCompress.h"
#include "TBRPageList.h"
#include "TBRStream.h"
#include "BRMessages.h"
#include "BRPrintHost.h"
#include "BRPrinterCodes.h"
#include "EBRError.h"
#include "TBRBin.h"
#include "TBRExportFilter.h"
#include "TBRPreviewInterface.h"
#include "TBRPrinter.h"
#include "TBRPrinterSettings.h"
#include "TPrinterSettings.h"
