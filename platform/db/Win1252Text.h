#pragma once
// Text in the Windows-1252 code page, the character set of the database
// connection. Characters the code page lacks become '?'.

#include <QByteArray>
#include <QString>

namespace brp {

QString win1252ToQString(const char* data, qsizetype length);
inline QString win1252ToQString(const QByteArray& bytes) { return win1252ToQString(bytes.constData(), bytes.size()); }
QByteArray qStringToWin1252(const QString& text);

} // namespace brp
