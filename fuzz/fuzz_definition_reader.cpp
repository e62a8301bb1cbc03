// Any text given to the definition reader either reads or fails with
// EParserError; nothing else may happen.
#include "DefinitionReader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Decoded as brptool decodes a definition file: UTF-8, else Windows-1252.
    const QString text = brp::DefinitionText(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    try {
        const DefinitionObject o = brp::ReadDefinition(text);
        (void)o.Find(QStringLiteral("Caption"));
    } catch (const EParserError&) {
    }
    return 0;
}
