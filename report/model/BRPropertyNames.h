#pragma once
// Names under which enumeration and set properties are written in
// definitions. A class declares its own with Q_CLASSINFO("BREnum:Prop",
// "a,b,c") or Q_CLASSINFO("BRSet:Prop", "a,b,c") (ordinal / bit order); the
// geometry and settings classes of the output layer have theirs here.

#include <QStringList>

class QObject;

// Empty when the property is no enumeration.
QStringList BREnumNames(const QObject& object, const QString& property);
// Empty when the property is no set.
QStringList BRSetNames(const QObject& object, const QString& property);

// Colours by name (clWhite, clWindowText, ...); false for an unknown name.
bool BRColorFromName(const QString& name, unsigned& color);
// The name of a colour that has one, else empty.
QString BRColorName(unsigned color);
// Character sets by name (DEFAULT_CHARSET, ANSI_CHARSET, ...).
bool BRCharsetFromName(const QString& name, int& charset);
QString BRCharsetName(int charset);
