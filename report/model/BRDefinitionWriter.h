#pragma once
// Writes a report back in the text form the definition reader takes:
// "object Name: TClass", one "Property = value" a line, nested objects, "end".

#include "TBRUnit.h"
#include "TGraphics.h"

#include <QList>
#include <QString>
#include <QStringList>

class QObject;
class TBRFrame;
class TCustomBandReport;

class BRDefinitionWriter {
public:
    // The whole report with its bands and printables, indented by `indent` levels.
    static QString Write(const TCustomBandReport& report, int indent = 0);

    void WriteInt(const QString& name, qint64 value);
    void WriteBool(const QString& name, bool value);
    void WriteIdent(const QString& name, const QString& identifier);
    void WriteString(const QString& name, const QString& text);
    void WriteSet(const QString& name, const QStringList& members);
    // Native lengths to 16 significant digits, on one line.
    void WriteValues(const QString& name, const QList<BRNative>& values);
    // "Name.Strings = ( ... )", one quoted line each.
    void WriteStrings(const QString& name, const QStringList& lines);
    void WriteColor(const QString& name, TColor color);
    void WriteFont(const QString& prefix, const TFont& font);
    // Colour and the four sides always; Style and Width when not the default.
    void WriteFrame(const TBRFrame& frame, const QString& prefix = QStringLiteral("Frame"));
    // A reference to another component by name; nothing for none.
    void WriteRef(const QString& name, const QObject* component);
    // Event handlers the definition named, kept on the object when read.
    void WriteEvents(const QObject& object);

    // A text in the definition's quoting ('...', '' for a quote, #nn for others).
    static QString Quote(const QString& text);
    static QString ColorName(TColor color);
    // The name of an enumeration value of a property (Q_CLASSINFO "BREnum:...").
    static QString EnumName(const QObject& object, const char* property, int value);

    QString Text() const { return m_text; }

private:
    void WriteObject(const QObject& object);
    void Line(const QString& text);

    QString m_text;
    int m_indent = 0;
};
