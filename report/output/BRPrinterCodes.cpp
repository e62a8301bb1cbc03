#include "BRPrinterCodes.h"

namespace {
constexpr int kBinCodes[BRBinCount] = {1, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 14, 14};
}

int PaperCode(TBRPaperSize size)
{
    const int i = static_cast<int>(size);
    if (size == TBRPaperSize::Custom)
        return 256;
    return (i >= 0 && i < BRPaperSizeCount) ? i : 0;
}

int BinCode(TBRBin bin)
{
    const int i = static_cast<int>(bin);
    return (i >= 0 && i < BRBinCount) ? kBinCodes[i] : kBinCodes[0];
}

namespace brp {

bool FindPaperSize(int code, TBRPaperSize& size)
{
    for (int i = 0; i < BRPaperSizeCount; ++i)
        if (PaperCode(static_cast<TBRPaperSize>(i)) == code) {
            size = static_cast<TBRPaperSize>(i);
            return true;
        }
    return false;
}

TBRPaperSize PaperSizeFromCode(int code)
{
    TBRPaperSize size = TBRPaperSize::Default;
    FindPaperSize(code, size);
    return size;
}

TBRBin BinFromCode(int code)
{
    for (int i = 0; i < BRBinCount; ++i)
        if (kBinCodes[i] == code)
            return static_cast<TBRBin>(i);
    return TBRBin::First;
}

} // namespace brp
