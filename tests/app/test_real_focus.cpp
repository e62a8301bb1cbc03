// With a window manager, a real message box and keys from the keyboard: after
// a date error raised by Enter and confirmed with Enter, the next key goes to
// the field the message names. The offscreen tests cannot show this: their
// message boxes answer at once and give no focus back.
#include "PrincipalFixture.h"

#ifdef BRP_HAVE_XTEST
#include "RealDesktop.h"

#include <QMessageBox>

namespace {
class RealFocusTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QString reason = RealDesktop::StartFor(desktop);
        if (!reason.isEmpty())
            GTEST_SKIP() << reason.toStdString();
        Clock::SetFixedToday(QDate(2026, 3, 9));
        Application::InstallFontSubstitutes();
        {
            // Start-up reports the missing database; that is not under test.
            RecordingMessageService startup;
            w = std::make_unique<TestPrincipal>();
        }
        w->show();
        w->activateWindow();
        ASSERT_TRUE(brp::WaitUntil([this] { return takesKeys(w.get()); })) << "the window never became active";
    }
    void TearDown() override
    {
        w.reset();
        desktop.reset();
        Clock::Reset();
    }

    // Active for Qt and for the X server: keys pressed now reach it.
    bool takesKeys(QWidget* window) const { return window->isActiveWindow() && desktop->HasKeyboard(window->winId()); }
    QMessageBox* activeBox() const
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        return box && box->isVisible() && takesKeys(box) ? box : nullptr;
    }

    std::unique_ptr<RealDesktop> desktop;
    std::unique_ptr<TestPrincipal> w;
};

TEST_F(RealFocusTest, TheKeyAfterAConfirmedDateErrorGoesToTheFieldNamed)
{
    const struct {
        const char* name;
        const char* ini;   // set before typing; empty: typed into
        bool typeInFim;    // else the start field is typed into
        const char* typed; // then Enter
        const char* message;
        const char* iniAfter; // after "7" was typed
        const char* fimAfter;
    } cases[] = {
        {"bad start", "", false, "31022026", "Data inicial inválida.", "7 /  /    ", "  /  /    "},
        {"end before the start", "15/12/2026", true, "01011900", "Data final não pode ser menor que data inicial.",
         "15/12/2026", "7 /  /    "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        w->LimparCampos();
        if (*c.ini)
            w->DataIni->SetText(QString::fromUtf8(c.ini));
        TMaskEdit* campo = c.typeInFim ? w->DataFim : w->DataIni;
        campo->setFocus();
        campo->setCursorPosition(0);
        QString shown;
        DesktopScript script({
            {"the field has the focus", [&] { return takesKeys(w.get()) && QApplication::focusWidget() == campo; },
             [&] {
                 desktop->Type(QString::fromUtf8(c.typed));
                 desktop->Key(Qt::Key_Return);
             }},
            {"the message box is up and active", [this] { return activeBox() != nullptr; },
             [&] {
                 shown = activeBox()->text();
                 desktop->Key(Qt::Key_Return);
             }},
            {"the window is active again",
             [&] { return !QApplication::activeModalWidget() && takesKeys(w.get()); },
             [&] { desktop->Type(QStringLiteral("7")); }},
        });
        // The window's key preview sees the key wherever it lands.
        const bool typed = brp::WaitUntil([&] { return script.Finished() && w->UltimaTecla == '7'; });
        ASSERT_TRUE(typed) << "waiting for: " << script.Waiting().toStdString() << "; modal: "
                           << (QApplication::activeModalWidget() ? "up" : "none") << "; active: "
                           << (QApplication::activeWindow() ? QApplication::activeWindow()->metaObject()->className()
                                                            : "none");
        EXPECT_EQ(shown, QString::fromUtf8(c.message));
        EXPECT_EQ(w->DataIni->Text(), QString::fromUtf8(c.iniAfter));
        EXPECT_EQ(w->DataFim->Text(), QString::fromUtf8(c.fimAfter));
        EXPECT_EQ(QApplication::focusWidget(), campo);
    }
}

} // namespace
#else
TEST(RealFocusTest, TheKeyAfterAConfirmedDateErrorGoesToTheFieldNamed)
{
    GTEST_SKIP() << "built without X11 and XTEST (Debian package libxtst-dev)";
}
#endif
