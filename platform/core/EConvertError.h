#pragma once
// Raised when a text cannot be read as a number or a date.

#include "PlatformError.h"

class EConvertError : public PlatformError {
public:
    using PlatformError::PlatformError;
};
