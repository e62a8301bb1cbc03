#pragma once
// The search key of a text: letters without their accents and in one case
// ("JOSÉ", "José" and "jose" give the same key), control characters as
// blanks, written as UTF-8. Character by character, so a key's matches never
// straddle two characters of the text.

#include <QByteArray>
#include <QStringView>

namespace SearchFold {

// Appends the key of text to out.
void Append(QStringView text, QByteArray& out);
QByteArray Key(QStringView text);

} // namespace SearchFold
