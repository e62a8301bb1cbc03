#pragma once
// Failure of a database layer, carrying the database's own message text.

#include "PlatformError.h"

class DatabaseError : public PlatformError {
public:
    using PlatformError::PlatformError;
};
