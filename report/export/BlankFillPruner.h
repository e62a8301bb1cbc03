#pragma once
// Drops from a recorded page the solid white fills that land where nothing
// has been drawn yet: on white paper they change nothing, yet every opaque
// label and band paints one, and in a PDF they cost more than the text.
// Anything the pruner does not fully understand (a transform, a record it
// cannot bound, a brush of unknown colour) keeps every later fill.

#include <QByteArray>

namespace brp {

// The page without those fills (header counts fixed), or the page unchanged
// when it is not a well-formed enhanced metafile.
QByteArray PruneBlankFills(const QByteArray& emf);

} // namespace brp
