#include "TBREvEnvironment.h"
#include "ExpressionEngine.h"
#include "TBREvElementConstant.h"
#include "TBREvElementError.h"
#include "TBREvElementString.h"
#include "TBREvElementWrapper.h"
#include "TBREvEmbeddedFunction.h"

namespace {
// Set while any environment releases its entries: the global releases those
// entries' evaluators ask for are ignored, so the global environment stays
// compiled once a report has run.
bool s_releasing = false;
} // namespace

TBREvEnvironment::TBREvEnvironment() = default;

TBREvEnvironment::~TBREvEnvironment()
{
    Clear();
}

qsizetype TBREvEnvironment::IndexOf(const QString& name) const
{
    for (size_t i = 0; i < m_entries.size(); ++i)
        if (m_entries[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return static_cast<qsizetype>(i);
    return -1;
}

TBREvEmbeddedFunction* TBREvEnvironment::Find(const QString& name) const
{
    const qsizetype i = IndexOf(name);
    return i < 0 ? nullptr : m_entries[static_cast<size_t>(i)].function.get();
}

void TBREvEnvironment::CompileEntry(TBREvEmbeddedFunction& f)
{
    f.OwnEvaluator.UseDataSets(DataSetList());
    f.OwnEvaluator.SetScope(this);
    f.OwnEvaluator.Compile(f.ExpressionText);
}

void TBREvEnvironment::Define(const QString& name, const QString& expressionText)
{
    const QString upper = name.toUpper();
    if (IndexOf(upper) >= 0)
        return;
    m_entries.push_back({upper, std::make_shared<TBREvEmbeddedFunction>(expressionText)});
    if (IsCompiled())
        CompileEntry(*m_entries.back().function);
}

void TBREvEnvironment::Undefine(const QString& name)
{
    const qsizetype i = IndexOf(name);
    if (i >= 0)
        m_entries.erase(m_entries.begin() + i);
}

void TBREvEnvironment::Clear()
{
    // Destroy outside the vector so that a release reaching back here sees a
    // consistent list.
    std::vector<Entry> old;
    old.swap(m_entries);
    old.clear();
}

void TBREvEnvironment::CompileAll()
{
    if (++m_useCount != 1)
        return;
    for (size_t i = 0; i < m_entries.size(); ++i) {
        std::shared_ptr<TBREvEmbeddedFunction> f = m_entries[i].function;
        CompileEntry(*f);
    }
}

void TBREvEnvironment::ReleaseAll()
{
    if (this == brp::GlobalEnvironmentIfExists() && s_releasing)
        return;
    if (m_useCount == 0)
        return;
    const bool saved = s_releasing;
    s_releasing = true;
    if (--m_useCount == 0) {
        for (size_t i = 0; i < m_entries.size(); ++i) {
            std::shared_ptr<TBREvEmbeddedFunction> f = m_entries[i].function;
            f->OwnEvaluator.Release();
        }
    }
    s_releasing = saved;
}

std::unique_ptr<TBREvElement> TBREvEnvironment::ElementFor(const QString& name)
{
    const qsizetype i = IndexOf(name.toUpper());
    if (i < 0)
        return std::make_unique<TBREvElementError>(QStringLiteral("Unknown function : %1").arg(name));
    return std::make_unique<TBREvElementWrapper>(m_entries[static_cast<size_t>(i)].function, name);
}

void TBREvEnvironment::ValueOf(const QString& name, TBREvValue& value)
{
    const qsizetype i = IndexOf(name);
    if (i < 0) {
        value.SetError(QStringLiteral("Unknown function : %1").arg(name));
        return;
    }
    std::shared_ptr<TBREvEmbeddedFunction> f = m_entries[static_cast<size_t>(i)].function;
    TBRFiFo unused;
    f->Compute(unused, value);
}

TBREvValue TBREvEnvironment::ValueOf(const QString& name)
{
    TBREvValue v;
    ValueOf(name, v);
    return v;
}

TBREvElement* TBREvEnvironment::ConstantElement(const QString& name) const
{
    TBREvEmbeddedFunction* f = Find(name);
    if (!f || !IsCompiled() || !f->OwnEvaluator.Elements())
        return nullptr;
    return f->OwnEvaluator.Elements()->ItemAt(0);
}

void TBREvEnvironment::StoreInteger(TBREvElement* element, qint32 value)
{
    if (auto* c = dynamic_cast<TBREvElementConstant*>(element))
        c->Value = TBREvValue::Integer(value);
}

void TBREvEnvironment::StoreText(TBREvElement* element, const QString& text)
{
    if (auto* s = dynamic_cast<TBREvElementString*>(element))
        s->Text = text.left(BRMaxTextLength);
}

void TBREvEnvironment::StoreValue(TBREvElement* element, const TBREvValue& value)
{
    // Texts keep the engine's length limit whichever way they are stored.
    TBREvValue stored = value;
    if (stored.ValueKind == evString)
        stored.TextValue = stored.TextValue.left(BRMaxTextLength);
    if (auto* c = dynamic_cast<TBREvElementConstant*>(element))
        c->Value = stored;
    else if (auto* s = dynamic_cast<TBREvElementString*>(element); s && stored.ValueKind == evString)
        s->Text = stored.TextValue;
}

QStringList TBREvEnvironment::Strings() const
{
    QStringList names;
    for (const Entry& e : m_entries)
        names << e.name;
    return names;
}

QStringList TBREvEnvironment::Data() const
{
    QStringList texts;
    for (const Entry& e : m_entries)
        texts << e.function->ExpressionText;
    return texts;
}

void TBREvEnvironment::SetDefinitions(const QStringList& names, const QStringList& texts)
{
    Clear();
    for (qsizetype i = 0; i < names.size(); ++i) {
        m_entries.push_back({names[i].toUpper(),
                             std::make_shared<TBREvEmbeddedFunction>(i < texts.size() ? texts[i] : QString())});
        if (IsCompiled())
            CompileEntry(*m_entries.back().function);
    }
}
