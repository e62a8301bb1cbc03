#pragma once
// Preview window, print dialog and progress window of the report engine.

#include "PreviewGlyphs.h"
#include "TBRBasePrintDialog.h"
#include "TBRCommonDialog.h"
#include "TBRPreview.h"
#include "TBRPreviewImage.h"
#include "TBRPrintDialog.h"
#include "TBRProgressForm.h"
#include "TBRStandardPreview.h"
