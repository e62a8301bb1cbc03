#pragma once
// Creates a window's controls and components from its definition and sets
// their properties by name.

#include "DefinitionReader.h"

#include <QHash>
#include <QIcon>
#include <functional>

class QWidget;

struct FormBuilderHooks {
    // Binds an event of a control ("OnClick", "OnExit", ...) to the handler
    // the definition names; the window itself is passed for its own events.
    std::function<void(QObject* object, const QString& event, const QString& handler)> bindEvent;
    // Picture named by a button's "Glyph.Resource".
    std::function<QIcon(const QString& name)> picture;
    // Builds a child object itself (a component with its own reading rules)
    // and answers true, or answers false to leave it to the builder.
    std::function<bool(QObject* parent, const DefinitionObject& object)> buildObject;
};

class FormBuilder {
public:
    // Controls (TLabel, TMaskEdit, TBitBtn, TButton, TGroupBox, TCheckBox,
    // TStatusBar); done once, on first use of Build.
    static void RegisterStandardControls();

    // Builds `definition` onto `form`. The window's own properties that are
    // not about its look (KeyPreview, Position, ...) are returned for the
    // window to act on. Fails with PlatformError on an unknown class or
    // property, or on a bad value.
    static QHash<QString, DefinitionValue> Build(QWidget* form, const DefinitionObject& definition,
                                                 const FormBuilderHooks& hooks);

    // Sets one property by name on any object: Q_PROPERTYs (case-insensitive,
    // enumerations by name), dotted sub-objects ("HeaderData.FirstPage"),
    // fonts ("Font.Name", "Windows.Font.Height"), string lists as
    // "Name.Strings = ( 'a' 'b' )" and collections "< item ... end >" as a
    // QVariantList of one QVariantMap per item.
    static void SetProperty(QObject* object, const QString& name, const DefinitionValue& value);
};
