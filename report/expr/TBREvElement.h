#pragma once
// Base of the compiled elements of an expression. An element computes its value
// from the list it was compiled into, taking its operands from that list.

#include "TBREvValue.h"

class TBRFiFo;

class TBREvElement {
public:
    TBREvElement() = default;
    virtual ~TBREvElement() = default;
    TBREvElement(const TBREvElement&) = delete;
    TBREvElement& operator=(const TBREvElement&) = delete;

    virtual void Compute(TBRFiFo& list, TBREvValue& value) = 0;
    // Clears accumulated state (aggregates).
    virtual void Restart() {}

    bool AggregateFlag = false;
};
