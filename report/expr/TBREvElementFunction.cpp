#include "TBREvElementFunction.h"
#include "TBREvElementArgumentEnd.h"
#include "TBRFiFo.h"

void TBREvElementFunction::Compute(TBRFiFo& list, TBREvValue& value)
{
    CollectArguments(list);
    if (list.Accumulating)
        AddCurrent();
    ComputeResult(value);
    DropArguments();
}

void TBREvElementFunction::ComputeResult(TBREvValue& value)
{
    value.SetError(QString());
}

TBREvValue TBREvElementFunction::ArgumentValue(int index) const
{
    if (index < 0 || index >= ArgumentCount())
        return TBREvValue::Error(QString());
    return Argument(index);
}

void TBREvElementFunction::CollectArguments(TBRFiFo& list)
{
    ArgValues.clear();
    while (TBREvElement* e = list.TakeNext()) {
        if (dynamic_cast<TBREvElementArgumentEnd*>(e))
            break;
        TBREvResultClass holder;
        e->Compute(list, holder.HeldValue);
        ArgValues.push_back(std::move(holder));
    }
}
