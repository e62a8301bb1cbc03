#pragma once
// The built-in functions that are not aggregates. Each computes its result from
// its evaluated arguments; errors are values.

#include "TBREvElementFunction.h"

#define BR_DECLARE_FUNCTION(Name)                                   \
    class Name : public TBREvElementFunction {                      \
    public:                                                         \
        void ComputeResult(TBREvValue& value) override;             \
    };

BR_DECLARE_FUNCTION(TBREvTrue)
BR_DECLARE_FUNCTION(TBREvFalse)
BR_DECLARE_FUNCTION(TBREvIfFunction)
BR_DECLARE_FUNCTION(TBREvTypeOfFunction)
BR_DECLARE_FUNCTION(TBREvIntFunction)
BR_DECLARE_FUNCTION(TBREvFracFunction)
BR_DECLARE_FUNCTION(TBREvSQRTFunction)
BR_DECLARE_FUNCTION(TBREvDivFunction)
BR_DECLARE_FUNCTION(TBREvStrFunction)
BR_DECLARE_FUNCTION(TBREvUpperFunction)
BR_DECLARE_FUNCTION(TBREvLowerFunction)
BR_DECLARE_FUNCTION(TBREvPrettyFunction)
BR_DECLARE_FUNCTION(TBREvTimeFunction)
BR_DECLARE_FUNCTION(TBREvDateFunction)
BR_DECLARE_FUNCTION(TBREvCopyFunction)
BR_DECLARE_FUNCTION(TBREvFormatNumericFunction)

#undef BR_DECLARE_FUNCTION
