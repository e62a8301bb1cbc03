#pragma once
// A binary operator: computes the next two elements of the list as its operands.

#include "TBREvElement.h"

#include <cstdint>

enum TBREvOpCode : std::uint8_t {
    eoLT = 0, eoLE = 1, eoGT = 2, eoGE = 3, eoEQ = 4, eoNE = 5,
    eoAdd = 6, eoSubtract = 7, eoOr = 8, eoMultiply = 9, eoDivide = 10, eoAnd = 11
};

class TBREvElementOperator : public TBREvElement {
public:
    explicit TBREvElementOperator(TBREvOpCode op) : OpCode(op) {}
    void Compute(TBRFiFo& list, TBREvValue& value) override;

    // Applies the operator to two computed operands.
    static void Apply(TBREvOpCode op, TBREvValue first, TBREvValue second, TBREvValue& result);

    TBREvOpCode OpCode;
};

namespace brp {

// Compares two texts by their single-byte (Windows-1252) character codes:
// negative, zero or positive. A shorter prefix is smaller; case counts.
int CompareTextBytes(const QString& a, const QString& b);

} // namespace brp
