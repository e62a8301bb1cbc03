#pragma once
// Output target, printer settings, page store and preview control of the
// report engine: one header per class, gathered here.

#include "PageStoreError.h"
#include "TBRCompress.h"
#include "TBRPageList.h"
#include "TBRStream.h"
