#pragma once
// Units in which report lengths are shown and set; the stored ordinal is the value.

enum class TBRUnit { MM = 0, Inches = 1, Pixels = 2, Characters = 3, Native = 4 };

// Native lengths are tenths of a millimetre. Extended precision keeps every
// 16-digit value of a stored definition exact on the way back out.
using BRNative = long double;
