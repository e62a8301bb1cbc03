#pragma once
// Text to number and text to date conversions that fail with EConvertError,
// the way the rest of the program expects.

#include <QDate>
#include <QString>

namespace brp {

// Optional blanks, an optional sign and decimal digits.
int StrToInt(const QString& text);

// Day/month/year separated by "/". A year of one or two digits is taken in
// the current century. Fails on anything that is not a real calendar day.
QDate StrToDate(const QString& text);

} // namespace brp
