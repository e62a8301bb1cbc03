#pragma once
// The process-wide objects of the expression engine: the function library and
// the global environment (AppStartTime, AppStartDate, AppName).

#include <QDateTime>
#include <QString>

class TBRFunctionLibrary;
class TBREvEnvironment;

namespace brp {

// Creates the library and the global environment, fixing the start time and
// date (from the expression clock) and the application's title. Called once at
// start-up; later calls do nothing. The first use of either object starts the
// engine, when nobody did, with the application's display name and the time
// the program was loaded.
void StartExpressionEngine(const QString& appName);
void StartExpressionEngine(const QString& appName, const QDateTime& startTime);
// Destroys both objects (end of the program, tests).
void StopExpressionEngine();

} // namespace brp

TBRFunctionLibrary& FunctionLibrary();
TBREvEnvironment& GlobalEnvironment();

namespace brp {

// Null while the engine is not started or is being stopped.
TBREvEnvironment* GlobalEnvironmentIfExists();

} // namespace brp
