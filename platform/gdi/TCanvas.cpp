#include "TCanvas.h"

TCanvas::~TCanvas() = default;

void TCanvas::SetFont(const TFont& font)
{
    Font.PixelsPerInch = PixelsPerInchY();
    Font.Assign(font);
}
