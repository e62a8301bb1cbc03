#include "DefinitionReader.h"
#include "Win1252Text.h"

#include <QStringDecoder>

namespace {

// Deeper nesting (objects in objects, lists in lists, collections) than any
// window or report needs; past it a hostile text would exhaust the stack.
constexpr int kMaxDepth = 200;

class Parser {
public:
    explicit Parser(const QString& text) : m_text(text) {}

    DefinitionObject ReadRoot()
    {
        DefinitionObject root = ReadObject();
        SkipBlanks();
        if (m_pos < m_text.size())
            Fail(QStringLiteral("text after the last 'end'"));
        return root;
    }

private:
    [[noreturn]] void Fail(const QString& what) const
    {
        throw EParserError(QStringLiteral("Definition error on line %1: %2").arg(m_line).arg(what));
    }

    // A line ends with LF, CR LF or a lone CR.
    bool LineEndAt(qsizetype pos) const
    {
        const QChar c = m_text[pos];
        return c == u'\n' || (c == u'\r' && (pos + 1 >= m_text.size() || m_text[pos + 1] != u'\n'));
    }

    void SkipBlanks()
    {
        while (m_pos < m_text.size()) {
            const QChar c = m_text[m_pos];
            if (c.unicode() > u' ')
                return;
            if (LineEndAt(m_pos))
                ++m_line;
            ++m_pos;
        }
    }

    // One level of nesting for as long as it lives.
    struct Level {
        explicit Level(Parser& parser) : m_parser(parser)
        {
            if (++m_parser.m_depth > kMaxDepth)
                m_parser.Fail(QStringLiteral("nested deeper than %1 levels").arg(kMaxDepth));
        }
        ~Level() { --m_parser.m_depth; }
        Level(const Level&) = delete;
        Level& operator=(const Level&) = delete;
        Parser& m_parser;
    };

    QChar Peek()
    {
        SkipBlanks();
        return m_pos < m_text.size() ? m_text[m_pos] : QChar();
    }

    static bool IsIdentStart(QChar c) { return c.isLetter() || c == u'_'; }
    static bool IsIdentChar(QChar c) { return c.isLetterOrNumber() || c == u'_'; }
    // Not isxdigit(): a Latin-1 letter as a signed char is outside its domain.
    static bool IsHexDigit(QChar c)
    {
        return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
    }

    // An identifier, dots allowed inside ("Font.Name").
    QString ReadName()
    {
        SkipBlanks();
        if (m_pos >= m_text.size() || !IsIdentStart(m_text[m_pos]))
            Fail(QStringLiteral("a name was expected"));
        const qsizetype start = m_pos;
        while (m_pos < m_text.size() && (IsIdentChar(m_text[m_pos]) || m_text[m_pos] == u'.'))
            ++m_pos;
        return m_text.mid(start, m_pos - start);
    }

    bool AtKeyword(const char* keyword)
    {
        SkipBlanks();
        const QString k = QString::fromLatin1(keyword);
        if (m_text.mid(m_pos, k.size()).compare(k, Qt::CaseInsensitive) != 0)
            return false;
        const qsizetype after = m_pos + k.size();
        return after >= m_text.size() || !IsIdentChar(m_text[after]);
    }

    void Expect(QChar c)
    {
        if (Peek() != c)
            Fail(QStringLiteral("'%1' was expected").arg(c));
        ++m_pos;
    }

    DefinitionObject ReadObject()
    {
        const Level level(*this);
        DefinitionObject obj;
        SkipBlanks();
        obj.line = m_line;
        if (AtKeyword("inherited") || AtKeyword("inline"))
            obj.inherited = true;
        else if (!AtKeyword("object"))
            Fail(QStringLiteral("'object' was expected"));
        ReadName();
        obj.name = ReadName();
        if (Peek() == u':') {
            ++m_pos;
            obj.className = ReadName();
        } else {
            obj.className = obj.name;
            obj.name.clear();
        }
        if (Peek() == u'[') { // creation index of inherited objects
            while (m_pos < m_text.size() && m_text[m_pos] != u']') {
                if (LineEndAt(m_pos))
                    ++m_line;
                ++m_pos;
            }
            Expect(u']');
        }
        for (;;) {
            if (Peek().isNull())
                Fail(QStringLiteral("'end' missing for object %1").arg(obj.name));
            if (AtKeyword("end")) {
                obj.endLine = m_line;
                m_pos += 3;
                return obj;
            }
            if (AtKeyword("object") || AtKeyword("inherited") || AtKeyword("inline")) {
                obj.children.append(ReadObject());
                continue;
            }
            obj.properties.append(ReadProperty());
        }
    }

    DefinitionProperty ReadProperty()
    {
        DefinitionProperty p;
        SkipBlanks();
        p.line = m_line;
        p.name = ReadName();
        Expect(u'=');
        p.value = std::make_shared<DefinitionValue>(ReadValue());
        return p;
    }

    QString ReadString()
    {
        QString out;
        for (;;) {
            const QChar c = Peek();
            if (c == u'\'') {
                ++m_pos;
                for (;;) {
                    if (m_pos >= m_text.size() || m_text[m_pos] == u'\n' || m_text[m_pos] == u'\r')
                        Fail(QStringLiteral("unterminated string"));
                    if (m_text[m_pos] == u'\'') {
                        if (m_pos + 1 < m_text.size() && m_text[m_pos + 1] == u'\'') {
                            out += u'\'';
                            m_pos += 2;
                            continue;
                        }
                        ++m_pos;
                        break;
                    }
                    out += m_text[m_pos++];
                }
            } else if (c == u'#') {
                ++m_pos;
                const qsizetype start = m_pos;
                while (m_pos < m_text.size() && m_text[m_pos].isDigit())
                    ++m_pos;
                bool ok = false;
                const uint code = m_text.mid(start, m_pos - start).toUInt(&ok);
                if (!ok || code > 0xFFFF)
                    Fail(QStringLiteral("bad character code"));
                out += QChar(static_cast<char16_t>(code));
            } else if (c == u'+') {
                ++m_pos; // the text goes on after a line break
                const QChar next = Peek();
                if (next != u'\'' && next != u'#')
                    Fail(QStringLiteral("a string was expected after '+'"));
            } else {
                return out;
            }
            // Pieces join only when they touch or are joined by '+'.
            if (m_pos < m_text.size() && m_text[m_pos] != u'\'' && m_text[m_pos] != u'#') {
                const qsizetype save = m_pos;
                const int saveLine = m_line;
                if (Peek() != u'+') {
                    m_pos = save;
                    m_line = saveLine;
                    return out;
                }
            }
        }
    }

    DefinitionValue ReadNumber()
    {
        DefinitionValue v;
        const qsizetype start = m_pos;
        if (m_text[m_pos] == u'-' || m_text[m_pos] == u'+')
            ++m_pos;
        if (m_pos < m_text.size() && m_text[m_pos] == u'$') {
            ++m_pos;
            const qsizetype h = m_pos;
            while (m_pos < m_text.size() && IsHexDigit(m_text[m_pos]))
                ++m_pos;
            bool ok = false;
            v.integer = m_text.mid(h, m_pos - h).toLongLong(&ok, 16);
            if (!ok)
                Fail(QStringLiteral("bad hexadecimal number"));
            if (m_text[start] == u'-')
                v.integer = -v.integer;
            v.kind = DefinitionValue::Integer;
            v.number = static_cast<double>(v.integer);
            return v;
        }
        bool isFloat = false;
        while (m_pos < m_text.size()) {
            const QChar c = m_text[m_pos];
            if (c.isDigit()) {
                ++m_pos;
            } else if (c == u'.' || c == u'e' || c == u'E') {
                isFloat = true;
                ++m_pos;
                if ((c == u'e' || c == u'E') && m_pos < m_text.size() &&
                    (m_text[m_pos] == u'-' || m_text[m_pos] == u'+'))
                    ++m_pos;
            } else {
                break;
            }
        }
        const QString t = m_text.mid(start, m_pos - start);
        v.literal = t;
        bool ok = false;
        if (isFloat) {
            v.kind = DefinitionValue::Float;
            v.number = t.toDouble(&ok);
        } else {
            v.kind = DefinitionValue::Integer;
            v.integer = t.toLongLong(&ok);
            v.number = static_cast<double>(v.integer);
        }
        if (!ok)
            Fail(QStringLiteral("bad number '%1'").arg(t));
        return v;
    }

    DefinitionValue ReadValue()
    {
        const Level level(*this);
        const QChar c = Peek();
        DefinitionValue v;
        if (c == u'\'' || c == u'#') {
            v.kind = DefinitionValue::String;
            v.text = ReadString();
        } else if (c.isDigit() || c == u'-' || c == u'+' || c == u'$') {
            v = ReadNumber();
        } else if (c == u'[') {
            ++m_pos;
            v.kind = DefinitionValue::Set;
            while (Peek() != u']') {
                v.set.append(ReadName());
                if (Peek() == u',')
                    ++m_pos;
                else if (Peek() != u']')
                    Fail(QStringLiteral("',' or ']' was expected"));
            }
            ++m_pos;
        } else if (c == u'(') {
            ++m_pos;
            v.kind = DefinitionValue::List;
            while (Peek() != u')') {
                if (Peek().isNull())
                    Fail(QStringLiteral("')' missing"));
                v.list.append(ReadValue());
            }
            ++m_pos;
        } else if (c == u'{') {
            ++m_pos;
            v.kind = DefinitionValue::Binary;
            QByteArray hex;
            while (Peek() != u'}') {
                if (Peek().isNull())
                    Fail(QStringLiteral("'}' missing"));
                const QChar h = m_text[m_pos++];
                if (!IsHexDigit(h))
                    Fail(QStringLiteral("bad binary data"));
                hex.append(static_cast<char>(h.unicode()));
            }
            ++m_pos;
            if (hex.size() % 2)
                Fail(QStringLiteral("odd number of hexadecimal digits"));
            v.binary = QByteArray::fromHex(hex);
        } else if (c == u'<') {
            ++m_pos;
            v.kind = DefinitionValue::Collection;
            while (Peek() != u'>') {
                if (!AtKeyword("item"))
                    Fail(QStringLiteral("'item' was expected"));
                m_pos += 4;
                DefinitionItem item;
                while (!AtKeyword("end")) {
                    if (Peek().isNull())
                        Fail(QStringLiteral("'end' missing for item"));
                    item.properties.append(ReadProperty());
                }
                m_pos += 3;
                v.items.append(item);
            }
            ++m_pos;
        } else if (IsIdentStart(c)) {
            v.kind = DefinitionValue::Identifier;
            v.text = ReadName();
        } else {
            Fail(QStringLiteral("a value was expected"));
        }
        return v;
    }

    const QString& m_text;
    qsizetype m_pos = 0;
    int m_line = 1;
    int m_depth = 0;
};

} // namespace

const DefinitionValue* DefinitionObject::Find(const QString& property) const
{
    for (const auto& p : properties)
        if (p.name.compare(property, Qt::CaseInsensitive) == 0)
            return p.value.get();
    return nullptr;
}

namespace brp {

QString DefinitionText(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringConverter::Utf8); // drops a byte order mark
    const QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    return win1252ToQString(bytes);
}

DefinitionObject ReadDefinition(const QString& text)
{
    Parser parser(text);
    return parser.ReadRoot();
}

} // namespace brp
