#include "DefinitionReader.h"

#include <QStringDecoder>

namespace {

// Deeper nesting (objects in objects, lists in lists, collections) than any
// window or report needs; past it a hostile text would exhaust the stack.
constexpr int kMaxDepth = 200;

// Windows-1252 0x80..0x9F; the five unassigned codes stay C1 controls.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

class Parser {
public:
    explicit Parser(const QString& text) : m_text(text) {}

    DefinitionObject readRoot()
    {
        DefinitionObject root = readObject();
        skipBlanks();
        if (m_pos < m_text.size())
            fail(QStringLiteral("text after the last 'end'"));
        return root;
    }

private:
    [[noreturn]] void fail(const QString& what) const
    {
        throw EParserError(QStringLiteral("Definition error on line %1: %2").arg(m_line).arg(what));
    }

    // A line ends with LF, CR LF or a lone CR.
    bool lineEndAt(qsizetype pos) const
    {
        const QChar c = m_text[pos];
        return c == u'\n' || (c == u'\r' && (pos + 1 >= m_text.size() || m_text[pos + 1] != u'\n'));
    }

    void skipBlanks()
    {
        while (m_pos < m_text.size()) {
            const QChar c = m_text[m_pos];
            if (c.unicode() > u' ')
                return;
            if (lineEndAt(m_pos))
                ++m_line;
            ++m_pos;
        }
    }

    // One level of nesting for as long as it lives.
    struct Level {
        explicit Level(Parser& parser) : m_parser(parser)
        {
            if (++m_parser.m_depth > kMaxDepth)
                m_parser.fail(QStringLiteral("nested deeper than %1 levels").arg(kMaxDepth));
        }
        ~Level() { --m_parser.m_depth; }
        Level(const Level&) = delete;
        Level& operator=(const Level&) = delete;
        Parser& m_parser;
    };

    QChar peek()
    {
        skipBlanks();
        return m_pos < m_text.size() ? m_text[m_pos] : QChar();
    }

    static bool isIdentStart(QChar c) { return c.isLetter() || c == u'_'; }
    static bool isIdentChar(QChar c) { return c.isLetterOrNumber() || c == u'_'; }
    // Not isxdigit(): a Latin-1 letter as a signed char is outside its domain.
    static bool isHexDigit(QChar c)
    {
        return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
    }

    // An identifier, dots allowed inside ("Font.Name").
    QString readName()
    {
        skipBlanks();
        if (m_pos >= m_text.size() || !isIdentStart(m_text[m_pos]))
            fail(QStringLiteral("a name was expected"));
        const qsizetype start = m_pos;
        while (m_pos < m_text.size() && (isIdentChar(m_text[m_pos]) || m_text[m_pos] == u'.'))
            ++m_pos;
        return m_text.mid(start, m_pos - start);
    }

    bool atKeyword(const char* keyword)
    {
        skipBlanks();
        const QString k = QString::fromLatin1(keyword);
        if (m_text.mid(m_pos, k.size()).compare(k, Qt::CaseInsensitive) != 0)
            return false;
        const qsizetype after = m_pos + k.size();
        return after >= m_text.size() || !isIdentChar(m_text[after]);
    }

    void expect(QChar c)
    {
        if (peek() != c)
            fail(QStringLiteral("'%1' was expected").arg(c));
        ++m_pos;
    }

    DefinitionObject readObject()
    {
        const Level level(*this);
        DefinitionObject obj;
        skipBlanks();
        obj.line = m_line;
        if (atKeyword("inherited") || atKeyword("inline"))
            obj.inherited = true;
        else if (!atKeyword("object"))
            fail(QStringLiteral("'object' was expected"));
        readName();
        obj.name = readName();
        if (peek() == u':') {
            ++m_pos;
            obj.className = readName();
        } else {
            obj.className = obj.name;
            obj.name.clear();
        }
        if (peek() == u'[') { // creation index of inherited objects
            while (m_pos < m_text.size() && m_text[m_pos] != u']') {
                if (lineEndAt(m_pos))
                    ++m_line;
                ++m_pos;
            }
            expect(u']');
        }
        for (;;) {
            if (peek().isNull())
                fail(QStringLiteral("'end' missing for object %1").arg(obj.name));
            if (atKeyword("end")) {
                obj.endLine = m_line;
                m_pos += 3;
                return obj;
            }
            if (atKeyword("object") || atKeyword("inherited") || atKeyword("inline")) {
                obj.children.append(readObject());
                continue;
            }
            obj.properties.append(readProperty());
        }
    }

    DefinitionProperty readProperty()
    {
        DefinitionProperty p;
        skipBlanks();
        p.line = m_line;
        p.name = readName();
        expect(u'=');
        p.value = std::make_shared<DefinitionValue>(readValue());
        return p;
    }

    QString readString()
    {
        QString out;
        for (;;) {
            const QChar c = peek();
            if (c == u'\'') {
                ++m_pos;
                for (;;) {
                    if (m_pos >= m_text.size() || m_text[m_pos] == u'\n' || m_text[m_pos] == u'\r')
                        fail(QStringLiteral("unterminated string"));
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
                    fail(QStringLiteral("bad character code"));
                out += QChar(static_cast<char16_t>(code));
            } else if (c == u'+') {
                ++m_pos; // the text goes on after a line break
                const QChar next = peek();
                if (next != u'\'' && next != u'#')
                    fail(QStringLiteral("a string was expected after '+'"));
            } else {
                return out;
            }
            // Pieces join only when they touch or are joined by '+'.
            if (m_pos < m_text.size() && m_text[m_pos] != u'\'' && m_text[m_pos] != u'#') {
                const qsizetype save = m_pos;
                const int saveLine = m_line;
                if (peek() != u'+') {
                    m_pos = save;
                    m_line = saveLine;
                    return out;
                }
            }
        }
    }

    DefinitionValue readNumber()
    {
        DefinitionValue v;
        const qsizetype start = m_pos;
        if (m_text[m_pos] == u'-' || m_text[m_pos] == u'+')
            ++m_pos;
        if (m_pos < m_text.size() && m_text[m_pos] == u'$') {
            ++m_pos;
            const qsizetype h = m_pos;
            while (m_pos < m_text.size() && isHexDigit(m_text[m_pos]))
                ++m_pos;
            bool ok = false;
            v.integer = m_text.mid(h, m_pos - h).toLongLong(&ok, 16);
            if (!ok)
                fail(QStringLiteral("bad hexadecimal number"));
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
            fail(QStringLiteral("bad number '%1'").arg(t));
        return v;
    }

    DefinitionValue readValue()
    {
        const Level level(*this);
        const QChar c = peek();
        DefinitionValue v;
        if (c == u'\'' || c == u'#') {
            v.kind = DefinitionValue::String;
            v.text = readString();
        } else if (c.isDigit() || c == u'-' || c == u'+' || c == u'$') {
            v = readNumber();
        } else if (c == u'[') {
            ++m_pos;
            v.kind = DefinitionValue::Set;
            while (peek() != u']') {
                v.set.append(readName());
                if (peek() == u',')
                    ++m_pos;
                else if (peek() != u']')
                    fail(QStringLiteral("',' or ']' was expected"));
            }
            ++m_pos;
        } else if (c == u'(') {
            ++m_pos;
            v.kind = DefinitionValue::List;
            while (peek() != u')') {
                if (peek().isNull())
                    fail(QStringLiteral("')' missing"));
                v.list.append(readValue());
            }
            ++m_pos;
        } else if (c == u'{') {
            ++m_pos;
            v.kind = DefinitionValue::Binary;
            QByteArray hex;
            while (peek() != u'}') {
                if (peek().isNull())
                    fail(QStringLiteral("'}' missing"));
                const QChar h = m_text[m_pos++];
                if (!isHexDigit(h))
                    fail(QStringLiteral("bad binary data"));
                hex.append(static_cast<char>(h.unicode()));
            }
            ++m_pos;
            if (hex.size() % 2)
                fail(QStringLiteral("odd number of hexadecimal digits"));
            v.binary = QByteArray::fromHex(hex);
        } else if (c == u'<') {
            ++m_pos;
            v.kind = DefinitionValue::Collection;
            while (peek() != u'>') {
                if (!atKeyword("item"))
                    fail(QStringLiteral("'item' was expected"));
                m_pos += 4;
                DefinitionItem item;
                while (!atKeyword("end")) {
                    if (peek().isNull())
                        fail(QStringLiteral("'end' missing for item"));
                    item.properties.append(readProperty());
                }
                m_pos += 3;
                v.items.append(item);
            }
            ++m_pos;
        } else if (isIdentStart(c)) {
            v.kind = DefinitionValue::Identifier;
            v.text = readName();
        } else {
            fail(QStringLiteral("a value was expected"));
        }
        return v;
    }

    const QString& m_text;
    qsizetype m_pos = 0;
    int m_line = 1;
    int m_depth = 0;
};

} // namespace

const DefinitionValue* DefinitionObject::find(const QString& property) const
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
    QString latin(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        latin[i] = QChar(b >= 0x80 && b < 0xA0 ? kWindows1252High[b - 0x80] : char16_t(b));
    }
    return latin;
}

DefinitionObject ReadDefinition(const QString& text)
{
    Parser parser(text);
    return parser.readRoot();
}

} // namespace brp
