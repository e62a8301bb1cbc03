#pragma once
// Holder of one evaluated argument of a function element.

#include "TBREvValue.h"

struct TBREvResultClass {
    TBREvValue HeldValue;
};
