#include "ExpressionEngine.h"
#include "ExpressionLocale.h"
#include "TBREvAggregateFunctions.h"
#include "TBREvBuiltinFunctions.h"
#include "TBREvEnvironment.h"
#include "TBRFunctionLibrary.h"

#include <QGuiApplication>

namespace {
// Taken when the program loads, so that an engine started on first use still
// shows the program's start time.
const QDateTime s_processStart = QDateTime::currentDateTime();
TBRFunctionLibrary* s_library = nullptr;
TBREvEnvironment* s_global = nullptr;
bool s_stopping = false;
} // namespace

namespace brp {

void RegisterBuiltinFunctions(TBRFunctionLibrary& l)
{
    const QString author = QStringLiteral("Built-in");
    l.RegisterFunction<TBREvIfFunction>(QStringLiteral("IF"), QStringLiteral("IF(<Exp>, <X>, <Y>)|Returns <X> or <Y> depending on the boolean expression <Exp>"), author, QStringLiteral("5BVV"));
    l.RegisterFunction<TBREvStrFunction>(QStringLiteral("STR"), QStringLiteral("STR(<X>)|Convert a numeric <X> to a string"), author, QStringLiteral("7N"));
    l.RegisterFunction<TBREvUpperFunction>(QStringLiteral("UPPER"), QStringLiteral("UPPER(<X>)|Converts a string to upper case letters"), author, QStringLiteral("7S"));
    l.RegisterFunction<TBREvLowerFunction>(QStringLiteral("LOWER"), QStringLiteral("LOWER(<X>)|Converts a string to lower case letters"), author, QStringLiteral("7S"));
    l.RegisterFunction<TBREvPrettyFunction>(QStringLiteral("PRETTY"), QStringLiteral("PRETTY(<X>)|Makes the first character upper case and the rest lower case"), author, QStringLiteral("7S"));
    l.RegisterFunction<TBREvTimeFunction>(QStringLiteral("TIME"), QStringLiteral("TIME|Return current time as a string"), author, QStringLiteral("1"));
    l.RegisterFunction<TBREvDateFunction>(QStringLiteral("DATE"), QStringLiteral("DATE|Return current date as a string"), author, QStringLiteral("1"));
    l.RegisterFunction<TBREvCopyFunction>(QStringLiteral("COPY"), QStringLiteral("COPY(<X>, <St>,<Len>)|Returns a substring of string X"), author, QStringLiteral("7SNN"));
    l.RegisterFunction<TBREvSumFunction>(QStringLiteral("SUM"), QStringLiteral("SUM(<X>)|Sums the numeric <X>"), author, QStringLiteral("3N"));
    l.RegisterFunction<TBREvCountFunction>(QStringLiteral("COUNT"), QStringLiteral("COUNT|Increments for each iteration"), author, QStringLiteral("3"));
    l.RegisterFunction<TBREvMaxFunction>(QStringLiteral("MAX"), QStringLiteral("MAX(<X>)|Returns the highest <X>"), author, QStringLiteral("3V"));
    l.RegisterFunction<TBREvMinFunction>(QStringLiteral("MIN"), QStringLiteral("MIN(<X>)|Returns the lowest <X>"), author, QStringLiteral("3V"));
    l.RegisterFunction<TBREvAverageFunction>(QStringLiteral("AVERAGE"), QStringLiteral("AVERAGE(<X>)|Returns the average of numeric <X>"), author, QStringLiteral("3N"));
    l.RegisterFunction<TBREvTrue>(QStringLiteral("TRUE"), QStringLiteral("TRUE|boolean value"), author, QStringLiteral("5"));
    l.RegisterFunction<TBREvFalse>(QStringLiteral("FALSE"), QStringLiteral("FALSE|boolean value"), author, QStringLiteral("5"));
    l.RegisterFunction<TBREvIntFunction>(QStringLiteral("INT"), QStringLiteral("INT(<X>)|Returns the integer part of <X>"), author, QStringLiteral("2N"));
    l.RegisterFunction<TBREvFracFunction>(QStringLiteral("FRAC"), QStringLiteral("FRAC(<X>)|Returns the fractional part of <X>"), author, QStringLiteral("2N"));
    l.RegisterFunction<TBREvSQRTFunction>(QStringLiteral("SQRT"), QStringLiteral("SQRT(<X>)|Returns square root of <X>"), author, QStringLiteral("2N"));
    l.RegisterFunction<TBREvDivFunction>(QStringLiteral("DIV"), QStringLiteral("DIV(<X>, <Y>) | Integer division of <X> by <Y>"), author, QStringLiteral("2NN"));
    l.RegisterFunction<TBREvTypeOfFunction>(QStringLiteral("TYPEOF"), QStringLiteral("TYPEOF(<Exp>)|Returns the data type of <Exp>"), author, QStringLiteral("6N"));
    l.RegisterFunction<TBREvFormatNumericFunction>(QStringLiteral("FORMATNUMERIC"), QStringLiteral("FORMATNUMERIC(<F>,<N>)|Formats numeric <N> using the mask in <F>"), author, QStringLiteral("7SN"));
}

void StartExpressionEngine(const QString& appName)
{
    StartExpressionEngine(appName, ExpressionNow());
}

void StartExpressionEngine(const QString& appName, const QDateTime& startTime)
{
    if (s_library || s_stopping)
        return;
    s_library = new TBRFunctionLibrary;
    RegisterBuiltinFunctions(*s_library);
    s_global = new TBREvEnvironment;
    const QDateTime& now = startTime;
    const QLocale locale = ExpressionLocale();
    s_global->Define(QStringLiteral("AppStartTime"), u'\'' + LongTimeText(now.time(), locale) + u'\'');
    s_global->Define(QStringLiteral("AppStartDate"), u'\'' + ShortDateText(now.date(), locale) + u'\'');
    s_global->Define(QStringLiteral("AppName"), u'\'' + appName + u'\'');
}

void StopExpressionEngine()
{
    if (!s_library)
        return;
    s_stopping = true;
    TBREvEnvironment* global = s_global;
    s_global = nullptr;
    delete global;
    delete s_library;
    s_library = nullptr;
    s_stopping = false;
}

} // namespace brp

static void ensureStarted()
{
    if (!s_library)
        brp::StartExpressionEngine(QGuiApplication::applicationDisplayName(), s_processStart);
}

TBRFunctionLibrary& FunctionLibrary()
{
    ensureStarted();
    return *s_library;
}

TBREvEnvironment& GlobalEnvironment()
{
    ensureStarted();
    return *s_global;
}

namespace brp {

TBREvEnvironment* GlobalEnvironmentIfExists()
{
    return s_global;
}

} // namespace brp
