#pragma once
// Failures of the page store and of saved-report files. Callers that only show
// the text catch PlatformError; tools tell the two kinds apart.

#include "PlatformError.h"

// A file could not be created, opened, written or read (the operating system
// said no).
class StoreFileError : public PlatformError {
public:
    using PlatformError::PlatformError;
};

// The stored bytes are not what the page store wrote: a file cut short, an
// offset outside the file, a broken record chain, page data that do not make
// a metafile (also what a wrong compression flag gives).
class DamagedStoreError : public PlatformError {
public:
    using PlatformError::PlatformError;
};
