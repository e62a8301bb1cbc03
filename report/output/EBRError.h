#pragma once
// Failures the report engine raises itself.

#include "PlatformError.h"

class EBRError : public PlatformError {
public:
    using PlatformError::PlatformError;
};
