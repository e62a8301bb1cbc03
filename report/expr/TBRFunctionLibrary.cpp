#include "TBRFunctionLibrary.h"
#include "TBREvElementError.h"
#include "TBREvElementFunction.h"

std::unique_ptr<TBREvElement> TBRFunctionLibrary::CreateElement(const QString& name) const
{
    if (const TBRLibraryEntry* entry = Find(name))
        return entry->ElementClass();
    return std::make_unique<TBREvElementError>(QStringLiteral("Unknown function : %1").arg(name));
}
