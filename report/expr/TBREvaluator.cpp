#include "TBREvaluator.h"
#include "ExpressionEngine.h"
#include "ExpressionError.h"
#include "ExpressionLocale.h"
#include "TBREvElementArgumentEnd.h"
#include "TBREvElementConstant.h"
#include "TBREvElementDataField.h"
#include "TBREvElementError.h"
#include "TBREvElementFunction.h"
#include "TBREvElementNot.h"
#include "TBREvElementOperator.h"
#include "TBREvElementString.h"
#include "TBREvEnvironment.h"
#include "TBRFunctionLibrary.h"
#include "TDataSet.h"

#include <cmath>
#include <cstring>

namespace {

// Deeper nesting than this (chained operators, parentheses, unary signs) is not
// compiled: evaluation recurses once per level and must not exhaust the stack.
constexpr int MaxNesting = 1000;

// Quote, parenthesis and bracket state of the operator scan.
struct ScanState {
    bool inString = false;
    bool inBrackets = false;
    int depth = 0;

    void Feed(QChar c)
    {
        if (c == u'\'') {
            if (!inBrackets)
                inString = !inString;
        } else if (c == u'(') {
            if (!inString && !inBrackets)
                ++depth;
        } else if (c == u')') {
            if (!inString && !inBrackets)
                --depth;
        } else if (c == u'[') {
            if (!inString && !inBrackets)
                inBrackets = true;
        } else if (c == u']') {
            if (!inString)
                inBrackets = false;
        }
    }
    bool AtTop() const { return depth == 0 && !inString && !inBrackets; }
};

struct Split {
    TBREvOpCode op;
    qsizetype leftEnd;     // the left part is text[0, leftEnd)
    qsizetype rightStart;  // the right part is text[rightStart, end)
};

bool lowerIs(QChar c, char lower)
{
    return c.unicode() < 128 && (c.unicode() | 0x20) == static_cast<ushort>(lower);
}

// A keyword operator (" or ", " and ") whose first letter is at i.
bool keywordAt(const QString& t, qsizetype i, const char* word)
{
    const qsizetype n = static_cast<qsizetype>(std::strlen(word));
    if (i < 1 || t[i - 1] != u' ' || i + n >= t.size() || t[i + n] != u' ')
        return false;
    for (qsizetype k = 0; k < n; ++k)
        if (!lowerIs(t[i + k], word[k]))
            return false;
    return true;
}

enum class Level { Relational, Additive, Multiplicative };

// The leftmost operator of a level at the top of the text; the first and the
// last character are never operators.
std::optional<Split> findOperator(const QString& t, Level level)
{
    ScanState st;
    for (qsizetype i = 0; i + 1 < t.size(); ++i) {
        const QChar c = t[i];
        st.Feed(c);
        if (i == 0 || !st.AtTop())
            continue;
        switch (level) {
        case Level::Relational:
            if (c == u'<') {
                if (t[i + 1] == u'=')
                    return Split{eoLE, i, i + 2};
                if (t[i + 1] == u'>')
                    return Split{eoNE, i, i + 2};
                return Split{eoLT, i, i + 1};
            }
            if (c == u'>') {
                if (t[i + 1] == u'=')
                    return Split{eoGE, i, i + 2};
                return Split{eoGT, i, i + 1};
            }
            if (c == u'=')
                return Split{eoEQ, i, i + 1};
            break;
        case Level::Additive:
            if (c == u'+')
                return Split{eoAdd, i, i + 1};
            if (c == u'-')
                return Split{eoSubtract, i, i + 1};
            if (keywordAt(t, i, "or"))
                return Split{eoOr, i, i + 2};
            break;
        case Level::Multiplicative:
            if (c == u'*')
                return Split{eoMultiply, i, i + 1};
            if (c == u'/')
                return Split{eoDivide, i, i + 1};
            if (keywordAt(t, i, "and"))
                return Split{eoAnd, i, i + 3};
            break;
        }
    }
    return std::nullopt;
}

// Exchanges two operator characters at parenthesis depth 0 outside strings, so
// that the right part of a '-' or '/' keeps left-to-right order. Bracketed
// names are left alone: a field called [A-B] must keep its name.
QString swapOperators(QString t, QChar a, QChar b)
{
    bool inString = false, inBrackets = false;
    int depth = 0;
    for (qsizetype i = 0; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c == u'\'' && !inBrackets)
            inString = !inString;
        else if (inString)
            continue;
        else if (c == u'[')
            inBrackets = true;
        else if (c == u']')
            inBrackets = false;
        else if (inBrackets)
            continue;
        else if (c == u'(')
            ++depth;
        else if (c == u')')
            --depth;
        else if (depth == 0 && c == a)
            t[i] = b;
        else if (depth == 0 && c == b)
            t[i] = a;
    }
    return t;
}

// The argument text's next ',' at parenthesis depth 0 outside strings, from
// `start`; the last character is never examined. -1 when there is none.
qsizetype findArgumentEnd(const QString& t, qsizetype start)
{
    bool inString = false;
    int depth = 0;
    for (qsizetype i = start; i + 1 < t.size(); ++i) {
        const QChar c = t[i];
        if (c == u'\'')
            inString = !inString;
        else if (!inString && c == u'(')
            ++depth;
        else if (!inString && c == u')')
            --depth;
        else if (!inString && depth == 0 && c == u',')
            return i;
    }
    return -1;
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isLetter(QChar c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

} // namespace

struct CompileDepth {
    explicit CompileDepth(TBREvaluator& e, int levels = 1) : ev(e), added(levels) { ev.m_depth += levels; }
    ~CompileDepth() { ev.m_depth -= added; }
    void Add() { ++ev.m_depth; ++added; }
    bool TooDeep() const { return ev.m_depth > MaxNesting; }
    TBREvaluator& ev;
    int added;
};

TBREvaluator::TBREvaluator() = default;

TBREvaluator::~TBREvaluator()
{
    Release();
}

void TBREvaluator::Compile(const QString& text)
{
    if (m_compiled)
        Release();
    GlobalEnvironment().CompileAll();
    m_elements = std::make_unique<TBRFiFo>();
    m_depth = 0;
    if (text.isEmpty())
        CompileFactor(QStringLiteral("' '"));
    else
        CompileExpression(text);
    m_compiled = true;
}

void TBREvaluator::Release()
{
    if (!m_compiled)
        return;
    m_elements.reset();
    m_compiled = false;
    if (TBREvEnvironment* global = brp::GlobalEnvironmentIfExists())
        global->ReleaseAll();
}

void TBREvaluator::CurrentValue(TBREvValue& value)
{
    if (!m_compiled)
        throw ExpressionError(QStringLiteral("Evaluator not prepared"));
    m_elements->Rewind();
    m_elements->ComputeNext(value);
}

TBREvValue TBREvaluator::CurrentValue()
{
    TBREvValue v;
    CurrentValue(v);
    return v;
}

void TBREvaluator::Accumulate()
{
    if (!m_compiled)
        throw ExpressionError(QStringLiteral("Evaluator not prepared"));
    struct Flag {
        TBRFiFo& l;
        explicit Flag(TBRFiFo& list) : l(list) { l.Accumulating = true; }
        ~Flag() { l.Accumulating = false; }
    } flag(*m_elements);
    TBREvValue discarded;
    CurrentValue(discarded);
}

void TBREvaluator::ResetAggregates()
{
    if (!m_elements)
        return;
    for (auto& e : m_elements->ItemList)
        e->Restart();
}

bool TBREvaluator::HasAggregate() const
{
    if (!m_elements)
        return false;
    for (const auto& e : m_elements->ItemList)
        if (e->AggregateFlag)
            return true;
    return false;
}

void TBREvaluator::EvaluateOnce(const QString& text, TBREvValue& value)
{
    Compile(text);
    struct Releaser {
        TBREvaluator& e;
        ~Releaser() { e.Release(); }
    } releaser{*this};
    CurrentValue(value);
}

TBREvValue TBREvaluator::EvaluateOnce(const QString& text)
{
    TBREvValue v;
    EvaluateOnce(text, v);
    return v;
}

void TBREvaluator::Append(std::unique_ptr<TBREvElement> element)
{
    m_elements->Append(std::move(element));
}

void TBREvaluator::AppendError(const QString& message)
{
    Append(std::make_unique<TBREvElementError>(message));
}

void TBREvaluator::CompileExpression(const QString& text)
{
    if (auto split = findOperator(text, Level::Relational)) {
        Append(std::make_unique<TBREvElementOperator>(split->op));
        CompileSimple(text.left(split->leftEnd));
        CompileSimple(text.mid(split->rightStart));
    } else {
        CompileSimple(text);
    }
}

void TBREvaluator::CompileSimple(QString text)
{
    CompileLevel(std::move(text), true);
}

void TBREvaluator::CompileTerm(QString text)
{
    CompileLevel(std::move(text), false);
}

// The additive or the multiplicative level. Each operator found compiles its
// left part one level down and continues with the right part in the same loop
// (the right part is the last operand in prefix order).
void TBREvaluator::CompileLevel(QString text, bool additive)
{
    const Level level = additive ? Level::Additive : Level::Multiplicative;
    CompileDepth depth(*this, 0);
    for (;;) {
        if (depth.TooDeep()) {
            AppendError(QStringLiteral("Expression too complex"));
            return;
        }
        const auto split = findOperator(text, level);
        // The left part of "or" keeps its trailing blank (trimmed by the factor).
        const QString left = split ? text.left(split->leftEnd) : text;
        if (split)
            Append(std::make_unique<TBREvElementOperator>(split->op));
        if (additive)
            CompileTerm(left);
        else
            CompileFactor(left);
        if (!split)
            return;
        text = text.mid(split->rightStart);
        if (split->op == eoSubtract)
            text = swapOperators(text, u'+', u'-');
        else if (split->op == eoDivide)
            text = swapOperators(text, u'*', u'/');
        depth.Add();
    }
}

void TBREvaluator::CompileFactor(const QString& source)
{
    CompileDepth depth(*this);
    if (depth.TooDeep()) {
        AppendError(QStringLiteral("Expression too complex"));
        return;
    }
    qsizetype b = 0, e = source.size();
    while (b < e && source[b] == u' ')
        ++b;
    while (e > b && source[e - 1] == u' ')
        --e;
    QString t = (b == e && !source.isEmpty()) ? QStringLiteral(" ") : source.mid(b, e - b);
    t.truncate(BRMaxTextLength);
    const qsizetype n = t.size();
    const QChar first = n > 0 ? t[0] : QChar();
    const QChar last = n > 0 ? t[n - 1] : QChar();

    if (n >= 3 && lowerIs(t[0], 'n') && lowerIs(t[1], 'o') && lowerIs(t[2], 't')) {
        Append(std::make_unique<TBREvElementNot>());
        CompileSimple(t.mid(3));
    } else if (first == u'\'') {
        if (n >= 2 && last == u'\'')
            Append(std::make_unique<TBREvElementString>(t.mid(1, n - 2)));
        else
            AppendError(QStringLiteral("Missing %1").arg(QChar(u'\'')));
    } else if (first == u'(') {
        if (n >= 2 && last == u')')
            CompileExpression(t.mid(1, n - 2));
        else
            AppendError(QStringLiteral("Missing %1").arg(QChar(u')')));
    } else if (first == u'+') {
        CompileFactor(t.mid(1));
    } else if (first == u'-') {
        CompileSimple(QStringLiteral("0-") + t.mid(1));
    } else if (isDigit(first)) {
        CompileNumber(t);
    } else if (isLetter(first)) {
        CompileCall(t);
    } else if (first == u'[') {
        if (n >= 2 && last == u']')
            CompileName(t.mid(1, n - 2));
        else
            AppendError(QStringLiteral("Missing %1").arg(QChar(u']')));
    } else {
        AppendError(QStringLiteral("Error in expression : %1").arg(t));
    }
}

void TBREvaluator::CompileNumber(const QString& text)
{
    const auto illegal = [&] {
        AppendError(QStringLiteral("Illegal character in numeric contant \"%1\"").arg(text));
    };
    qsizetype i = 0;
    while (i < text.size() && isDigit(text[i]))
        ++i;
    const bool isFloat = i < text.size();
    for (qsizetype k = i; k < text.size(); ++k) {
        const QChar c = text[k];
        if (!(isDigit(c) || c == u'+' || c == u'-' || c == u'.' || c == u'E' || c == u'e')) {
            illegal();
            return;
        }
    }
    if (!isFloat) {
        bool ok = false;
        const int v = text.toInt(&ok);
        if (ok) {
            Append(std::make_unique<TBREvElementConstant>(TBREvValue::Integer(v)));
            return;
        }
    }
    QLocale locale = brp::ExpressionLocale();
    locale.setNumberOptions(QLocale::RejectGroupSeparator);
    QString localized = text;
    localized.replace(u'.', locale.decimalPoint());
    bool ok = false;
    const double v = locale.toDouble(localized, &ok);
    if (!ok || !std::isfinite(v)) {
        illegal();
        return;
    }
    Append(std::make_unique<TBREvElementConstant>(TBREvValue::Float(v)));
}

void TBREvaluator::CompileCall(const QString& text)
{
    const qsizetype open = text.indexOf(u'(');
    if (open < 0)
        CompileFunction(text, std::nullopt);
    else if (text.endsWith(u')') && open < text.size() - 1)
        CompileFunction(text.left(open), text.mid(open + 1, text.size() - open - 2));
    else
        CompileFunction(QString(), std::nullopt);
}

void TBREvaluator::CompileFunction(const QString& name, const std::optional<QString>& arguments)
{
    const QString upper = name.toUpper();
    if (const TBRLibraryEntry* entry = FunctionLibrary().Find(upper)) {
        Append(entry->ElementClass());
        if (arguments && !arguments->isEmpty()) {
            const QString& args = *arguments;
            qsizetype start = 0;
            for (;;) {
                const qsizetype end = findArgumentEnd(args, start);
                const QString piece = end < 0 ? args.mid(start) : args.mid(start, end - start);
                if (!piece.isEmpty())
                    CompileExpression(piece);
                if (end < 0)
                    break;
                start = end + 1;
            }
        }
        Append(std::make_unique<TBREvElementArgumentEnd>());
    } else if (arguments && !arguments->isEmpty()) {
        AppendError(QStringLiteral("Unknown function : %1").arg(upper));
    } else {
        CompileName(upper);
    }
}

void TBREvaluator::CompileName(const QString& name)
{
    const TBRDataSetList* dataSets = m_dataSets.Current();
    if (!dataSets) {
        CompileScopeName(name);
        return;
    }
    const qsizetype dot = name.indexOf(u'.');
    const QString dataSetName = dot < 0 ? QString() : name.left(dot).toUpper();
    const QString fieldName = (dot < 0 ? name : name.mid(dot + 1)).toUpper();
    for (TDataSet* ds : *dataSets) {
        if (!ds)
            continue;
        if (!dataSetName.isEmpty() && ds->Name().compare(dataSetName, Qt::CaseInsensitive) != 0)
            continue;
        const int index = ds->FieldIndex(fieldName);
        if (index >= 0) {
            Append(std::make_unique<TBREvElementDataField>(ds, index, ds->Fields(index)));
            return;
        }
        if (!dataSetName.isEmpty())
            break;   // the named data set lacks the field
    }
    CompileScopeName(name);
}

void TBREvaluator::CompileScopeName(const QString& name)
{
    std::unique_ptr<TBREvElement> element;
    if (m_scope) {
        element = m_scope->ElementFor(name);
        if (dynamic_cast<TBREvElementError*>(element.get()))
            element = GlobalEnvironment().ElementFor(name);
    } else {
        element = GlobalEnvironment().ElementFor(name);
    }
    Append(std::move(element));
}
