#pragma once
// Failures of the printer service (no printer, index out of range, a job that
// cannot start).

#include "PlatformError.h"

class PrintError : public PlatformError {
public:
    using PlatformError::PlatformError;
};
