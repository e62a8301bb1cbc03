#pragma once
// The compiled form of an expression: its elements in prefix order (an operator
// before its two operands, a function before its arguments and their end
// marker), read front to back once per evaluation.

#include "TBREvElement.h"

#include <memory>
#include <vector>

class TBRFiFo {
public:
    void Append(std::unique_ptr<TBREvElement> element) { ItemList.push_back(std::move(element)); }
    void Rewind() { NextIndex = 0; }
    // The element at the read position, advancing; null at the end.
    TBREvElement* TakeNext()
    {
        return NextIndex < ItemList.size() ? ItemList[NextIndex++].get() : nullptr;
    }
    // Takes the next element and computes it; a missing operand is an error.
    void ComputeNext(TBREvValue& value);

    int Count() const { return static_cast<int>(ItemList.size()); }
    TBREvElement* ItemAt(int index) const
    {
        return index >= 0 && index < Count() ? ItemList[static_cast<size_t>(index)].get() : nullptr;
    }

    std::vector<std::unique_ptr<TBREvElement>> ItemList;
    bool Accumulating = false;
    size_t NextIndex = 0;
};
