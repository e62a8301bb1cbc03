#include "TBREvElementOperator.h"
#include "TBRFiFo.h"

#include <QList>

namespace {

// Windows-1252 code of a character; characters the code page lacks sort after it.
int codeOf(QChar c)
{
    const ushort u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return u;
    static const ushort high[32] = {0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
                                    0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};
    for (int i = 0; i < 32; ++i)
        if (high[i] == u && u != 0)
            return 0x80 + i;
    if (u >= 0x80 && u < 0xA0)
        return u;   // undefined positions of the code page map to themselves
    return 0x100 + u;
}

qint32 wrap(quint32 v)
{
    return static_cast<qint32>(v);
}

QString opText(TBREvOpCode op)
{
    switch (op) {
    case eoLT: return QStringLiteral("<");
    case eoLE: return QStringLiteral("<=");
    case eoGT: return QStringLiteral(">");
    case eoGE: return QStringLiteral(">=");
    default: return QString();
    }
}

bool relation(TBREvOpCode op, int cmp)
{
    switch (op) {
    case eoLT: return cmp < 0;
    case eoLE: return cmp <= 0;
    case eoGT: return cmp > 0;
    case eoGE: return cmp >= 0;
    case eoEQ: return cmp == 0;
    case eoNE: return cmp != 0;
    default: return false;
    }
}

template <typename T>
int compare3(T a, T b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

QString cannot(const char* verb, const char* kind)
{
    return QStringLiteral("Cannot %1 %2 expressions").arg(QLatin1String(verb), QLatin1String(kind));
}

QString incompatible(const QString& op, const char* kind)
{
    return QStringLiteral("Operator %1 is not compatible with %2 expressions").arg(op, QLatin1String(kind));
}

} // namespace

namespace brp {

int CompareTextBytes(const QString& a, const QString& b)
{
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const int d = codeOf(a[i]) - codeOf(b[i]);
        if (d != 0)
            return d;
    }
    return compare3(a.size(), b.size());
}

} // namespace brp

void TBREvElementOperator::Compute(TBRFiFo& list, TBREvValue& value)
{
    TBREvValue first, second;
    list.ComputeNext(first);
    list.ComputeNext(second);
    Apply(OpCode, std::move(first), std::move(second), value);
}

void TBREvElementOperator::Apply(TBREvOpCode op, TBREvValue a, TBREvValue b, TBREvValue& r)
{
    if (a.ValueKind != evError && b.ValueKind != evError && a.ValueKind != b.ValueKind) {
        if (a.ValueKind == evInteger && b.ValueKind == evFloat)
            a.SetFloat(a.IntegerValue);
        else if (a.ValueKind == evFloat && b.ValueKind == evInteger)
            b.SetFloat(b.IntegerValue);
        else {
            a.SetString(ValueToText(a));
            b.SetString(ValueToText(b));
        }
    }
    if (a.ValueKind == evError) {
        r = a;
        return;
    }
    if (b.ValueKind == evError) {
        r = b;
        return;
    }

    const TBREvValueKind kind = a.ValueKind;
    switch (op) {
    case eoLT: case eoLE: case eoGT: case eoGE: case eoEQ: case eoNE: {
        int cmp = 0;
        switch (kind) {
        case evInteger: cmp = compare3(a.IntegerValue, b.IntegerValue); break;
        case evFloat:
            // NaN compares unequal to everything, as the hardware comparison does.
            if (a.FloatValue != a.FloatValue || b.FloatValue != b.FloatValue) {
                r.SetBoolean(op == eoNE);
                return;
            }
            cmp = compare3(a.FloatValue, b.FloatValue);
            break;
        case evString:
            cmp = (op == eoEQ || op == eoNE) ? (a.TextValue == b.TextValue ? 0 : 1)
                                             : brp::CompareTextBytes(a.TextValue, b.TextValue);
            break;
        case evBoolean:
            if (op != eoEQ && op != eoNE) {
                r.SetError(incompatible(opText(op), "boolean"));
                return;
            }
            cmp = a.BooleanValue == b.BooleanValue ? 0 : 1;
            break;
        case evError: break;
        }
        r.SetBoolean(relation(op, cmp));
        return;
    }
    case eoAdd:
        switch (kind) {
        case evInteger: r.SetInteger(wrap(quint32(a.IntegerValue) + quint32(b.IntegerValue))); return;
        case evFloat: r.SetFloat(a.FloatValue + b.FloatValue); return;
        case evString: r.SetString(a.TextValue + b.TextValue); return;
        default: r.SetError(cannot("add", "boolean")); return;
        }
    case eoSubtract:
        switch (kind) {
        case evInteger: r.SetInteger(wrap(quint32(a.IntegerValue) - quint32(b.IntegerValue))); return;
        case evFloat: r.SetFloat(a.FloatValue - b.FloatValue); return;
        case evString: r.SetError(cannot("subtract", "string")); return;
        default: r.SetError(cannot("subtract", "boolean")); return;
        }
    case eoMultiply:
        switch (kind) {
        case evInteger: r.SetInteger(wrap(quint32(a.IntegerValue) * quint32(b.IntegerValue))); return;
        case evFloat: r.SetFloat(a.FloatValue * b.FloatValue); return;
        case evString: r.SetError(cannot("multiply", "string")); return;
        default: r.SetError(cannot("multiply", "boolean")); return;
        }
    case eoDivide:
        switch (kind) {
        case evInteger:
            if (b.IntegerValue == 0)
                r.SetError(QStringLiteral("Cannot divide by 0"));
            else
                r.SetFloat(double(a.IntegerValue) / double(b.IntegerValue));
            return;
        case evFloat:
            if (b.FloatValue == 0.0)
                r.SetError(QStringLiteral("Cannot divide by 0"));
            else
                r.SetFloat(a.FloatValue / b.FloatValue);
            return;
        case evString: r.SetError(cannot("divide", "string")); return;
        default: r.SetError(cannot("divide", "boolean")); return;
        }
    case eoOr:
    case eoAnd: {
        const bool isOr = op == eoOr;
        const QString name = isOr ? QStringLiteral("OR") : QStringLiteral("AND");
        switch (kind) {
        case evInteger:
            r.SetInteger(isOr ? (a.IntegerValue | b.IntegerValue) : (a.IntegerValue & b.IntegerValue));
            return;
        case evFloat: r.SetError(incompatible(name, "numeric")); return;
        case evString: r.SetError(incompatible(name, "string")); return;
        default:
            r.SetBoolean(isOr ? (a.BooleanValue || b.BooleanValue) : (a.BooleanValue && b.BooleanValue));
            return;
        }
    }
    }
}
