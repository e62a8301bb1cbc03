#include "TBREvAggregateFunctions.h"
#include "TBREvElementOperator.h"
#include "TBRFiFo.h"

#include <algorithm>
#include <cmath>

namespace {

// A wrong argument count makes the running value an error that shows at once,
// rather than leaving the aggregate at its silent initial 0.
bool wrongCount(const TBREvElementFunction& f, TBREvValue& running, bool& hasFirst)
{
    if (f.ArgumentCount() == 1)
        return false;
    running.SetError(QString());
    hasFirst = true;
    return true;
}

} // namespace

void TBREvSumFunction::AddCurrent()
{
    if (wrongCount(*this, Running, HasFirst))
        return;
    const TBREvValue& v = Argument(0);
    if (!HasFirst) {
        HasFirst = true;
        if (v.ValueKind == evInteger || v.ValueKind == evFloat)
            Running = v;
        else
            Running.SetError(QString());
        return;
    }
    // A value of the other numeric kind lands in the field the first kind does not show.
    switch (v.ValueKind) {
    case evInteger:
        Running.IntegerValue = static_cast<qint32>(quint32(Running.IntegerValue) + quint32(v.IntegerValue));
        break;
    case evFloat:
        Running.FloatValue += v.FloatValue;
        break;
    case evString:
        Running.SetError(QString());
        break;
    default:
        break;
    }
}

void TBREvSumFunction::ComputeResult(TBREvValue& value)
{
    if (HasFirst)
        value = Running;
    else
        value.SetInteger(0);
}

void TBREvAverageFunction::AddCurrent()
{
    TBREvSumFunction::AddCurrent();
    ++ItemCount;
    if (Running.ValueKind == evInteger)
        AverageValue.SetFloat(double(Running.IntegerValue) / ItemCount);
    else if (Running.ValueKind == evFloat)
        AverageValue.SetFloat(Running.FloatValue / ItemCount);
    else
        AverageValue.SetError(QString());
}

void TBREvAverageFunction::Restart()
{
    TBREvSumFunction::Restart();
    AverageValue.SetFloat(0.0);
    ItemCount = 0;
}

namespace {

// Compares a later value with the running one under the running value's kind:
// integers and floats compare by value with each other; a value of any other
// different kind is not comparable (and is skipped).
bool compareUnder(const TBREvValue& running, const TBREvValue& v, int& cmp)
{
    const auto num = [](const TBREvValue& x) { return x.ValueKind == evInteger ? double(x.IntegerValue) : x.FloatValue; };
    switch (running.ValueKind) {
    case evInteger:
        if (v.ValueKind == evInteger) {
            cmp = v.IntegerValue < running.IntegerValue ? -1 : (v.IntegerValue > running.IntegerValue ? 1 : 0);
            return true;
        }
        [[fallthrough]];
    case evFloat:
        if (v.ValueKind != evInteger && v.ValueKind != evFloat)
            return false;
        cmp = num(v) < num(running) ? -1 : (num(v) > num(running) ? 1 : 0);
        return true;
    case evString:
        if (v.ValueKind != evString)
            return false;
        cmp = brp::CompareTextBytes(v.TextValue, running.TextValue);
        return true;
    case evBoolean:
        if (v.ValueKind != evBoolean)
            return false;
        cmp = int(v.BooleanValue) - int(running.BooleanValue);
        return true;
    case evError:
        break;
    }
    return false;
}

} // namespace

void TBREvExtremeFunction::AddCurrent()
{
    if (wrongCount(*this, Running, HasFirst))
        return;
    const TBREvValue& v = Argument(0);
    if (!HasFirst) {
        Running = v;
        HasFirst = true;
        return;
    }
    int cmp = 0;
    if (!compareUnder(Running, v, cmp))
        return;
    if (KeepsGreater() ? cmp > 0 : cmp < 0) {
        // The running value keeps its kind.
        if (Running.ValueKind == evInteger && v.ValueKind == evFloat)
            Running.SetInteger(static_cast<qint32>(std::clamp(std::nearbyint(v.FloatValue), -2147483648.0, 2147483647.0)));
        else if (Running.ValueKind == evFloat && v.ValueKind == evInteger)
            Running.SetFloat(v.IntegerValue);
        else
            Running = v;
    }
}

void TBREvExtremeFunction::ComputeResult(TBREvValue& value)
{
    if (HasFirst)
        value = Running;
    else
        value.SetInteger(0);
}

void TBREvCountFunction::Compute(TBRFiFo& list, TBREvValue& value)
{
    CollectArguments(list);
    if (ArgumentCount() > 0) {
        value.SetError(QStringLiteral("COUNT - Too many arguments"));
    } else {
        if (list.Accumulating)
            ++ItemCount;
        value.SetInteger(ItemCount);
    }
    DropArguments();
}
