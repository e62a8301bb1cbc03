#pragma once
// The engine's process-wide set-up, in one place: every program that makes or
// shows reports calls StartReportEngine once, after the application object and
// the program's locale, and StopReportEngine before it ends.

#include <QLocale>
#include <QString>

namespace brp {

// Registers the standard preview and run windows (progress, print set-up), the
// printable control and model classes that definitions name, and the export
// filters; starts the expression engine under appName; sets the default units
// from the locale's measurement system. Later calls only set the units again.
void StartReportEngine(const QString& appName, const QLocale& unitsLocale = QLocale());
// Frees the expression engine's objects. Registrations stay: they hold no
// resources and a program may still close its windows afterwards.
void StopReportEngine();

} // namespace brp
