#pragma once
// Marks the end of a function's arguments; never computed.

#include "TBREvElement.h"

class TBREvElementArgumentEnd : public TBREvElement {
public:
    void Compute(TBRFiFo&, TBREvValue& value) override { value.SetError(QString()); }
};
