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
    l.RegisterFunction<TBREvIfFunction>("IF", "IF(<Exp>, <X>, <Y>)|Returns <X> or <Y> depending on the boolean expression <Exp>", author, "5BVV");
    l.RegisterFunction<TBREvStrFunction>("STR", "STR(<X>)|Convert a numeric <X> to a string", author, "7N");
    l.RegisterFunction<TBREvUpperFunction>("UPPER", "UPPER(<X>)|Converts a string to upper case letters", author, "7S");
    l.RegisterFunction<TBREvLowerFunction>("LOWER", "LOWER(<X>)|Converts a string to lower case letters", author, "7S");
    l.RegisterFunction<TBREvPrettyFunction>("PRETTY", "PRETTY(<X>)|Makes the first character upper case and the rest lower case", author, "7S");
    l.RegisterFunction<TBREvTimeFunction>("TIME", "TIME|Return current time as a string", author, "1");
    l.RegisterFunction<TBREvDateFunction>("DATE", "DATE|Return current date as a string", author, "1");
    l.RegisterFunction<TBREvCopyFunction>("COPY", "COPY(<X>, <St>,<Len>)|Returns a substring of string X", author, "7SNN");
    l.RegisterFunction<TBREvSumFunction>("SUM", "SUM(<X>)|Sums the numeric <X>", author, "3N");
    l.RegisterFunction<TBREvCountFunction>("COUNT", "COUNT|Increments for each iteration", author, "3");
    l.RegisterFunction<TBREvMaxFunction>("MAX", "MAX(<X>)|Returns the highest <X>", author, "3V");
    l.RegisterFunction<TBREvMinFunction>("MIN", "MIN(<X>)|Returns the lowest <X>", author, "3V");
    l.RegisterFunction<TBREvAverageFunction>("AVERAGE", "AVERAGE(<X>)|Returns the average of numeric <X>", author, "3N");
    l.RegisterFunction<TBREvTrue>("TRUE", "TRUE|boolean value", author, "5");
    l.RegisterFunction<TBREvFalse>("FALSE", "FALSE|boolean value", author, "5");
    l.RegisterFunction<TBREvIntFunction>("INT", "INT(<X>)|Returns the integer part of <X>", author, "2N");
    l.RegisterFunction<TBREvFracFunction>("FRAC", "FRAC(<X>)|Returns the fractional part of <X>", author, "2N");
    l.RegisterFunction<TBREvSQRTFunction>("SQRT", "SQRT(<X>)|Returns square root of <X>", author, "2N");
    l.RegisterFunction<TBREvDivFunction>("DIV", "DIV(<X>, <Y>) | Integer division of <X> by <Y>", author, "2NN");
    l.RegisterFunction<TBREvTypeOfFunction>("TYPEOF", "TYPEOF(<Exp>)|Returns the data type of <Exp>", author, "6N");
    l.RegisterFunction<TBREvFormatNumericFunction>("FORMATNUMERIC", "FORMATNUMERIC(<F>,<N>)|Formats numeric <N> using the mask in <F>", author, "7SN");
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
