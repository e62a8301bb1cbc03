#include "BRReportReader.h"
#include "BRModelClasses.h"
#include "BRPropertyNames.h"
#include "ClassRegistry.h"
#include "TBRChildBand.h"
#include "TBRCustomBand.h"
#include "TBREvEnvironment.h"
#include "TBRPrintable.h"
#include "TBRPrintableSize.h"
#include "TBRUnitBase.h"
#include "TCustomBandReport.h"

#include <QHash>
#include <QMetaProperty>
#include <QPointer>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

[[noreturn]] void fail(int line, const QString& what)
{
    throw EReportDefinitionError(QStringLiteral("Definition error on line %1: %2").arg(line).arg(what));
}

QString valueText(const DefinitionValue& v)
{
    switch (v.kind) {
    case DefinitionValue::String: return QLatin1Char('\'') + v.text + QLatin1Char('\'');
    case DefinitionValue::Identifier: return v.text;
    case DefinitionValue::Integer: return v.literal.isEmpty() ? QString::number(v.integer) : v.literal;
    case DefinitionValue::Float: return v.literal.isEmpty() ? QString::number(v.number) : v.literal;
    default: return QStringLiteral("(...)");
    }
}

// Lengths a definition may hold (a kilometre in tenths of a millimetre, or a
// million of a larger unit), and pixel bounds: sums of them stay in range.
constexpr double kMaxLength = 1e7;

// Places may lie before the origin; sizes (heights, widths, margins, page
// lengths) may not: a negative band height drew rows above the page.
bool mayBeNegative(const QObject& holder, int valueIndex)
{
    return qobject_cast<const TBRPrintableSize*>(&holder)
        && (valueIndex == TBRPrintableSize::iLeft || valueIndex == TBRPrintableSize::iTop);
}

bool isSizeProperty(const QObject& holder, const QString& property)
{
    if (!qobject_cast<const TBRUnitBase*>(&holder))
        return property.compare(QLatin1String("Width"), Qt::CaseInsensitive) == 0
            || property.compare(QLatin1String("Height"), Qt::CaseInsensitive) == 0;
    return property.compare(QLatin1String("Left"), Qt::CaseInsensitive) != 0
        && property.compare(QLatin1String("Top"), Qt::CaseInsensitive) != 0;
}

bool isPixelBound(const QString& property)
{
    for (const char* name : {"Left", "Top", "Width", "Height"})
        if (property.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

int findProperty(const QMetaObject* meta, const QString& name)
{
    for (int i = meta->propertyCount() - 1; i >= 0; --i)
        if (QString::fromLatin1(meta->property(i).name()).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QStringList stringList(const DefinitionValue& v, int line, const QString& name)
{
    if (v.kind != DefinitionValue::List)
        fail(line, QStringLiteral("Invalid value for %1: a list was expected").arg(name));
    QStringList lines;
    for (const DefinitionValue& item : v.list) {
        if (item.kind != DefinitionValue::String)
            fail(line, QStringLiteral("Invalid value for %1: %2").arg(name, valueText(item)));
        lines << item.text;
    }
    return lines;
}

class Reader {
public:
    Reader(QObject* owner, const BRReportReader::EventBinder& bind) : m_owner(owner), m_bind(bind) {}

    TCustomBandReport* Read(const DefinitionObject& def)
    {
        try {
            QObject* object = Create(def, nullptr);
            m_report = qobject_cast<TCustomBandReport*>(object);
            if (!m_report)
                fail(def.line, QStringLiteral("Class %1 is not a report").arg(def.className));
            Build(def, m_report);
            ResolveReferences();
            RefuseCircles();
            for (const auto& c : std::as_const(m_created))
                if (c && c != m_report)
                    c->Loaded();
            m_report->Loaded();
            return m_report;
        } catch (...) {
            CleanUp();
            throw;
        }
    }

private:
    struct Reference {
        QPointer<QObject> object;
        QString property;
        QString target;
        int line;
    };

    QObject* ComponentOwner() const { return m_owner ? m_owner : static_cast<QObject*>(m_report); }

    QObject* Create(const DefinitionObject& def, TBRBasePanel* parent)
    {
        const ClassFactory factory = brp::FindClass(def.className);
        if (!factory)
            fail(def.line, QStringLiteral("Class %1 not found").arg(def.className));
        QObject* object = factory(m_report ? ComponentOwner() : m_owner);
        auto* component = qobject_cast<TComponent*>(object);
        if (!component) {
            delete object;
            fail(def.line, QStringLiteral("Class %1 cannot be part of a report").arg(def.className));
        }
        m_created.append(component);
        component->SetName(def.name);
        component->BeginLoading();
        if (auto* band = qobject_cast<TBRCustomBand*>(object)) {
            if (!parent)
                fail(def.line, QStringLiteral("Band %1 outside a report").arg(def.name));
            band->SetParentPanel(parent);
        } else if (auto* printable = qobject_cast<TBRPrintable*>(object)) {
            if (!parent)
                fail(def.line, QStringLiteral("Printable %1 outside a report").arg(def.name));
            printable->SetParentPanel(parent);
        }
        return object;
    }

    void Build(const DefinitionObject& def, QObject* object)
    {
        QList<const DefinitionProperty*> deferred;
        QStringList functionNames, functionTexts;
        int functionsLine = 0;
        bool hasNames = false, hasTexts = false;
        for (const DefinitionProperty& p : def.properties) {
            const QString lower = p.name.toLower();
            if (lower.endsWith(QLatin1String(".values"))) {
                deferred.append(&p);
            } else if (lower == QLatin1String("functions.strings") && qobject_cast<TCustomBandReport*>(object)) {
                functionNames = stringList(*p.value, p.line, p.name);
                hasNames = true;
                functionsLine = p.line;
            } else if (lower == QLatin1String("functions.data") && qobject_cast<TCustomBandReport*>(object)) {
                functionTexts = stringList(*p.value, p.line, p.name);
                hasTexts = true;
                functionsLine = p.line;
            } else {
                SetProperty(object, p.name, *p.value, p.line);
            }
        }
        if (hasNames || hasTexts) {
            if (functionNames.size() != functionTexts.size())
                fail(functionsLine, QStringLiteral("Functions: %1 names but %2 expressions")
                                        .arg(functionNames.size())
                                        .arg(functionTexts.size()));
            qobject_cast<TCustomBandReport*>(object)->Functions()->SetDefinitions(functionNames, functionTexts);
        }
        // Lengths after paper size and orientation, which would reset them.
        for (const DefinitionProperty* p : deferred)
            SetProperty(object, p->name, *p->value, p->line);

        auto* panel = qobject_cast<TBRBasePanel*>(object);
        for (const DefinitionObject& child : def.children) {
            if (!panel)
                fail(child.line, QStringLiteral("%1 cannot hold %2").arg(def.name, child.name));
            QObject* c = Create(child, panel);
            Build(child, c);
        }
    }

    void SetFont(TFont& font, const QString& sub, const DefinitionValue& v, int line, const QString& name)
    {
        auto is = [&](const char* n) { return sub.compare(QLatin1String(n), Qt::CaseInsensitive) == 0; };
        if (is("Name")) {
            if (v.kind != DefinitionValue::String)
                fail(line, QStringLiteral("Invalid value for %1: %2").arg(name, valueText(v)));
            font.Name = v.text;
        } else if (is("Height") || is("Size")) {
            if (v.kind != DefinitionValue::Integer || v.integer < -10000 || v.integer > 10000)
                fail(line, QStringLiteral("Invalid value for %1: %2").arg(name, valueText(v)));
            if (is("Height"))
                font.Height = int(v.integer);
            else
                font.SetSize(int(v.integer));
        } else if (is("Color")) {
            font.Color = Color(v, line, name);
        } else if (is("Charset")) {
            int charset = 0;
            if (v.kind == DefinitionValue::Integer && v.integer >= 0 && v.integer <= 255)
                charset = int(v.integer);
            else if (v.kind != DefinitionValue::Identifier || !brp::CharsetFromName(v.text, charset))
                fail(line, QStringLiteral("Invalid value for %1: %2").arg(name, valueText(v)));
            font.Charset = std::uint8_t(charset);
        } else if (is("Style")) {
            if (v.kind != DefinitionValue::Set)
                fail(line, QStringLiteral("Invalid value for %1: %2").arg(name, valueText(v)));
            TFontStyles style = 0;
            for (const QString& s : v.set) {
                if (s.compare(QLatin1String("fsBold"), Qt::CaseInsensitive) == 0)
                    style |= fsBold;
                else if (s.compare(QLatin1String("fsItalic"), Qt::CaseInsensitive) == 0)
                    style |= fsItalic;
                else if (s.compare(QLatin1String("fsUnderline"), Qt::CaseInsensitive) == 0)
                    style |= fsUnderline;
                else if (s.compare(QLatin1String("fsStrikeOut"), Qt::CaseInsensitive) == 0)
                    style |= fsStrikeOut;
                else
                    fail(line, QStringLiteral("Invalid value for %1: %2").arg(name, s));
            }
            font.Style = style;
        } else if (!is("Pitch")) {
            fail(line, QStringLiteral("Property %1 does not exist").arg(name));
        }
    }

    static unsigned Color(const DefinitionValue& v, int line, const QString& name)
    {
        unsigned c = 0;
        if (v.kind == DefinitionValue::Integer && v.integer >= std::numeric_limits<qint32>::min()
            && v.integer <= std::numeric_limits<quint32>::max())
            return unsigned(v.integer);
        if (v.kind == DefinitionValue::Identifier && brp::ColorFromName(v.text, c))
            return c;
        fail(line, QStringLiteral("Invalid value for %1: %2").arg(name, valueText(v)));
    }

    void SetProperty(QObject* object, const QString& name, const DefinitionValue& v, int line)
    {
        const qsizetype dot = name.indexOf(u'.');
        const QString head = dot < 0 ? name : name.left(dot);
        const QString rest = dot < 0 ? QString() : name.mid(dot + 1);
        if (head.compare(QLatin1String("Font"), Qt::CaseInsensitive) == 0 && dot >= 0) {
            if (auto* panel = qobject_cast<TBRBasePanel*>(object)) {
                SetFont(panel->StoredFont(), rest, v, line, name);
                panel->SetParentFont(false);
                return;
            }
            if (auto* printable = qobject_cast<TBRPrintable*>(object)) {
                SetFont(printable->StoredFont(), rest, v, line, name);
                printable->SetParentFont(false);
                return;
            }
        }
        const QMetaObject* meta = object->metaObject();
        const int index = findProperty(meta, head);
        if (index < 0) {
            const bool event = head.startsWith(QLatin1String("On")) || head.startsWith(QLatin1String("Before"))
                            || head.startsWith(QLatin1String("After"));
            if (event && dot < 0 && v.kind == DefinitionValue::Identifier) {
                QStringList events = object->property("_brEvents").toStringList();
                events << head + u'=' + v.text;
                object->setProperty("_brEvents", events);
                if (m_bind)
                    m_bind(object, head, v.text);
                return;
            }
            // Where a component that is no band or printable sat in the designer.
            const bool place = head.compare(QLatin1String("Left"), Qt::CaseInsensitive) == 0
                            || head.compare(QLatin1String("Top"), Qt::CaseInsensitive) == 0;
            if (place && dot < 0 && !qobject_cast<TBRBasePanel*>(object) && !qobject_cast<TBRPrintable*>(object))
                return;
            fail(line, QStringLiteral("Property %1 does not exist").arg(name));
        }
        const QMetaProperty p = meta->property(index);
        const bool isObject = p.metaType().flags().testFlag(QMetaType::PointerToQObject);
        if (dot >= 0) {
            if (p.metaType().id() == QMetaType::QStringList && rest.compare(QLatin1String("Strings"), Qt::CaseInsensitive) == 0) {
                p.write(object, stringList(v, line, name));
                return;
            }
            if (!isObject || p.isWritable())
                fail(line, QStringLiteral("Property %1 does not exist").arg(name));
            QObject* sub = p.read(object).value<QObject*>();
            if (!sub)
                fail(line, QStringLiteral("Property %1 does not exist").arg(name));
            if (rest.compare(QLatin1String("Values"), Qt::CaseInsensitive) == 0) {
                if (auto* unit = qobject_cast<TBRUnitBase*>(sub)) {
                    SetValues(*unit, v, line, name);
                    return;
                }
            }
            SetProperty(sub, rest, v, line);
            return;
        }
        if (isObject) {
            if (!p.isWritable())
                fail(line, QStringLiteral("Property %1 cannot be set").arg(name));
            if (v.kind != DefinitionValue::Identifier)
                fail(line, QStringLiteral("Invalid value for %1: %2").arg(name, valueText(v)));
            m_references.append({object, QString::fromLatin1(p.name()), v.text, line});
            return;
        }
        if (!p.isWritable())
            fail(line, QStringLiteral("Property %1 cannot be set").arg(name));
        if (!p.write(object, ToVariant(*object, p, v, line, name)))
            fail(line, QStringLiteral("Invalid value for %1: %2").arg(name, valueText(v)));
    }

    static void SetValues(TBRUnitBase& unit, const DefinitionValue& v, int line, const QString& name)
    {
        if (v.kind != DefinitionValue::List)
            fail(line, QStringLiteral("Invalid value for %1: a list was expected").arg(name));
        QStringList items;
        for (const DefinitionValue& item : v.list) {
            if (!item.IsNumber())
                fail(line, QStringLiteral("Invalid value for %1: %2").arg(name, valueText(item)));
            // The digits as written: a double would lose the last of 16.
            if (!(std::fabs(item.number) <= kMaxLength))
                fail(line, QStringLiteral("Invalid value for %1: %2 is out of range").arg(name, valueText(item)));
            if (item.number < 0 && !mayBeNegative(unit, int(items.size())))
                fail(line, QStringLiteral("Invalid value for %1: %2 is negative, and a size cannot be")
                               .arg(name, valueText(item)));
            items << (item.literal.isEmpty() ? QString::number(item.number, 'g', 17) : item.literal);
        }
        try {
            unit.LoadValues(TBRUnitBase::ParseValues(u'(' + items.join(u' ') + u')'));
        } catch (const PlatformError& e) {
            fail(line, e.Message());
        }
    }

    static QVariant ToVariant(const QObject& object, const QMetaProperty& p, const DefinitionValue& v, int line,
                              const QString& name)
    {
        const QString prop = QString::fromLatin1(p.name());
        auto bad = [&]() { fail(line, QStringLiteral("Invalid value for %1: %2").arg(name, valueText(v))); };
        auto negative = [&]() {
            fail(line, QStringLiteral("Invalid value for %1: %2 is negative, and a size cannot be").arg(name, valueText(v)));
        };
        switch (p.metaType().id()) {
        case QMetaType::Bool:
            if (v.kind != DefinitionValue::Identifier
                || (v.text.compare(QLatin1String("True"), Qt::CaseInsensitive) != 0
                    && v.text.compare(QLatin1String("False"), Qt::CaseInsensitive) != 0))
                bad();
            return v.ToBool();
        case QMetaType::Int: {
            const QStringList enums = brp::EnumNames(object, prop);
            if (!enums.isEmpty()) {
                if (v.kind != DefinitionValue::Identifier)
                    bad();
                for (int i = 0; i < enums.size(); ++i)
                    if (enums[i].compare(v.text, Qt::CaseInsensitive) == 0)
                        return i;
                bad();
            }
            const QStringList sets = brp::SetNames(object, prop);
            if (!sets.isEmpty()) {
                if (v.kind != DefinitionValue::Set)
                    bad();
                int bits = 0;
                for (const QString& member : v.set) {
                    int i = 0;
                    while (i < sets.size() && sets[i].compare(member, Qt::CaseInsensitive) != 0)
                        ++i;
                    if (i == sets.size())
                        fail(line, QStringLiteral("Invalid value for %1: %2").arg(name, member));
                    bits |= 1 << i;
                }
                return bits;
            }
            if (v.kind != DefinitionValue::Integer || v.integer < std::numeric_limits<int>::min()
                || v.integer > std::numeric_limits<int>::max())
                bad();
            if (isPixelBound(prop) && (v.integer < -BRMaxPixels || v.integer > BRMaxPixels))
                bad();
            if (isPixelBound(prop) && v.integer < 0 && isSizeProperty(object, prop))
                negative();
            return int(v.integer);
        }
        case QMetaType::UInt:
            return Color(v, line, name);
        case QMetaType::Double:
            if (!v.IsNumber() || !(std::fabs(v.number) <= kMaxLength))
                bad();
            if (v.number < 0 && qobject_cast<const TBRUnitBase*>(&object) && isSizeProperty(object, prop))
                negative();
            return v.number;
        case QMetaType::QString:
            if (v.kind != DefinitionValue::String)
                bad();
            return v.text;
        case QMetaType::QStringList:
            return stringList(v, line, name);
        default:
            fail(line, QStringLiteral("Property %1 cannot be set from a definition").arg(name));
        }
    }

    // The owner, else the first of its descendants with that name (letter
    // case aside), from an index made once: searching the whole tree for each
    // reference made long reports quadratic.
    QObject* FindByName(const QString& name)
    {
        if (!m_namesIndexed) {
            QObject* root = ComponentOwner();
            m_names.insert(root->objectName().toCaseFolded(), root);
            const auto all = root->findChildren<QObject*>();
            for (QObject* o : all) {
                const QString key = o->objectName().toCaseFolded();
                if (!m_names.contains(key)) // the first keeps the name
                    m_names.insert(key, o);
            }
            m_namesIndexed = true;
        }
        const auto it = m_names.constFind(name.toCaseFolded());
        return it != m_names.constEnd() ? it->data() : nullptr;
    }

    // The link or parent a band's reference set, for the circle check.
    static QObject* LinkOf(const QObject* object, const QString& property)
    {
        if (property == QLatin1String("LinkBand"))
            if (const auto* band = qobject_cast<const TBRCustomBand*>(object))
                return band->LinkBand();
        if (property == QLatin1String("ParentBand"))
            if (const auto* child = qobject_cast<const TBRChildBand*>(object))
                return child->ParentBand();
        return nullptr;
    }

    // Bands take their links and parents unchecked while they load; a circle
    // of either is refused here, in one pass over each kind. Of all circles,
    // the one closed first while reading is named, at the reference that
    // closed it: the one a band would have refused itself.
    void RefuseCircles() const
    {
        qsizetype closing = -1;
        for (const char* property : {"LinkBand", "ParentBand"}) {
            const QString name = QString::fromLatin1(property);
            QHash<const QObject*, qsizetype> referenceOf; // the band's reference, by index
            QList<const QObject*> starts;
            for (qsizetype i = 0; i < m_references.size(); ++i)
                if (m_references[i].object && m_references[i].property == name) {
                    referenceOf.insert(m_references[i].object.data(), i);
                    starts.append(m_references[i].object.data());
                }
            QHash<const QObject*, qsizetype> walkOf; // which walk reached a band first
            for (qsizetype walk = 0; walk < starts.size(); ++walk) {
                QList<const QObject*> path;
                const QObject* at = starts[walk];
                while (at && !walkOf.contains(at)) {
                    walkOf.insert(at, walk);
                    path.append(at);
                    at = LinkOf(at, name);
                }
                if (!at || walkOf.value(at) != walk)
                    continue;
                // A circle, from `at` round to the end of the path: it closed
                // with the last of its references read.
                qsizetype last = -1;
                for (qsizetype i = path.indexOf(at); i < path.size(); ++i)
                    last = std::max(last, referenceOf.value(path[i], -1));
                if (last >= 0 && (closing < 0 || last < closing))
                    closing = last;
            }
        }
        if (closing < 0)
            return;
        const Reference& r = m_references[closing];
        fail(r.line, QStringLiteral("Invalid value for %1: %2 (a circular link, or not allowed here)")
                         .arg(r.property, r.target));
    }

    void ResolveReferences()
    {
        for (const Reference& r : std::as_const(m_references)) {
            if (!r.object)
                continue;
            QObject* target = FindByName(r.target);
            if (!target)
                fail(r.line, QStringLiteral("%1 names %2, which does not exist").arg(r.property, r.target));
            const QMetaProperty p = r.object->metaObject()->property(findProperty(r.object->metaObject(), r.property));
            const QMetaObject* wanted = p.metaType().metaObject();
            if (wanted && !target->metaObject()->inherits(wanted))
                fail(r.line, QStringLiteral("Invalid value for %1: %2 is no %3")
                                 .arg(r.property, r.target, QString::fromLatin1(wanted->className())));
            const QVariant value = QVariant::fromValue(target);
            QVariant typed = value;
            typed.convert(p.metaType());
            if (!p.write(r.object, typed) || p.read(r.object).value<QObject*>() != target)
                fail(r.line, QStringLiteral("Invalid value for %1: %2 (a circular link, or not allowed here)")
                                 .arg(r.property, r.target));
        }
    }

    void CleanUp()
    {
        // The report frees what is placed on it; the rest goes one by one.
        QList<QPointer<TComponent>> created = m_created;
        if (m_report)
            delete m_report.data();
        for (qsizetype i = created.size() - 1; i >= 0; --i)
            delete created[i].data();
    }

    QObject* m_owner;
    const BRReportReader::EventBinder& m_bind;
    QPointer<TCustomBandReport> m_report;
    QList<QPointer<TComponent>> m_created;
    QList<Reference> m_references;
    QHash<QString, QPointer<QObject>> m_names;
    bool m_namesIndexed = false;
};

} // namespace

TCustomBandReport* BRReportReader::Read(const DefinitionObject& definition, QObject* owner, const EventBinder& bindEvent)
{
    brp::RegisterReportModelClasses();
    Reader reader(owner, bindEvent);
    return reader.Read(definition);
}

TCustomBandReport* BRReportReader::ReadText(const QString& text, QObject* owner)
{
    return Read(brp::ReadDefinition(text), owner);
}

const DefinitionObject* BRReportReader::FindReport(const DefinitionObject& window, const QString& name)
{
    brp::RegisterReportModelClasses();
    const bool nameMatches = name.isEmpty() || window.name.compare(name, Qt::CaseInsensitive) == 0;
    if (nameMatches && window.className.compare(QLatin1String("TBandReport"), Qt::CaseInsensitive) == 0)
        return &window;
    for (const DefinitionObject& child : window.children)
        if (const DefinitionObject* found = FindReport(child, name))
            return found;
    return nullptr;
}
