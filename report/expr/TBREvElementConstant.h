#pragma once
// A number literal; the environment may store another value into it.

#include "TBREvElement.h"

class TBREvElementConstant : public TBREvElement {
public:
    explicit TBREvElementConstant(const TBREvValue& v) : Value(v) {}
    void Compute(TBRFiFo&, TBREvValue& value) override { value = Value; }
    TBREvValue Value;
};
