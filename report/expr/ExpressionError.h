#pragma once
// Failure raised by the expression engine itself (not an expression error,
// which is a value): asking an evaluator that is not compiled for its value.

#include "PlatformError.h"

class ExpressionError : public PlatformError {
public:
    using PlatformError::PlatformError;
};
