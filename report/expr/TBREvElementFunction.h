#pragma once
// A function call: collects its evaluated arguments up to the argument-end
// marker, accumulates when the list is accumulating, then computes its result.

#include "TBREvElement.h"
#include "TBREvResultClass.h"

#include <vector>

class TBREvElementFunction : public TBREvElement {
public:
    void Compute(TBRFiFo& list, TBREvValue& value) override;

    // One accumulate step (aggregates); empty here.
    virtual void AddCurrent() {}
    // The function's value from ArgValues; an error here.
    virtual void ComputeResult(TBREvValue& value);

    int ArgumentCount() const { return static_cast<int>(ArgValues.size()); }
    TBREvValue ArgumentValue(int index) const;
    const TBREvValue& Argument(int index) const { return ArgValues[static_cast<size_t>(index)].HeldValue; }

protected:
    void CollectArguments(TBRFiFo& list);
    void DropArguments() { ArgValues.clear(); }

    std::vector<TBREvResultClass> ArgValues;
};
