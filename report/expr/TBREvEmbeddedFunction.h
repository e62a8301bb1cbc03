#pragma once
// A named expression of an environment, compiled by its own evaluator.

#include "TBREvElement.h"
#include "TBREvaluator.h"

class TBREvEmbeddedFunction : public TBREvElement {
public:
    explicit TBREvEmbeddedFunction(const QString& text) : ExpressionText(text) {}
    // The named expression's current value; "Recursive calls not allowed" when
    // it is already being computed further up.
    void Compute(TBRFiFo& list, TBREvValue& value) override;

    QString ExpressionText;
    TBREvaluator OwnEvaluator;
    bool InEvaluation = false;
};
