#include "TBRFiFo.h"

void TBRFiFo::ComputeNext(TBREvValue& value)
{
    if (TBREvElement* e = TakeNext())
        e->Compute(*this, value);
    else
        value = TBREvValue::Error(QString());
}
