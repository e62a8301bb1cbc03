#include "TBREvEmbeddedFunction.h"
#include "TBREvElementWrapper.h"

void TBREvEmbeddedFunction::Compute(TBRFiFo&, TBREvValue& value)
{
    if (InEvaluation) {
        value.SetError(QStringLiteral("Recursive calls not allowed"));
        return;
    }
    struct Guard {
        bool& flag;
        explicit Guard(bool& f) : flag(f) { flag = true; }
        ~Guard() { flag = false; }
    } guard(InEvaluation);
    OwnEvaluator.CurrentValue(value);
}

void TBREvElementWrapper::Compute(TBRFiFo& list, TBREvValue& value)
{
    if (std::shared_ptr<TBREvEmbeddedFunction> target = Target.lock())
        target->Compute(list, value);
    else
        value.SetError(QStringLiteral("Unknown function : %1").arg(m_name));
}
