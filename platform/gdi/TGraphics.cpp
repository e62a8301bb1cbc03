#include "TGraphics.h"

#include <cmath>

namespace {
// The platform's MulDiv: a * b / c rounded half away from zero.
int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    const long long n = static_cast<long long>(a) * b;
    const long long q = (std::llabs(n) * 2 + std::llabs(c)) / (2 * std::llabs(c));
    return static_cast<int>(((n < 0) != (c < 0)) ? -q : q);
}
}  // namespace

int TFont::Size() const
{
    return -MulDiv(Height, 72, PixelsPerInch > 0 ? PixelsPerInch : 96);
}

void TFont::SetSize(int points)
{
    Height = -MulDiv(points, PixelsPerInch > 0 ? PixelsPerInch : 96, 72);
}

void TFont::Assign(const TFont& source)
{
    Name = source.Name;
    Style = source.Style;
    Color = source.Color;
    Charset = source.Charset;
    Pitch = source.Pitch;
    if (source.PixelsPerInch == PixelsPerInch)
        Height = source.Height;
    else
        SetSize(source.Size());
}

namespace brp {

int PenModeToRop2(TPenMode mode)
{
    // R2_BLACK is 1 and the codes follow the pen modes' order, with
    // R2_COPYPEN (13) for pmCopy.
    switch (mode) {
    case TPenMode::pmBlack: return 1;
    case TPenMode::pmWhite: return 16;
    case TPenMode::pmNop: return 11;
    case TPenMode::pmNot: return 6;
    case TPenMode::pmCopy: return 13;
    case TPenMode::pmNotCopy: return 4;
    case TPenMode::pmMergePenNot: return 14;
    case TPenMode::pmMaskPenNot: return 5;
    case TPenMode::pmMergeNotPen: return 12;
    case TPenMode::pmMaskNotPen: return 3;
    case TPenMode::pmMerge: return 15;
    case TPenMode::pmNotMerge: return 2;
    case TPenMode::pmMask: return 9;
    case TPenMode::pmNotMask: return 8;
    case TPenMode::pmXor: return 7;
    case TPenMode::pmNotXor: return 10;
    }
    return 13;
}

} // namespace brp
