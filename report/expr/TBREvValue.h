#pragma once
// The value of an expression: a small tagged record copied by value. Errors
// are values too; their message travels in TextValue.

#include <QString>
#include <cstdint>

enum TBREvValueKind : std::uint8_t { evInteger = 0, evFloat = 1, evString = 2, evBoolean = 3, evError = 4 };

// Every text the expression engine keeps is limited to this many characters.
constexpr int BRMaxTextLength = 255;

struct TBREvValue {
    TBREvValueKind ValueKind = evInteger;
    QString TextValue;
    bool BooleanValue = false;
    qint32 IntegerValue = 0;
    double FloatValue = 0.0;

    static TBREvValue Integer(qint32 v);
    static TBREvValue Float(double v);
    static TBREvValue String(const QString& text);
    static TBREvValue Boolean(bool v);
    static TBREvValue Error(const QString& message);

    void SetInteger(qint32 v) { ValueKind = evInteger; IntegerValue = v; }
    void SetFloat(double v) { ValueKind = evFloat; FloatValue = v; }
    void SetString(const QString& text) { ValueKind = evString; SetText(text); }
    void SetBoolean(bool v) { ValueKind = evBoolean; BooleanValue = v; }
    void SetError(const QString& message) { ValueKind = evError; SetText(message); }
    // An error whose text is left as it was (the "error without message").
    void SetErrorKind() { ValueKind = evError; }
    void SetText(const QString& text) { TextValue = text.left(BRMaxTextLength); }
};

namespace brp {

// The kind's name as TYPEOF gives it: INTEGER, FLOAT, STRING, BOOLEAN, ERROR.
QString ValueKindName(TBREvValueKind kind);

} // namespace brp

// The value as text: integers in decimal, floats in the general format with the
// expression locale's decimal separator, booleans as True/False. An error value
// throws ExpressionError("Error in expression : <message>").
QString ValueToText(const TBREvValue& value);
