#pragma once
// Names under which enumeration and set properties are written in
// definitions. A class declares its own with Q_CLASSINFO("BREnum:Prop",
// "a,b,c") or Q_CLASSINFO("BRSet:Prop", "a,b,c") (ordinal / bit order); the
// geometry and settings classes of the output layer have theirs here.

#include <QStringList>

class QObject;

namespace brp {

// Empty when the property is no enumeration.
QStringList EnumNames(const QObject& object, const QString& property);
// Empty when the property is no set.
QStringList SetNames(const QObject& object, const QString& property);

// Colours by name (clWhite, clWindowText, ...); false for an unknown name.
bool ColorFromName(const QString& name, unsigned& color);
// The name of a colour that has one, else empty.
QString ColorName(unsigned color);
// Character sets by name (DEFAULT_CHARSET, ANSI_CHARSET, ...).
bool CharsetFromName(const QString& name, int& charset);
QString CharsetName(int charset);

} // namespace brp
