#pragma once
// Value types of the drawing surface: colours, rectangles, font, pen and brush,
// with the device context constants that callers pass straight through
// (text alignment, background mode, text output options). Everything is in
// device units of the surface that uses them.

#include <QString>
#include <cstdint>

// 0x00BBGGRR, as the platform's colour references.
using TColor = std::uint32_t;
constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clNavy = 0x800000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clWhite = 0xFFFFFF;

namespace brp {

constexpr TColor RGBColor(int r, int g, int b)
{
    return TColor(r & 0xFF) | (TColor(g & 0xFF) << 8) | (TColor(b & 0xFF) << 16);
}
constexpr int GetRValue(TColor c) { return int(c & 0xFF); }
constexpr int GetGValue(TColor c) { return int((c >> 8) & 0xFF); }
constexpr int GetBValue(TColor c) { return int((c >> 16) & 0xFF); }

} // namespace brp

// Left/top inclusive, right/bottom exclusive, as the platform's RECT.
struct TRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool operator==(const TRect&) const = default;
};

// Text alignment (SetTextAlign); horizontal and vertical parts combine.
constexpr unsigned TA_NOUPDATECP = 0;
constexpr unsigned TA_UPDATECP = 1;
constexpr unsigned TA_LEFT = 0;
constexpr unsigned TA_RIGHT = 2;
constexpr unsigned TA_CENTER = 6;
constexpr unsigned TA_TOP = 0;
constexpr unsigned TA_BOTTOM = 8;
constexpr unsigned TA_BASELINE = 24;
constexpr unsigned TA_RTLREADING = 256;

// Background mode (SetBkMode).
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

// Text output options (ExtTextOut).
constexpr unsigned ETO_OPAQUE = 0x0002;
constexpr unsigned ETO_CLIPPED = 0x0004;
constexpr unsigned ETO_GLYPH_INDEX = 0x0010;
constexpr unsigned ETO_RTLREADING = 0x0080;
constexpr unsigned ETO_PDY = 0x2000;

// Font character sets and pitch.
constexpr std::uint8_t ANSI_CHARSET = 0;
constexpr std::uint8_t DEFAULT_CHARSET = 1;
constexpr std::uint8_t SYMBOL_CHARSET = 2;

enum class TFontPitch { fpDefault, fpVariable, fpFixed };

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;  // a set of TFontStyle bits

// Height in device pixels: negative is the character (em) height, positive the
// cell height (ascent + descent), as the platform's font heights.
// PixelsPerInch relates Height to Size in points.
struct TFont {
    QString Name = QStringLiteral("Arial");
    int Height = -13;
    int PixelsPerInch = 96;
    TFontStyles Style = 0;
    TColor Color = clBlack;
    std::uint8_t Charset = DEFAULT_CHARSET;
    TFontPitch Pitch = TFontPitch::fpDefault;

    int Size() const;             // points; rounded like the platform's MulDiv
    void SetSize(int points);     // Height := -points * PixelsPerInch / 72
    // Takes name, style, colour, charset and pitch, and the size in points when
    // the two resolutions differ (a screen font assigned to a printer canvas
    // keeps its physical size).
    void Assign(const TFont& source);
    bool operator==(const TFont&) const = default;
};

enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

enum class TPenMode {
    pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
    pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};

// Width 0 and 1 draw one device pixel; a dashed style on a pen wider than one
// pixel draws solid, as the platform's cosmetic pens do.
struct TPen {
    TColor Color = clBlack;
    int Width = 1;
    TPenStyle Style = TPenStyle::psSolid;
    TPenMode Mode = TPenMode::pmCopy;
    bool operator==(const TPen&) const = default;
};

enum class TBrushStyle { bsSolid, bsClear };

struct TBrush {
    TColor Color = clWhite;
    TBrushStyle Style = TBrushStyle::bsSolid;
    bool operator==(const TBrush&) const = default;
};

namespace brp {

// The platform's raster operation code for a pen mode (R2_*).
int PenModeToRop2(TPenMode mode);

} // namespace brp
