#pragma once
// Platform codes for paper sizes and paper sources, both ways.

#include "TBRBin.h"
#include "TBRPaperSize.h"

int PaperCode(TBRPaperSize size);
int BinCode(TBRBin bin);

namespace brp {

// The first size / bin with that code; Default / First when none has it.
TBRPaperSize PaperSizeFromCode(int code);
TBRBin BinFromCode(int code);
// As above, but tells whether the code was found.
bool FindPaperSize(int code, TBRPaperSize& size);

} // namespace brp
