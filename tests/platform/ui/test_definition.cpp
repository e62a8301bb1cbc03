// Window definitions: reading the text and building controls from it.
#include "DefinitionReader.h"
#include "FormBuilder.h"
#include "TMaskEdit.h"
#include "TStatusBar.h"

#include "ClassRegistry.h"
#include "PropertyKindsComponents.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

TEST(DefinitionReader, ReadsEveryKindOfValue)
{
    const QString text = QStringLiteral(
        "object Form1: TForm1\n"
        "  Caption = 'It''s '#233't'\n"
        "  Hint = 'first line' +\n"
        "    ' second'#13#10\n"
        "  Font.Height = -11\n"
        "  Mask = $FF\n"
        "  Ratio = 2.5\n"
        "  Active = True\n"
        "  Style = [fsBold, fsItalic]\n"
        "  None = []\n"
        "  Lines.Strings = (\n"
        "    'one'\n"
        "    'two')\n"
        "  Glyph.Data = {0A0b FF}\n"
        "  Panels = <\n"
        "    item\n"
        "      Width = 50\n"
        "    end\n"
        "    item\n"
        "      Text = 'x'\n"
        "    end>\n"
        "  object Child: TLabel\n"
        "    Caption = ''\n"
        "    object Grand: TThing\n"
        "    end\n"
        "  end\n"
        "  inherited Base: TBase\n"
        "  end\n"
        "end\n");
    const DefinitionObject o = brp::ReadDefinition(text);
    EXPECT_EQ(o.name, QStringLiteral("Form1"));
    EXPECT_EQ(o.className, QStringLiteral("TForm1"));
    EXPECT_EQ(o.Find(QStringLiteral("caption"))->text, QStringLiteral("It's ét"));
    EXPECT_EQ(o.Find(QStringLiteral("Hint"))->text, QStringLiteral("first line second\r\n"));
    EXPECT_EQ(o.Find(QStringLiteral("Font.Height"))->integer, -11);
    EXPECT_EQ(o.Find(QStringLiteral("Mask"))->integer, 255);
    EXPECT_EQ(o.Find(QStringLiteral("Ratio"))->kind, DefinitionValue::Float);
    EXPECT_DOUBLE_EQ(o.Find(QStringLiteral("Ratio"))->number, 2.5);
    EXPECT_TRUE(o.Find(QStringLiteral("Active"))->ToBool());
    EXPECT_EQ(o.Find(QStringLiteral("Style"))->set, (QStringList{QStringLiteral("fsBold"), QStringLiteral("fsItalic")}));
    EXPECT_EQ(o.Find(QStringLiteral("None"))->kind, DefinitionValue::Set);
    EXPECT_TRUE(o.Find(QStringLiteral("None"))->set.isEmpty());
    ASSERT_EQ(o.Find(QStringLiteral("Lines.Strings"))->list.size(), 2);
    EXPECT_EQ(o.Find(QStringLiteral("Lines.Strings"))->list[1].text, QStringLiteral("two"));
    EXPECT_EQ(o.Find(QStringLiteral("Glyph.Data"))->binary, QByteArray("\x0a\x0b\xff", 3));
    const auto& items = o.Find(QStringLiteral("Panels"))->items;
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0].properties[0].value->integer, 50);
    EXPECT_EQ(items[1].properties[0].value->text, QStringLiteral("x"));
    ASSERT_EQ(o.children.size(), 2);
    EXPECT_EQ(o.children[0].Find(QStringLiteral("Caption"))->text, QString());
    EXPECT_EQ(o.children[0].children[0].className, QStringLiteral("TThing"));
    EXPECT_TRUE(o.children[1].inherited);
    EXPECT_EQ(o.Find(QStringLiteral("Missing")), nullptr);
}

TEST(FormBuilder, AHookMayBuildAnObjectItself)
{
    const char* text = "object F: TF\n"
                       "  object R: TNotRegistered\n"
                       "    Anything = 1\n"
                       "  end\n"
                       "end\n";
    QWidget form;
    FormBuilderHooks hooks;
    QStringList built;
    hooks.buildObject = [&](QObject* parent, const DefinitionObject& o) {
        EXPECT_EQ(parent, &form);
        built << o.name + QStringLiteral(":%1").arg(o.line);
        return o.className == QLatin1String("TNotRegistered");
    };
    FormBuilder::Build(&form, brp::ReadDefinition(QString::fromUtf8(text)), hooks);
    EXPECT_EQ(built, QStringList{QStringLiteral("R:2")});
}

TEST(DefinitionReader, BadTextFailsWithTheLine)
{
    const struct {
        const char* text;
        int line;
    } cases[] = {
        {"object A: TA\n  X = 1\n", 3},                 // no end
        {"object A: TA\n  X = 'open\nend\n", 2},        // string not closed
        {"object A: TA\n  X = @\nend\n", 2},            // not a value
        {"object A: TA\n  X = [a b]\nend\n", 2},        // set without comma
        {"object A: TA\n  X 1\nend\n", 2},              // no '='
        {"object A: TA\nend\nextra", 3},                 // text after the end
        {"thing A: TA\nend\n", 1},
        {"object A: TA\n  X = {ABC}\nend\n", 2},        // odd hex digits
        {"object A: TA\n  X = {A\u00e9}\nend\n", 2},    // a letter beyond ASCII in binary data
        {"object A: TA\n  X = 'a' +\n  1\nend\n", 3},   // '+' not followed by text
        {"", 1},
    };
    for (const auto& c : cases) {
        try {
            brp::ReadDefinition(QString::fromUtf8(c.text));
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const EParserError& e) {
            EXPECT_TRUE(e.Message().contains(QStringLiteral("line %1:").arg(c.line))) << e.what();
        }
    }
}

const char* const kForm = R"(object Janela: TJanela
  Caption = 'Janela de teste'
  ClientWidth = 200
  ClientHeight = 100
  Font.Height = -11
  Font.Name = 'Liberation Sans'
  KeyPreview = True
  OnCreate = FormCreate
  object Rotulo: TLabel
    Left = 4
    Top = 5
    Width = 10
    Height = 13
    Caption = 'Data'
  end
  object Campo: TMaskEdit
    Left = 60
    Top = 2
    Width = 65
    Height = 21
    CharCase = ecUpperCase
    EditMask = '!99/99/9999;1;_'
    MaxLength = 10
    TabOrder = 1
    Text = '15/03/    '
    OnExit = CampoExit
  end
  object Botao: TBitBtn
    Left = 130
    Top = 2
    Width = 60
    Height = 25
    Caption = '&Ok'
    TabOrder = 0
    OnClick = BotaoClick
    Glyph.Resource = 'ok'
  end
  object Grupo: TGroupBox
    Left = 4
    Top = 30
    Width = 190
    Height = 40
    Caption = 'Grupo'
    TabOrder = 2
    object B: TCheckBox
      Left = 100
      Top = 15
      Width = 60
      Height = 13
      Caption = 'B'
      Checked = True
      TabOrder = 1
    end
    object A: TCheckBox
      Left = 10
      Top = 15
      Width = 60
      Height = 13
      Caption = 'A'
      TabOrder = 0
    end
  end
  object Barra: TStatusBar
    Left = 0
    Top = 81
    Width = 200
    Height = 19
    Panels = <
      item
        Width = 50
      end
      item
        Width = 70
      end>
  end
end
)";

TEST(FormBuilder, BuildsControlsBindsEventsAndOrdersTabs)
{
    QWidget form;
    QStringList events;
    QStringList pictures;
    FormBuilderHooks hooks;
    hooks.bindEvent = [&](QObject* o, const QString& e, const QString& h) {
        events << (o->objectName().isEmpty() ? QStringLiteral("form") : o->objectName()) + QStringLiteral(".") + e + QStringLiteral("=") + h;
    };
    hooks.picture = [&](const QString& name) {
        pictures << name;
        QPixmap p(16, 16);
        p.fill(Qt::red);
        return QIcon(p);
    };
    const auto own = FormBuilder::Build(&form, brp::ReadDefinition(QString::fromUtf8(kForm)), hooks);

    EXPECT_EQ(form.windowTitle(), QStringLiteral("Janela de teste"));
    EXPECT_EQ(form.size(), QSize(200, 100));
    EXPECT_EQ(form.font().pixelSize(), 11);
    EXPECT_TRUE(own.value(QStringLiteral("KeyPreview")).ToBool());
    EXPECT_EQ(events, (QStringList{QStringLiteral("form.OnCreate=FormCreate"), QStringLiteral("Campo.OnExit=CampoExit"), QStringLiteral("Botao.OnClick=BotaoClick")}));
    EXPECT_EQ(pictures, QStringList{QStringLiteral("ok")});

    auto* rotulo = form.findChild<QLabel*>(QStringLiteral("Rotulo"));
    ASSERT_TRUE(rotulo);
    EXPECT_EQ(rotulo->text(), QStringLiteral("Data"));
    EXPECT_EQ(rotulo->pos(), QPoint(4, 5));
    EXPECT_GE(rotulo->width(), rotulo->sizeHint().width()); // grew to its text

    auto* campo = form.findChild<TMaskEdit*>(QStringLiteral("Campo"));
    ASSERT_TRUE(campo);
    EXPECT_EQ(campo->geometry(), QRect(60, 2, 65, 21));
    EXPECT_EQ(campo->Text(), QStringLiteral("15/03/    "));
    EXPECT_EQ(campo->maxLength(), 10);
    EXPECT_EQ(campo->CharCase(), TMaskEdit::ecUpperCase);

    auto* botao = form.findChild<QPushButton*>(QStringLiteral("Botao"));
    ASSERT_TRUE(botao);
    EXPECT_EQ(botao->text(), QStringLiteral("&Ok"));
    EXPECT_FALSE(botao->icon().isNull());

    auto* grupo = form.findChild<QGroupBox*>(QStringLiteral("Grupo"));
    auto* a = form.findChild<QCheckBox*>(QStringLiteral("A"));
    auto* b = form.findChild<QCheckBox*>(QStringLiteral("B"));
    ASSERT_TRUE(grupo && a && b);
    EXPECT_EQ(a->parentWidget(), grupo);
    EXPECT_TRUE(b->isChecked());

    auto* barra = form.findChild<TStatusBar*>(QStringLiteral("Barra"));
    ASSERT_TRUE(barra);
    EXPECT_EQ(barra->PanelCount(), 2);
    EXPECT_EQ(barra->PanelWidth(1), 70);

    // Tab order by TabOrder within each parent, nested parents in place.
    QList<QWidget*> chain;
    QWidget* w = botao;
    for (int i = 0; i < 4; ++i) {
        chain << w;
        w = w->nextInFocusChain();
        while (!(w->focusPolicy() & Qt::TabFocus))
            w = w->nextInFocusChain();
    }
    EXPECT_EQ(chain, (QList<QWidget*>{botao, campo, a, b}));
}

TEST(FormBuilder, ComponentsKeepTheOwnerTheirFactoryGaveThem)
{
    brp::RegisterClass(QStringLiteral("SubComponentHolder"), [](QObject*) -> QObject* { return new SubComponentHolder; });
    brp::RegisterClass(QStringLiteral("PropertyKindsComponent"), [](QObject* parent) -> QObject* { return new PropertyKindsComponent(parent); });
    const char* text = "object F: TF\n"
                       "  object H: SubComponentHolder\n"
                       "    Left = 300\n"
                       "    Part.Left = 7\n"
                       "    object P: PropertyKindsComponent\n"
                       "      Left = 12\n"
                       "      Items = ('a' 'b')\n"
                       "    end\n"
                       "  end\n"
                       "end\n";
    QWidget form;
    FormBuilder::Build(&form, brp::ReadDefinition(QString::fromUtf8(text)), {});
    auto* holder = form.findChild<SubComponentHolder*>(QStringLiteral("H"));
    ASSERT_TRUE(holder);
    EXPECT_EQ(holder->parent(), &form);   // no owner from its factory: the window's
    EXPECT_EQ(holder->Part()->m_left, 7); // dotted sub-object
    auto* part = holder->findChild<PropertyKindsComponent*>(QStringLiteral("P"));
    ASSERT_TRUE(part);
    EXPECT_EQ(part->parent(), holder);
    EXPECT_EQ(part->m_left, 12); // a real Left property is set, not skipped
    EXPECT_EQ(part->m_items, (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
}

TEST(FormBuilder, StringListsAndCollectionsReachTheirProperties)
{
    brp::RegisterClass(QStringLiteral("PropertyKindsComponent"), [](QObject* parent) -> QObject* { return new PropertyKindsComponent(parent); });
    const char* text = "object F: TF\n"
                       "  object P: PropertyKindsComponent\n"
                       "    Items.Strings = (\n"
                       "      'select *'\n"
                       "      '    where a = :a'\n"
                       "      '')\n"
                       "    Rows = <\n"
                       "      item\n"
                       "        DataType = ftString\n"
                       "        Name = 'A'\n"
                       "        Size = -1\n"
                       "      end\n"
                       "      item\n"
                       "      end>\n"
                       "  end\n"
                       "end\n";
    QWidget form;
    FormBuilder::Build(&form, brp::ReadDefinition(QString::fromUtf8(text)), {});
    auto* part = form.findChild<PropertyKindsComponent*>(QStringLiteral("P"));
    ASSERT_TRUE(part);
    // Leading blanks and empty lines are kept.
    EXPECT_EQ(part->m_items, (QStringList{QStringLiteral("select *"), QStringLiteral("    where a = :a"), QStringLiteral("")}));
    ASSERT_EQ(part->m_rows.size(), 2);
    const QVariantMap first = part->m_rows[0].toMap();
    EXPECT_EQ(first.value(QStringLiteral("DataType")), QVariant(QStringLiteral("ftString")));
    EXPECT_EQ(first.value(QStringLiteral("Name")), QVariant(QStringLiteral("A")));
    EXPECT_EQ(first.value(QStringLiteral("Size")).toLongLong(), -1);
    EXPECT_TRUE(part->m_rows[1].toMap().isEmpty());

    const struct {
        const char* body;
        const char* message;
    } cases[] = {
        {"Items.Strings = 'one'", "Invalid value for Items.Strings: one"},
        {"Items.Lines = ('a')", "Property Items.Lines does not exist"},
        {"Rows = ('a')", "Invalid value for Rows: (...)"},
        {"Rows = 3", "Invalid value for Rows: 3"},
        {"Spacing = 40000", "Invalid value for Spacing: 40000"},
    };
    for (const auto& c : cases) {
        QWidget f;
        const QString bad = QStringLiteral("object F: TF\nobject P: PropertyKindsComponent\n%1\nend\nend\n").arg(QString::fromUtf8(c.body));
        try {
            FormBuilder::Build(&f, brp::ReadDefinition(bad), {});
            ADD_FAILURE() << "accepted: " << c.body;
        } catch (const PlatformError& e) {
            EXPECT_EQ(e.Message(), QString::fromUtf8(c.message));
        }
    }
}

TEST(FormBuilder, MistakesInTheDefinitionAreReported)
{
    const struct {
        const char* body;
        const char* message;
    } cases[] = {
        {"object X: TNoSuchClass\nend", "Class TNoSuchClass not found"},
        {"object X: TLabel\n Colour = 3\nend", "Property Colour does not exist"},
        {"object X: TMaskEdit\n CharCase = ecShouting\nend", "Invalid value for CharCase: ecShouting"},
        {"object X: TCheckBox\n Checked = 1\nend", "Invalid value for Checked: 1"},
        {"object X: TLabel\n Left = 'far'\nend", "Invalid value for Left: far"},
        {"object X: TLabel\n Width = 4294967297\nend", "Invalid value for Width: 4294967297"},
        {"object X: TLabel\n Font.Weight = 3\nend", "Property Font.Weight does not exist"},
    };
    for (const auto& c : cases) {
        QWidget form;
        const QString text = QStringLiteral("object F: TF\n%1\nend\n").arg(QString::fromUtf8(c.body));
        try {
            FormBuilder::Build(&form, brp::ReadDefinition(text), {});
            ADD_FAILURE() << "accepted: " << c.body;
        } catch (const PlatformError& e) {
            EXPECT_EQ(e.Message(), QString::fromUtf8(c.message));
        }
    }
}

} // namespace
