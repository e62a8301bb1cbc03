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
        {"enter in start", [](auto* w) { return w->DataIni; }, Qt::Key_Return, [](auto* w) { return w->DataFim; }, 13},
        {"keypad enter", [](auto* w) { return w->DataIni; }, Qt::Key_Enter, [](auto* w) { return w->DataFim; }, 13},
        {"up in end", [](auto* w) { return w->DataFim; }, Qt::Key_Up, [](auto* w) { return w->DataIni; }, 38},
        {"up in start wraps", [](auto* w) { return w->DataIni; }, Qt::Key_Up, [](auto* w) { return w->BtSair; }, 38},
        {"down in a date", [](auto* w) { return w->DataIni; }, Qt::Key_Down, [](auto* w) { return w->DataIni; }, 40},
        {"enter on a box", [](auto* w) { return w->P55; }, Qt::Key_Return, [](auto* w) { return w->P56; }, 13},
        {"enter on last box", [](auto* w) { return w->P56; }, Qt::Key_Return, [](auto* w) { return w->BtImp; }, 13},
        {"tab", [](auto* w) { return w->DataFim; }, Qt::Key_Tab, [](auto* w) { return w->P51; }, -1},
        {"shift tab", [](auto* w) { return w->P51; }, Qt::Key_Backtab, [](auto* w) { return w->DataFim; }, -1},
        {"right on box", [](auto* w) { return w->P51; }, Qt::Key_Right, [](auto* w) { return w->P55; }, -1},
        {"down on last box wraps in group", [](auto* w) { return w->P56; }, Qt::Key_Down, [](auto* w) { return w->P51; }, -1},
        {"up on first box wraps in group", [](auto* w) { return w->P51; }, Qt::Key_Up, [](auto* w) { return w->P56; }, -1},
        {"left on box", [](auto* w) { return w->P55; }, Qt::Key_Left, [](auto* w) { return w->P51; }, -1},
        {"right on button", [](auto* w) { return w->BtImp; }, Qt::Key_Right, [](auto* w) { return w->BtNovoRel; }, -1},
        {"up on button", [](auto* w) { return w->BtNovoRel; }, Qt::Key_Up, [](auto* w) { return w->BtImp; }, -1},
        {"down on last button", [](auto* w) { return w->BtSair; }, Qt::Key_Down, [](auto* w) { return w->DataIni; }, -1},
        {"left on first button", [](auto* w) { return w->BtImp; }, Qt::Key_Left, [](auto* w) { return w->DataFim; }, -1},
        {"space on box", [](auto* w) { return w->P51; }, Qt::Key_Space, [](auto* w) { return w->P51; }, 32},
        {"digit in a date", [](auto* w) { return w->DataFim; }, Qt::Key_5, [](auto* w) { return w->DataFim; }, '5'},
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
    w->DataFim->SetText("09/03/2026");
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
        messages.clear();
        w->LimparCampos();
        w->DataIni->setFocus();
        w->DataIni->setCursorPosition(0);
        QTest::keyClicks(w->DataIni, QString::fromUtf8(c.typedIni));
        if (c.byEnter)
            QTest::keyClick(w->DataIni, Qt::Key_Return);
        else
            w->DataFim->setFocus(Qt::MouseFocusReason);
        if (*c.message)
            EXPECT_EQ(messages.texts(), QStringList{QString::fromUtf8(c.message)});
        else
            EXPECT_TRUE(messages.messages().isEmpty()) << messages.texts().join("|").toStdString();
        EXPECT_EQ(w->DataIni->Text(), QString::fromUtf8(c.iniAfter));
        EXPECT_EQ(focado(), c.focusStaysInIni ? static_cast<QWidget*>(w->DataIni) : w->DataFim);
    }
}

TEST_F(KeyboardTest, EndFieldLeftWithEnterIsCheckedAgainstTheStart)
{
    w->DataIni->SetText("10/03/2026");
    w->DataFim->setFocus();
    w->DataFim->setCursorPosition(0);
    QTest::keyClicks(w->DataFim, "09032026");
    QTest::keyClick(w->DataFim, Qt::Key_Return);
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("Data final não pode ser menor que data inicial.")});
    EXPECT_EQ(w->DataFim->Text(), QStringLiteral("  /  /    "));
    EXPECT_EQ(focado(), w->DataFim);

    // Up arrow leaves it without a check: the last key was not Enter.
    messages.clear();
    QTest::keyClicks(w->DataFim, "01");
    QTest::keyClick(w->DataFim, Qt::Key_Up);
    EXPECT_EQ(focado(), w->DataIni);
    EXPECT_TRUE(messages.messages().isEmpty());
    EXPECT_EQ(w->DataFim->Text(), QStringLiteral("01/  /    "));
}

TEST_F(KeyboardTest, PastedLettersEndInTheMessagesNotACrash)
{
    const char* pasted[] = {"ab/cd/efgh", "3x/0y/2026", "99/99/9999", "00/00/0000", "1/1/1", "31/02"};
    for (const char* text : pasted) {
        SCOPED_TRACE(text);
        messages.clear();
        w->LimparCampos();
        w->DataIni->setFocus();
        w->DataIni->setCursorPosition(0);
        w->DataIni->insert(QString::fromUtf8(text));
        QTest::keyClick(w->DataIni, Qt::Key_Return);
        ASSERT_LE(messages.messages().size(), 1);
        EXPECT_EQ(w->DataIni->Text().size(), 10);
        if (!messages.messages().isEmpty()) {
            EXPECT_EQ(messages.messages()[0].text, QStringLiteral("Data inicial inválida."));
            EXPECT_EQ(w->DataIni->Text(), QStringLiteral("  /  /    "));
        }
    }
}

} // namespace
