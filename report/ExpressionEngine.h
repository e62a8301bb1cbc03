#pragma once
// The process-wide objects of the expression engine: the function library and
// the global environment (AppStartTime, AppStartDate, AppName).

#include <QString>

class TBRFunctionLibrary;
class TBREvEnvironment;

// Creates the library and the global environment, fixing the start time and
// date (from the expression clock) and the application's title. Called once at
// start-up; later calls do nothing. The first use of either object starts the
// engine with the application's name when nobody did.
void StartExpressionEngine(const QString& appName);
// Destroys both objects (end of the program, tests).
void StopExpressionEngine();

TBRFunctionLibrary& FunctionLibrary();
TBREvEnvironment& GlobalEnvironment();
// Null while the engine is not started or is being stopped.
TBREvEnvironment* GlobalEnvironmentIfExists();
