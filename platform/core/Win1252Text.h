#pragma once
// Text in the Windows-1252 code page: the database connection's character
// set, 8-bit EMF text and definition files that are not UTF-8. The five
// unassigned codes read as the C1 controls of the same number; characters
// the code page lacks are written as '?'.

#include <QByteArray>
#include <QString>

namespace brp {

QChar win1252ToQChar(unsigned char byte);
QString win1252ToQString(const char* data, qsizetype length);
inline QString win1252ToQString(const QByteArray& bytes) { return win1252ToQString(bytes.constData(), bytes.size()); }
QByteArray qStringToWin1252(const QString& text);

} // namespace brp
