// Enter and Up arrow move through the controls by the window's key handler;
// the platform's own dialog keys never reach it; leaving a date field after
// Enter validates it.
#include "PrincipalFixture.h"

namespace {

using KeyboardTest = PrincipalTest;

TEST_F(KeyboardTest, NavigationKeys)
{
    const struct {
        const char* name;
        std::function<QWidget*(TestPrincipal*)> from;
        Qt::Key key;
        std::function<QWidget*(TestPrincipal*)> to;
        int ultimaTecla; // -1: unchanged from the 99 planted before
    } cases[] = {
        {"enter in start", [](auto* p) { return p->DataIni; }, Qt::Key_Return, [](auto* p) { return p->DataFim; }, 13},
        {"keypad enter", [](auto* p) { return p->DataIni; }, Qt::Key_Enter, [](auto* p) { return p->DataFim; }, 13},
        {"up in end", [](auto* p) { return p->DataFim; }, Qt::Key_Up, [](auto* p) { return p->DataIni; }, 38},
        {"up in start wraps", [](auto* p) { return p->DataIni; }, Qt::Key_Up, [](auto* p) { return p->BtSair; }, 38},
        {"down in a date", [](auto* p) { return p->DataIni; }, Qt::Key_Down, [](auto* p) { return p->DataIni; }, 40},
        {"enter on a box", [](auto* p) { return p->P55; }, Qt::Key_Return, [](auto* p) { return p->P56; }, 13},
        {"enter on last box", [](auto* p) { return p->P56; }, Qt::Key_Return, [](auto* p) { return p->BtImp; }, 13},
        {"tab", [](auto* p) { return p->DataFim; }, Qt::Key_Tab, [](auto* p) { return p->P51; }, -1},
        {"shift tab", [](auto* p) { return p->P51; }, Qt::Key_Backtab, [](auto* p) { return p->DataFim; }, -1},
        {"right on box", [](auto* p) { return p->P51; }, Qt::Key_Right, [](auto* p) { return p->P55; }, -1},
        {"down on last box wraps in group", [](auto* p) { return p->P56; }, Qt::Key_Down, [](auto* p) { return p->P51; }, -1},
        {"up on first box wraps in group", [](auto* p) { return p->P51; }, Qt::Key_Up, [](auto* p) { return p->P56; }, -1},
        {"left on box", [](auto* p) { return p->P55; }, Qt::Key_Left, [](auto* p) { return p->P51; }, -1},
        {"right on button", [](auto* p) { return p->BtImp; }, Qt::Key_Right, [](auto* p) { return p->BtNovoRel; }, -1},
        {"up on button", [](auto* p) { return p->BtNovoRel; }, Qt::Key_Up, [](auto* p) { return p->BtImp; }, -1},
        {"down on last button", [](auto* p) { return p->BtSair; }, Qt::Key_Down, [](auto* p) { return p->DataIni; }, -1},
        {"left on first button", [](auto* p) { return p->BtImp; }, Qt::Key_Left, [](auto* p) { return p->DataFim; }, -1},
        {"space on box", [](auto* p) { return p->P51; }, Qt::Key_Space, [](auto* p) { return p->P51; }, 32},
        {"digit in a date", [](auto* p) { return p->DataFim; }, Qt::Key_5, [](auto* p) { return p->DataFim; }, '5'},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.from(w)->setFocus();
        w->UltimaTecla = 99;
        QTest::keyClick(focado(), c.key);
        EXPECT_EQ(focado(), c.to(w)) << (focado() ? focado()->objectName().toStdString() : "none");
        EXPECT_EQ(w->UltimaTecla, c.ultimaTecla < 0 ? 99 : c.ultimaTecla);
    }
}

TEST_F(KeyboardTest, SpaceTogglesABoxAndEnterPressesAFocusedButton)
{
    w->P55->setFocus();
    QTest::keyClick(w->P55, Qt::Key_Space);
    EXPECT_TRUE(w->P55->isChecked());

    w->P51->setChecked(true);
    w->DataFim->SetText(QStringLiteral("09/03/2026"));
    w->BtNovoRel->setFocus();
    w->UltimaTecla = 99;
    QTest::keyClick(w->BtNovoRel, Qt::Key_Return);
    EXPECT_FALSE(w->P51->isChecked()); // "Limpar" ran
    EXPECT_EQ(w->DataFim->Text(), QStringLiteral("  /  /    "));
    EXPECT_EQ(focado(), w->DataIni);
    EXPECT_EQ(w->UltimaTecla, 99);

    w->BtSair->setFocus();
    QTest::keyClick(w->BtSair, Qt::Key_Return);
    EXPECT_FALSE(w->isVisible());
}

TEST_F(KeyboardTest, LeavingADateFieldValidatesOnlyAfterEnter)
{
    const struct {
        const char* name;
        const char* typedIni;
        bool byEnter; // else the mouse moves the focus
        const char* message;
        const char* iniAfter;
        bool focusStaysInIni;
    } cases[] = {
        {"empty left with enter gets the default", "", true, "", "01/01/1950", false},
        {"partial date completed", "15", true, "", "15/03/2026", false},
        {"bad date reported and cleared", "31022026", true, "Data inicial inválida.", "  /  /    ", true},
        {"bad date left by mouse: nothing now", "31022026", false, "", "31/02/2026", false},
        {"empty left by mouse stays empty", "", false, "", "  /  /    ", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        messages.Clear();
        w->LimparCampos();
        w->DataIni->setFocus();
        w->DataIni->setCursorPosition(0);
        QTest::keyClicks(w->DataIni, QString::fromUtf8(c.typedIni));
        if (c.byEnter)
            QTest::keyClick(w->DataIni, Qt::Key_Return);
        else
            w->DataFim->setFocus(Qt::MouseFocusReason);
        if (*c.message)
            EXPECT_EQ(messages.Texts(), QStringList{QString::fromUtf8(c.message)});
        else
            EXPECT_TRUE(messages.Messages().isEmpty()) << messages.Texts().join(QStringLiteral("|")).toStdString();
        EXPECT_EQ(w->DataIni->Text(), QString::fromUtf8(c.iniAfter));
        EXPECT_EQ(focado(), c.focusStaysInIni ? static_cast<QWidget*>(w->DataIni) : w->DataFim);
    }
}

TEST_F(KeyboardTest, EndFieldLeftWithEnterIsCheckedAgainstTheStart)
{
    w->DataIni->SetText(QStringLiteral("10/03/2026"));
    w->DataFim->setFocus();
    w->DataFim->setCursorPosition(0);
    QTest::keyClicks(w->DataFim, QStringLiteral("09032026"));
    QTest::keyClick(w->DataFim, Qt::Key_Return);
    EXPECT_EQ(messages.Texts(), QStringList{QStringLiteral("Data final não pode ser menor que data inicial.")});
    EXPECT_EQ(w->DataFim->Text(), QStringLiteral("  /  /    "));
    EXPECT_EQ(focado(), w->DataFim);

    // Up arrow leaves it without a check: the last key was not Enter.
    messages.Clear();
    QTest::keyClicks(w->DataFim, QStringLiteral("01"));
    QTest::keyClick(w->DataFim, Qt::Key_Up);
    EXPECT_EQ(focado(), w->DataIni);
    EXPECT_TRUE(messages.Messages().isEmpty());
    EXPECT_EQ(w->DataFim->Text(), QStringLiteral("01/  /    "));
}

TEST_F(KeyboardTest, PastedLettersEndInTheMessagesNotACrash)
{
    const struct {
        const char* pasted;
        const char* message; // "" for none
        const char* iniAfter;
    } cases[] = {
        {"ab/cd/efgh", "", "01/01/1950"}, // the mask drops the letters: an empty field
        {"3x/0y/2026", "Data inicial inválida.", "  /  /    "},
        {"99/99/9999", "Data inicial inválida.", "  /  /    "},
        {"00/00/0000", "Data inicial inválida.", "  /  /    "},
        {"31/02", "Data inicial inválida.", "  /  /    "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pasted);
        messages.Clear();
        w->LimparCampos();
        w->DataIni->setFocus();
        w->DataIni->setCursorPosition(0);
        w->DataIni->insert(QString::fromUtf8(c.pasted));
        QTest::keyClick(w->DataIni, Qt::Key_Return);
        if (*c.message)
            EXPECT_EQ(messages.Texts(), QStringList{QString::fromUtf8(c.message)});
        else
            EXPECT_TRUE(messages.Messages().isEmpty()) << messages.Texts().join(QStringLiteral("|")).toStdString();
        EXPECT_EQ(w->DataIni->Text(), QString::fromUtf8(c.iniAfter));
    }
}

// A validator putting the focus back on the field its message names is not
// the operator leaving the field just entered: that one's exit handler must
// not run (it would fill an empty end with its default or report again).
TEST_F(KeyboardTest, AFailedExitClearsOneFieldAndKeepsTheFocusThere)
{
    const struct {
        const char* name;
        const char* ini;
        const char* fim;
        bool enterInFim; // else Enter in the start field
        const char* message;
        const char* iniAfter;
        const char* fimAfter;
    } cases[] = {
        {"bad start, end empty", "99/99/9999", "  /  /    ", false, "Data inicial inválida.", "  /  /    ",
         "  /  /    "},
        {"bad start, partial end", "99/99/9999", "15/  /    ", false, "Data inicial inválida.", "  /  /    ",
         "15/03/2026"},
        {"start after end", "10/03/2026", "09/03/2026", false, "Data inicial não pode ser maior que data final.",
         "  /  /    ", "09/03/2026"},
        {"bad end", "01/03/2026", "99/99/9999", true, "Data final inválida.", "01/03/2026", "  /  /    "},
        {"end before start", "10/03/2026", "09/03/2026", true, "Data final não pode ser menor que data inicial.",
         "10/03/2026", "  /  /    "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TMaskEdit* campo = c.enterInFim ? w->DataFim : w->DataIni;
        w->DataIni->SetText(QString::fromUtf8(c.ini));
        w->DataFim->SetText(QString::fromUtf8(c.fim));
        campo->setFocus();
        messages.Clear();
        QTest::keyClick(campo, Qt::Key_Return);
        EXPECT_EQ(messages.Texts(), QStringList{QString::fromUtf8(c.message)});
        EXPECT_EQ(w->DataIni->Text(), QString::fromUtf8(c.iniAfter));
        EXPECT_EQ(w->DataFim->Text(), QString::fromUtf8(c.fimAfter));
        EXPECT_EQ(focado(), campo);
    }
}

// The preview records the last key of the window even when no control can
// take it, as while a listing runs.
TEST_F(KeyboardTest, KeyPreviewSeesKeysWhileEveryControlIsDisabled)
{
    std::uint16_t duranteBusca = 0;
    w->duranteBusca = [&] {
        QTest::keyClick(w, Qt::Key_Escape);
        duranteBusca = w->UltimaTecla;
    };
    w->DataIni->SetText(QStringLiteral("01/03/2026"));
    w->DataFim->SetText(QStringLiteral("09/03/2026"));
    w->UltimaTecla = 99;
    QTest::mouseClick(w->BtImp, Qt::LeftButton);
    EXPECT_EQ(duranteBusca, 27);
    // A key a control ignores comes up to the window and is seen once: Enter
    // on a box moves one control on ("enter on a box" above).
}

} // namespace
