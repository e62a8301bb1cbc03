#include "FormBuilder.h"

#include "ClassRegistry.h"
#include "TMaskEdit.h"
#include "TStatusBar.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMetaEnum>
#include <QMetaProperty>
#include <QPushButton>
#include <QStyle>
#include <QStyleFactory>
#include <algorithm>
#include <limits>
#include <map>
#include <mutex>

namespace {

[[noreturn]] void Fail(const QString& text)
{
    throw PlatformError(text);
}

QString ValueText(const DefinitionValue& v)
{
    switch (v.kind) {
    case DefinitionValue::String:
    case DefinitionValue::Identifier: return v.text;
    case DefinitionValue::Integer: return QString::number(v.integer);
    case DefinitionValue::Float: return QString::number(v.number);
    default: return QStringLiteral("(...)");
    }
}

int Int(const DefinitionValue& v, const QString& name)
{
    // Out of range would come out as some other number.
    if (v.kind != DefinitionValue::Integer || v.integer < std::numeric_limits<int>::min()
        || v.integer > std::numeric_limits<int>::max())
        Fail(QStringLiteral("Invalid value for %1: %2").arg(name, ValueText(v)));
    return static_cast<int>(v.integer);
}

bool Bool(const DefinitionValue& v, const QString& name)
{
    if (v.kind != DefinitionValue::Identifier ||
        (v.text.compare(QLatin1String("True"), Qt::CaseInsensitive) != 0 &&
         v.text.compare(QLatin1String("False"), Qt::CaseInsensitive) != 0))
        Fail(QStringLiteral("Invalid value for %1: %2").arg(name, ValueText(v)));
    return v.ToBool();
}

// Font sub-properties; colours and character sets keep the platform's.
void SetFontProperty(QFont& font, const QString& sub, const DefinitionValue& v)
{
    if (sub.compare(QLatin1String("Name"), Qt::CaseInsensitive) == 0) {
        font.setFamily(ValueText(v));
    } else if (sub.compare(QLatin1String("Height"), Qt::CaseInsensitive) == 0) {
        // Negative: character height in pixels; positive: cell height.
        const int h = Int(v, sub);
        if (h < 0)
            font.setPixelSize(-h);
        else if (h > 0)
            font.setPixelSize(std::max(1, h * 4 / 5));
    } else if (sub.compare(QLatin1String("Size"), Qt::CaseInsensitive) == 0) {
        font.setPointSize(Int(v, sub));
    } else if (sub.compare(QLatin1String("Style"), Qt::CaseInsensitive) == 0) {
        if (v.kind != DefinitionValue::Set)
            Fail(QStringLiteral("Invalid value for Font.Style"));
        font.setBold(v.set.contains(QStringLiteral("fsBold"), Qt::CaseInsensitive));
        font.setItalic(v.set.contains(QStringLiteral("fsItalic"), Qt::CaseInsensitive));
        font.setUnderline(v.set.contains(QStringLiteral("fsUnderline"), Qt::CaseInsensitive));
        font.setStrikeOut(v.set.contains(QStringLiteral("fsStrikeOut"), Qt::CaseInsensitive));
    } else if (sub.compare(QLatin1String("Color"), Qt::CaseInsensitive) != 0 &&
               sub.compare(QLatin1String("Charset"), Qt::CaseInsensitive) != 0 &&
               sub.compare(QLatin1String("Pitch"), Qt::CaseInsensitive) != 0) {
        Fail(QStringLiteral("Property Font.%1 does not exist").arg(sub));
    }
}

QVariant ItemValue(const DefinitionValue& v, const QString& name)
{
    switch (v.kind) {
    case DefinitionValue::String:
    case DefinitionValue::Identifier: return v.text;
    case DefinitionValue::Integer: return v.integer;
    case DefinitionValue::Float: return v.number;
    case DefinitionValue::Set: return v.set;
    case DefinitionValue::List: {
        QStringList lines;
        for (const auto& item : v.list)
            lines << ValueText(item);
        return lines;
    }
    default: Fail(QStringLiteral("Invalid value for %1").arg(name));
    }
}

int FindProperty(const QMetaObject* meta, const QString& name)
{
    const int exact = meta->indexOfProperty(name.toLatin1().constData());
    if (exact >= 0)
        return exact;
    // The most derived class first: its names are the published ones.
    for (int i = meta->propertyCount() - 1; i >= 0; --i)
        if (QString::fromLatin1(meta->property(i).name()).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QVariant ToVariant(const QMetaProperty& p, const DefinitionValue& v, const QString& name)
{
    if (p.isEnumType()) {
        if (v.kind != DefinitionValue::Identifier)
            Fail(QStringLiteral("Invalid value for %1: %2").arg(name, ValueText(v)));
        bool ok = false;
        const int value = p.enumerator().keyToValue(v.text.toLatin1().constData(), &ok);
        if (!ok)
            Fail(QStringLiteral("Invalid value for %1: %2").arg(name, v.text));
        return value;
    }
    switch (p.metaType().id()) {
    case QMetaType::Bool: return Bool(v, name);
    case QMetaType::Int:
    case QMetaType::LongLong: return Int(v, name);
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::UChar: {
        // The property would keep only the low bits of a larger number.
        const int x = Int(v, name);
        const int id = p.metaType().id();
        const bool fits = id == QMetaType::Short ? (x >= -32768 && x <= 32767)
                        : id == QMetaType::UShort ? (x >= 0 && x <= 65535)
                                                  : (x >= 0 && x <= 255);
        if (!fits)
            Fail(QStringLiteral("Invalid value for %1: %2").arg(name, ValueText(v)));
        return x;
    }
    case QMetaType::Double:
        if (!v.IsNumber())
            Fail(QStringLiteral("Invalid value for %1: %2").arg(name, ValueText(v)));
        return v.number;
    case QMetaType::QString:
        if (v.kind != DefinitionValue::String)
            Fail(QStringLiteral("Invalid value for %1: %2").arg(name, ValueText(v)));
        return v.text;
    case QMetaType::QStringList: {
        if (v.kind != DefinitionValue::List)
            Fail(QStringLiteral("Invalid value for %1: %2").arg(name, ValueText(v)));
        QStringList lines;
        for (const auto& item : v.list)
            lines << ValueText(item);
        return lines;
    }
    case QMetaType::QVariantList: {
        // Collection items as maps of property name to value; what the
        // names mean is up to the object.
        if (v.kind != DefinitionValue::Collection)
            Fail(QStringLiteral("Invalid value for %1: %2").arg(name, ValueText(v)));
        QVariantList items;
        for (const auto& item : v.items) {
            QVariantMap properties;
            for (const auto& ip : item.properties)
                properties.insert(ip.name, ItemValue(*ip.value, name + QLatin1Char('.') + ip.name));
            items << properties;
        }
        return items;
    }
    default: Fail(QStringLiteral("Property %1 cannot be set from a definition").arg(name));
    }
}

// Look and place of any control; true when `name` was one of these.
bool SetControlProperty(QWidget* w, const QString& name, const DefinitionValue& v, const FormBuilderHooks& hooks)
{
    auto is = [&](const char* n) { return name.compare(QLatin1String(n), Qt::CaseInsensitive) == 0; };
    QRect r = w->geometry();
    if (is("Left")) {
        r.moveLeft(Int(v, name));
    } else if (is("Top")) {
        r.moveTop(Int(v, name));
    } else if (is("Width")) {
        r.setWidth(Int(v, name));
    } else if (is("Height")) {
        r.setHeight(Int(v, name));
    } else if (is("Caption")) {
        if (auto* l = qobject_cast<QLabel*>(w))
            l->setText(ValueText(v));
        else if (auto* b = qobject_cast<QAbstractButton*>(w))
            b->setText(ValueText(v));
        else if (auto* g = qobject_cast<QGroupBox*>(w))
            g->setTitle(ValueText(v));
        else
            w->setWindowTitle(ValueText(v));
        return true;
    } else if (is("TabOrder")) {
        w->setProperty("_tabOrder", Int(v, name));
        return true;
    } else if (is("TabStop")) {
        w->setFocusPolicy(Bool(v, name) ? Qt::StrongFocus : Qt::ClickFocus);
        return true;
    } else if (name.startsWith(QLatin1String("Font."), Qt::CaseInsensitive)) {
        QFont f = w->font();
        SetFontProperty(f, name.mid(5), v);
        w->setFont(f);
        return true;
    } else if (is("Color") || is("ParentFont") || is("ParentColor") || is("SimplePanel") || is("AutoSize")) {
        return true; // the toolkit's colours
    } else if (is("Glyph.Resource")) {
        if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            if (hooks.picture)
                b->setIcon(hooks.picture(ValueText(v)));
            b->setIconSize(QSize(16, 16));
            return true;
        }
        return false;
    } else if (is("Panels")) {
        auto* bar = qobject_cast<TStatusBar*>(w);
        if (!bar || v.kind != DefinitionValue::Collection)
            return false;
        for (const auto& item : v.items) {
            int width = 50;
            for (const auto& p : item.properties)
                if (p.name.compare(QLatin1String("Width"), Qt::CaseInsensitive) == 0)
                    width = Int(*p.value, p.name);
            bar->AddPanel(width);
        }
        return true;
    } else {
        return false;
    }
    w->setGeometry(r);
    return true;
}

void ApplyProperties(QObject* object, const DefinitionObject& def, const FormBuilderHooks& hooks)
{
    auto* widget = qobject_cast<QWidget*>(object);
    for (const auto& p : def.properties) {
        const DefinitionValue& v = *p.value;
        if (p.name.startsWith(QLatin1String("On"), Qt::CaseSensitive) && v.kind == DefinitionValue::Identifier) {
            if (hooks.bindEvent)
                hooks.bindEvent(object, p.name, v.text);
            continue;
        }
        if (widget) {
            if (SetControlProperty(widget, p.name, v, hooks))
                continue;
        } else if ((p.name.compare(QLatin1String("Left"), Qt::CaseInsensitive) == 0 ||
                    p.name.compare(QLatin1String("Top"), Qt::CaseInsensitive) == 0) &&
                   FindProperty(object->metaObject(), p.name) < 0) {
            continue; // where a non-visual component sat in the designer
        }
        FormBuilder::SetProperty(object, p.name, v);
    }
}

void BuildChildren(QWidget* form, QObject* parent, const DefinitionObject& def, const FormBuilderHooks& hooks)
{
    for (const auto& child : def.children) {
        if (hooks.buildObject && hooks.buildObject(parent, child))
            continue;
        const ClassFactory factory = brp::FindClass(child.className);
        if (!factory)
            Fail(QStringLiteral("Class %1 not found").arg(child.className));
        // A component its factory gave no owner belongs to the window.
        QObject* object = factory(parent);
        if (!object)
            Fail(QStringLiteral("Class %1 not found").arg(child.className));
        if (!object->parent())
            object->setParent(form);
        object->setObjectName(child.name);
        ApplyProperties(object, child, hooks);
        if (auto* label = qobject_cast<QLabel*>(object)) {
            // Labels size themselves to their text, so a font a little wider
            // than the designed one does not cut the caption.
            const DefinitionValue* autoSize = child.Find(QStringLiteral("AutoSize"));
            if (!autoSize || autoSize->ToBool())
                label->resize(std::max(label->width(), label->sizeHint().width()), label->height());
        }
        if (auto* w = qobject_cast<QWidget*>(object))
            BuildChildren(form, w, child, hooks);
        else if (!child.children.isEmpty())
            BuildChildren(form, object, child, hooks);
    }
}

// Tab order within each parent, then the parents' chains one after the
// other in the parents' own order.
void ApplyTabOrder(QWidget* container, QList<QWidget*>& chain)
{
    std::multimap<int, QWidget*> ordered;
    for (QObject* o : container->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (w && w->property("_tabOrder").isValid())
            ordered.emplace(w->property("_tabOrder").toInt(), w);
    }
    for (const auto& [order, w] : ordered) {
        if (w->focusPolicy() & Qt::TabFocus)
            chain.append(w);
        ApplyTabOrder(w, chain);
    }
}

} // namespace

void FormBuilder::RegisterStandardControls()
{
    static std::once_flag once;
    std::call_once(once, [] {
        auto widgetParent = [](QObject* parent) { return qobject_cast<QWidget*>(parent); };
        brp::RegisterClass(QStringLiteral("TLabel"), [=](QObject* p) { return new QLabel(widgetParent(p)); });
        brp::RegisterClass(QStringLiteral("TMaskEdit"), [=](QObject* p) { return new TMaskEdit(widgetParent(p)); });
        auto button = [=](QObject* p) {
            auto* b = new QPushButton(widgetParent(p));
            b->setAutoDefault(false);
            return b;
        };
        brp::RegisterClass(QStringLiteral("TBitBtn"), button);
        brp::RegisterClass(QStringLiteral("TButton"), button);
        brp::RegisterClass(QStringLiteral("TGroupBox"), [=](QObject* p) {
            auto* g = new QGroupBox(widgetParent(p));
            g->setFocusPolicy(Qt::NoFocus);
            // Designed boxes put their controls 14 or 15 pixels down: that
            // needs the caption drawn on the frame line, not above it.
            if (QStyle* classic = QStyleFactory::create(QStringLiteral("Windows"))) {
                classic->setParent(g);
                g->setStyle(classic);
            }
            return g;
        });
        brp::RegisterClass(QStringLiteral("TCheckBox"), [=](QObject* p) { return new QCheckBox(widgetParent(p)); });
        brp::RegisterClass(QStringLiteral("TStatusBar"), [=](QObject* p) {
            auto* s = new TStatusBar(widgetParent(p));
            s->setFocusPolicy(Qt::NoFocus);
            return s;
        });
    });
}

void FormBuilder::SetProperty(QObject* object, const QString& name, const DefinitionValue& value)
{
    const qsizetype dot = name.indexOf(u'.');
    const QMetaObject* meta = object->metaObject();
    const int index = FindProperty(meta, dot < 0 ? name : name.left(dot));
    if (index < 0)
        Fail(QStringLiteral("Property %1 does not exist").arg(name));
    const QMetaProperty p = meta->property(index);
    if (dot >= 0) {
        const QString rest = name.mid(dot + 1);
        if (p.metaType().id() == QMetaType::QStringList && rest.compare(QLatin1String("Strings"), Qt::CaseInsensitive) == 0) {
            // "SQL.Strings = ( ... )": the lines of a string list.
            if (!p.isWritable() || !p.write(object, ToVariant(p, value, name)))
                Fail(QStringLiteral("Property %1 is read-only").arg(name));
            return;
        }
        if (p.metaType().id() == QMetaType::QFont) {
            QFont font = p.read(object).value<QFont>();
            SetFontProperty(font, rest, value);
            if (!p.write(object, font))
                Fail(QStringLiteral("Property %1 is read-only").arg(name));
            return;
        }
        QObject* sub = p.read(object).value<QObject*>();
        if (!sub)
            Fail(QStringLiteral("Property %1 does not exist").arg(name));
        SetProperty(sub, rest, value);
        return;
    }
    if (!p.isWritable())
        Fail(QStringLiteral("Property %1 is read-only").arg(name));
    if (!p.write(object, ToVariant(p, value, name)))
        Fail(QStringLiteral("Invalid value for %1: %2").arg(name, ValueText(value)));
}

QHash<QString, DefinitionValue> FormBuilder::Build(QWidget* form, const DefinitionObject& definition,
                                                   const FormBuilderHooks& hooks)
{
    RegisterStandardControls();
    QHash<QString, DefinitionValue> own;
    for (const auto& p : definition.properties) {
        const DefinitionValue& v = *p.value;
        auto is = [&](const char* n) { return p.name.compare(QLatin1String(n), Qt::CaseInsensitive) == 0; };
        if (p.name.startsWith(QLatin1String("On")) && v.kind == DefinitionValue::Identifier) {
            if (hooks.bindEvent)
                hooks.bindEvent(form, p.name, v.text);
        } else if (is("Caption")) {
            form->setWindowTitle(ValueText(v));
        } else if (is("ClientWidth")) {
            form->resize(Int(v, p.name), form->height());
        } else if (is("ClientHeight")) {
            form->resize(form->width(), Int(v, p.name));
        } else if (p.name.startsWith(QLatin1String("Font."), Qt::CaseInsensitive)) {
            QFont f = form->font();
            SetFontProperty(f, p.name.mid(5), v);
            form->setFont(f);
        } else if (is("Color")) {
            // the toolkit's window colour is the button face
        } else {
            own.insert(p.name, v);
        }
    }
    BuildChildren(form, form, definition, hooks);
    QList<QWidget*> chain;
    ApplyTabOrder(form, chain);
    for (qsizetype i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
    return own;
}
