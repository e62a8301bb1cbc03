#include "TBREvBuiltinFunctions.h"
#include "ExpressionLocale.h"
#include "NumericMask.h"

#include <cmath>
#include <limits>

namespace {

bool isNumber(const TBREvValue& v)
{
    return v.ValueKind == evInteger || v.ValueKind == evFloat;
}

double asDouble(const TBREvValue& v)
{
    return v.ValueKind == evInteger ? double(v.IntegerValue) : v.FloatValue;
}

QString wrongArguments(const char* name)
{
    return QStringLiteral("Wrong arguments for %1").arg(QLatin1String(name));
}

// A whole-valued double as a 32-bit integer, wrapping around as the platform's
// 32-bit assignment does. False for infinities and NaN.
bool wrapToInt32(double whole, qint32& out)
{
    if (!std::isfinite(whole))
        return false;
    double m = std::fmod(whole, 4294967296.0);
    if (m < 0)
        m += 4294967296.0;
    out = static_cast<qint32>(static_cast<quint32>(m));
    return true;
}

} // namespace

void TBREvTrue::ComputeResult(TBREvValue& value)
{
    if (ArgumentCount() > 0)
        value.SetError(QStringLiteral("Too many arguments"));
    else
        value.SetBoolean(true);
}

void TBREvFalse::ComputeResult(TBREvValue& value)
{
    if (ArgumentCount() > 0)
        value.SetError(QStringLiteral("Too many arguments"));
    else
        value.SetBoolean(false);
}

void TBREvIfFunction::ComputeResult(TBREvValue& value)
{
    if (ArgumentCount() != 3 || Argument(0).ValueKind != evBoolean) {
        value.SetError(wrongArguments("IF"));
        return;
    }
    value = Argument(0).BooleanValue ? Argument(1) : Argument(2);
}

void TBREvTypeOfFunction::ComputeResult(TBREvValue& value)
{
    if (ArgumentCount() != 1) {
        value.SetError(wrongArguments("TypeOf"));
        return;
    }
    value.SetString(brp::ValueKindName(Argument(0).ValueKind));
}

void TBREvIntFunction::ComputeResult(TBREvValue& value)
{
    if (ArgumentCount() != 1 || !isNumber(Argument(0))) {
        value.SetError(wrongArguments("INT"));
        return;
    }
    const TBREvValue& a = Argument(0);
    if (a.ValueKind == evInteger) {
        value.SetInteger(a.IntegerValue);
        return;
    }
    qint32 r = 0;
    if (!wrapToInt32(std::trunc(a.FloatValue), r)) {
        value.SetError(wrongArguments("INT"));
        return;
    }
    value.SetInteger(r);
}

void TBREvFracFunction::ComputeResult(TBREvValue& value)
{
    if (ArgumentCount() != 1 || !isNumber(Argument(0))) {
        value.SetError(QString());
        return;
    }
    const TBREvValue& a = Argument(0);
    value.SetFloat(a.ValueKind == evInteger ? 0.0 : a.FloatValue - std::trunc(a.FloatValue));
}

void TBREvSQRTFunction::ComputeResult(TBREvValue& value)
{
    if (ArgumentCount() != 1 || !isNumber(Argument(0)) || asDouble(Argument(0)) < 0) {
        value.SetError(QStringLiteral("Invalid argument to SQRT function"));
        return;
    }
    value.SetFloat(std::sqrt(asDouble(Argument(0))));
}

void TBREvDivFunction::ComputeResult(TBREvValue& value)
{
    if (ArgumentCount() != 2 || !isNumber(Argument(0)) || !isNumber(Argument(1))) {
        value.SetError(wrongArguments("DIV"));
        return;
    }
    qint32 operands[2];
    for (int i = 0; i < 2; ++i) {
        const TBREvValue& a = Argument(i);
        if (a.ValueKind == evInteger)
            operands[i] = a.IntegerValue;
        else if (!wrapToInt32(std::nearbyint(a.FloatValue), operands[i])) {   // halves to even
            value.SetError(wrongArguments("DIV"));
            return;
        }
    }
    if (operands[1] == 0) {
        value.SetError(QStringLiteral("Division by Zero"));
        return;
    }
    // The one quotient beyond 32 bits (-2147483648 DIV -1) wraps instead of trapping.
    if (operands[0] == std::numeric_limits<qint32>::min() && operands[1] == -1) {
        value.SetInteger(operands[0]);
        return;
    }
    value.SetInteger(operands[0] / operands[1]);
}

void TBREvStrFunction::ComputeResult(TBREvValue& value)
{
    if (ArgumentCount() == 1) {
        const TBREvValue& a = Argument(0);
        if (a.ValueKind == evInteger || a.ValueKind == evFloat || a.ValueKind == evBoolean) {
            value.SetString(ValueToText(a));
            return;
        }
    }
    value.SetError(QStringLiteral("Conversion error"));
}

namespace {

// UPPER, LOWER and PRETTY: one string argument; another count is a missing
// argument; another kind passes the argument's text on as an error.
bool caseArgument(const TBREvElementFunction& f, const char* name, TBREvValue& value)
{
    if (f.ArgumentCount() != 1) {
        value.SetError(QStringLiteral("Missing argument for %1").arg(QLatin1String(name)));
        return false;
    }
    const TBREvValue& a = f.Argument(0);
    if (a.ValueKind != evString) {
        value.SetError(a.ValueKind == evError ? a.TextValue : QString());
        return false;
    }
    return true;
}

} // namespace

void TBREvUpperFunction::ComputeResult(TBREvValue& value)
{
    if (caseArgument(*this, "UPPER", value))
        value.SetString(brp::ExpressionLocale().toUpper(Argument(0).TextValue));
}

void TBREvLowerFunction::ComputeResult(TBREvValue& value)
{
    if (caseArgument(*this, "LOWER", value))
        value.SetString(brp::ExpressionLocale().toLower(Argument(0).TextValue));
}

void TBREvPrettyFunction::ComputeResult(TBREvValue& value)
{
    if (!caseArgument(*this, "PRETTY", value))
        return;
    const QString& text = Argument(0).TextValue;
    if (text.isEmpty()) {
        value.SetString(QString());
        return;
    }
    const QLocale locale = brp::ExpressionLocale();
    value.SetString(locale.toUpper(text.left(1)) + locale.toLower(text.mid(1)));
}

void TBREvTimeFunction::ComputeResult(TBREvValue& value)
{
    if (ArgumentCount() > 0) {
        value.SetError(QString());
        return;
    }
    value.SetString(brp::LongTimeText(brp::ExpressionNow().time(), brp::ExpressionLocale()));
}

void TBREvDateFunction::ComputeResult(TBREvValue& value)
{
    if (ArgumentCount() > 0) {
        value.SetError(QString());
        return;
    }
    value.SetString(brp::ShortDateText(brp::ExpressionNow().date(), brp::ExpressionLocale()));
}

void TBREvCopyFunction::ComputeResult(TBREvValue& value)
{
    if (ArgumentCount() != 3 || Argument(0).ValueKind != evString || Argument(1).ValueKind != evInteger
        || Argument(2).ValueKind != evInteger) {
        value.SetError(QString());
        return;
    }
    const QString& text = Argument(0).TextValue;
    const qint64 start = std::max<qint64>(Argument(1).IntegerValue, 1) - 1;
    const qint64 count = Argument(2).IntegerValue;
    if (count <= 0 || start >= text.size()) {
        value.SetString(QString());
        return;
    }
    value.SetString(text.mid(start, std::min<qint64>(count, text.size() - start)));
}

void TBREvFormatNumericFunction::ComputeResult(TBREvValue& value)
{
    if (ArgumentCount() != 2 || Argument(0).ValueKind != evString || !isNumber(Argument(1))) {
        value.SetError(QString());
        return;
    }
    bool ok = false;
    const QString text = brp::FormatNumericMask(Argument(0).TextValue, asDouble(Argument(1)), brp::ExpressionLocale(), &ok);
    if (!ok)
        value.SetError(QStringLiteral("Invalid format or value specified"));
    else
        value.SetString(text);
}
