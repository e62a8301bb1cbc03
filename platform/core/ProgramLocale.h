#pragma once
// The locale the program formats with (dates, decimal and thousands
// separators). A real system locale keeps its own formats. The C and POSIX
// locales (no LANG set, as on servers and minimal desktops) have no date
// form of their own: Qt's spells months out ("7 May 2020"), which the
// program's dd/mm/yyyy fields and narrow columns do not take, so they give
// Brazilian Portuguese, the program's own language.

#include <QLocale>

namespace brp {

QLocale ProgramLocale(const QLocale& system);

// Makes ProgramLocale(system) the default locale, QLocale(), for the process.
void SetUpProgramLocale(const QLocale& system = QLocale::system());

} // namespace brp
