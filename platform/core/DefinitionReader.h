#pragma once
// Reader of the text definitions that describe windows and reports:
//   object Name: TClass
//     Property = value
//     Sub.Property = value
//     object Child: TClass ... end
//   end
// Values are quoted strings (with #nn character codes and + joins), numbers,
// identifiers, sets [a, b], lists ( ... ), binary data { hex } and item
// collections < item ... end >. Reading only builds the tree; what the
// properties mean is up to the code that creates the objects.

#include "PlatformError.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

struct DefinitionValue;

struct DefinitionProperty {
    QString name; // may be dotted, e.g. "Font.Name"
    int line = 0; // where the property starts
    std::shared_ptr<DefinitionValue> value;
};

// One "item ... end" of a collection.
struct DefinitionItem {
    QList<DefinitionProperty> properties;
};

struct DefinitionValue {
    enum Kind { String, Integer, Float, Identifier, Set, List, Binary, Collection };
    Kind kind = Identifier;
    QString text;           // String, Identifier
    qint64 integer = 0;     // Integer
    double number = 0;      // Float (Integer also fills it)
    QString literal;        // Integer, Float: the digits as written
    QStringList set;        // Set
    QList<DefinitionValue> list; // List
    QByteArray binary;      // Binary
    QList<DefinitionItem> items; // Collection

    bool IsNumber() const { return kind == Integer || kind == Float; }
    // True / False identifiers.
    bool ToBool() const { return kind == Identifier && text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0; }
};

struct DefinitionObject {
    QString name;
    QString className;
    bool inherited = false;
    int line = 0;    // of the 'object' keyword
    int endLine = 0; // of its 'end'
    QList<DefinitionProperty> properties;
    QList<DefinitionObject> children;

    const DefinitionValue* Find(const QString& property) const; // case-insensitive
};

// Raised on text that is not a definition; the message gives the line.
class EParserError : public PlatformError {
public:
    using PlatformError::PlatformError;
};

namespace brp {

// Lines end with LF, CR LF or CR; nesting deeper than a couple of hundred
// levels is refused with the line where it happens.
DefinitionObject ReadDefinition(const QString& text);

// The text of a definition file: UTF-8 (a byte order mark is dropped), or,
// when the bytes are not valid UTF-8, Windows-1252, the system's own code page.
QString DefinitionText(const QByteArray& bytes);

} // namespace brp
