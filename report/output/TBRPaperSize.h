#pragma once
// Paper sizes of a report page and of the printer settings, with the sheet
// dimensions each one stands for (portrait, millimetres).

enum class TBRPaperSize {
    Default = 0, Letter, LetterSmall, Tabloid, Ledger, Legal, Statement, Executive, A3, A4, A4Small, A5,
    B4, B5, Folio, Quarto, br10X14, br11X17, Note, Env9, Env10, Env11, Env12, Env14, CSheet, DSheet,
    ESheet, Custom
};

constexpr int BRPaperSizeCount = 28;

struct BRPaperDimensions {
    double width;  // mm; 0 for Default and Custom (the table does not apply)
    double length; // mm
};

namespace brp {

// Table row for a size; Default and Custom give {0, 0}.
BRPaperDimensions PaperTable(TBRPaperSize size);

// True for the sizes whose sheet comes from the table (not Default, not Custom).
inline bool IsTablePaper(TBRPaperSize size)
{
    return size != TBRPaperSize::Default && size != TBRPaperSize::Custom;
}

// Enum name as written in definitions ("A4", "br10X14", ...), and back; -1 when unknown.
const char* PaperSizeName(TBRPaperSize size);
int PaperSizeFromName(const char* name);

} // namespace brp
