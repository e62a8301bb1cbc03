#pragma once
// The library the compiler asks for function elements.

#include "TBRLibrary.h"

class TBREvElement;

class TBRFunctionLibrary : public TBRLibrary {
public:
    // A new element of the function registered under the name, or an error
    // element "Unknown function : NAME".
    std::unique_ptr<TBREvElement> CreateElement(const QString& name) const;
};

namespace brp {

// Registers the built-in functions, in their fixed order.
void RegisterBuiltinFunctions(TBRFunctionLibrary& library);

} // namespace brp
