// A group's break detection during the data walk.
#include "TBREvaluator.h"
#include "TBRGroup.h"
#include "TCustomBandReport.h"

namespace {
bool differs(const TBREvValue& a, const TBREvValue& b)
{
    if (a.ValueKind != b.ValueKind)
        return true;
    switch (a.ValueKind) {
    case evInteger:
        return a.IntegerValue != b.IntegerValue;
    case evFloat:
        return a.FloatValue != b.FloatValue;
    case evString:
        return a.TextValue != b.TextValue;
    case evBoolean:
        return a.BooleanValue != b.BooleanValue;
    case evError:
        return false;
    }
    return false;
}
} // namespace

void TBRGroup::EvaluateGroup()
{
    Changed = false;
    TBREvValue value;
    Evaluator()->CurrentValue(value);
    if (!HasValue) {
        LastValue = value;
        Changed = HasValue = true;
        return;
    }
    if (differs(value, LastValue)) {
        LastValue = value;
        Changed = true;
    }
}

void TBRGroup::RestartGroup()
{
    Evaluator()->CurrentValue(LastValue);
    Changed = HasValue = true;
}

void TBRGroup::CheckReprint()
{
    TCustomBandReport* report = ParentReport();
    const int page = report ? report->PageNumber() : 0;
    Changed = ReprintOnNewPage() && InGroup && page != HeaderPage;
    if (Changed)
        HeaderPage = page;
}
