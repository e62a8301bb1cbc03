#pragma once
// The program's window definition (resources/UPrincipal.def) and the listing
// report it holds, read from the source tree as the tests find it.

#include "DefinitionReader.h"

#include <QFile>
#include <QString>

namespace brp {

inline QString listingWindowDefinitionText()
{
    QFile def(qEnvironmentVariable("BRP_SOURCE_DIR", QStringLiteral(BRP_DEFAULT_SOURCE_DIR)) +
              QStringLiteral("/resources/UPrincipal.def"));
    return def.open(QIODevice::ReadOnly) ? QString::fromUtf8(def.readAll()) : QString();
}

inline DefinitionObject listingWindowDefinition()
{
    return ReadDefinition(listingWindowDefinitionText());
}

} // namespace brp
