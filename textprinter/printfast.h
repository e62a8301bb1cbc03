#pragma once
// Text-mode printer component and its parts.

#include "THeaderData.h"
#include "TPrintFast.h"
#include "TPrintWin.h"

using TPrinterName = TPrintFast::TPrinterName;
