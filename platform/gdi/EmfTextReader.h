#pragma once
// Reads the text of an enhanced metafile in one pass over its records: every
// EMR_EXTTEXTOUTW and EMR_EXTTEXTOUTA with the box it covers. Input is
// untrusted: records that do not fit are skipped or end the walk, never read
// beyond the buffer.

#include "TextRun.h"

#include <QByteArray>
#include <QStringView>
#include <functional>
#include <vector>

namespace EmfTextReader {

// Called for each text record in drawing order; the view is valid only
// during the call.
using Visitor = std::function<void(const QRect& rect, QStringView text)>;

// Returns false when the bytes do not start with a metafile header (nothing
// is visited then). A damaged record ends the walk; what came before stays.
bool ForEachText(const QByteArray& emf, const Visitor& visit);

std::vector<TextRun> ReadTextRuns(const QByteArray& emf);

} // namespace EmfTextReader
