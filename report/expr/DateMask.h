#pragma once
// Date and time display masks, shared by the printables. Letters are matched
// without regard to case:
//   d dd         day, without / with a leading zero; ddd dddd the day's short / long name
//   ddddd dddddd the locale's short / long date format
//   m mm         month (minutes right after h or hh); mmm mmmm the month's short / long name
//   yy yyyy      two- / four-digit year
//   h hh n nn s ss z zzz   hour, minute, second, millisecond
//   t tt         the locale's short / long time format;  c  short date, then long time unless midnight
//   am/pm a/p    12-hour clock with that marker (in the mask's letter case); ampm the locale's markers
//   /  :         the locale's date and time separators
//   "..." '...'  literal text
// Any other character is copied. An invalid date-time is day 0 of the date
// system, 30/12/1899 00:00.

#include <QDateTime>
#include <QLocale>
#include <QString>

namespace brp {

QString FormatDateTimeMask(const QString& mask, const QDateTime& value, const QLocale& locale);

// The locale's separators between date parts and between time parts.
QString LocaleDateSeparator(const QLocale& locale);
QString LocaleTimeSeparator(const QLocale& locale);

} // namespace brp
