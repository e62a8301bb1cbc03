#include "TBREvValue.h"
#include "ExpressionError.h"
#include "ExpressionLocale.h"
#include "NumericMask.h"

TBREvValue TBREvValue::Integer(qint32 v)
{
    TBREvValue r;
    r.SetInteger(v);
    return r;
}

TBREvValue TBREvValue::Float(double v)
{
    TBREvValue r;
    r.SetFloat(v);
    return r;
}

TBREvValue TBREvValue::String(const QString& text)
{
    TBREvValue r;
    r.SetString(text);
    return r;
}

TBREvValue TBREvValue::Boolean(bool v)
{
    TBREvValue r;
    r.SetBoolean(v);
    return r;
}

TBREvValue TBREvValue::Error(const QString& message)
{
    TBREvValue r;
    r.SetError(message);
    return r;
}

namespace brp {

QString ValueKindName(TBREvValueKind kind)
{
    switch (kind) {
    case evInteger: return QStringLiteral("INTEGER");
    case evFloat: return QStringLiteral("FLOAT");
    case evString: return QStringLiteral("STRING");
    case evBoolean: return QStringLiteral("BOOLEAN");
    case evError: break;
    }
    return QStringLiteral("ERROR");
}

} // namespace brp

QString ValueToText(const TBREvValue& value)
{
    switch (value.ValueKind) {
    case evInteger: return QString::number(value.IntegerValue);
    case evFloat: return brp::FormatGeneralFloat(value.FloatValue, brp::ExpressionLocale());
    case evString: return value.TextValue;
    case evBoolean: return value.BooleanValue ? QStringLiteral("True") : QStringLiteral("False");
    case evError: break;
    }
    throw ExpressionError(QStringLiteral("Error in expression : %1").arg(value.TextValue));
}
