#pragma once
// Logical negation of the operand that follows in the list.

#include "TBREvElement.h"
#include "TBRFiFo.h"

class TBREvElementNot : public TBREvElement {
public:
    void Compute(TBRFiFo& list, TBREvValue& value) override
    {
        list.ComputeNext(value);
        if (value.ValueKind == evBoolean)
            value.BooleanValue = !value.BooleanValue;
        else
            value.SetError(QStringLiteral("Invalid use of NOT"));
    }
};
