#pragma once
// Number display masks and the general float format, shared by the expression
// functions and the printables.
//
// A mask has up to three sections separated by ';' (positive; negative; zero).
// An empty or missing negative section uses the positive one with a leading
// minus; an empty or missing zero section uses the positive one. In a section:
//   0      digit, printed even when it is a leading or trailing zero
//   #      digit, printed only when significant
//   .      the first one places the decimal separator (the locale's)
//   ,      anywhere before the decimal point: group thousands (the locale's separator)
//   E+ E- e+ e-   scientific notation; the 0s that follow give the exponent's minimum digits
//   "..." '...'   literal text
// Any other character is copied. An empty mask gives the general format.

#include <QLocale>
#include <QString>

namespace brp {

// General format with 15 significant digits: "1234.5", "1E20", "1.5E-7",
// with the locale's decimal separator; "INF", "-INF", "NAN" for the rest.
QString FormatGeneralFloat(double value, const QLocale& locale);

// The value formatted with a numeric mask. Sets *ok false (and returns an empty
// text) for a value the mask cannot show (infinite or not a number).
QString FormatNumericMask(const QString& mask, double value, const QLocale& locale, bool* ok = nullptr);

} // namespace brp
