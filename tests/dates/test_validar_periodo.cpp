// Checking a period typed into two date fields: messages, cleared fields,
// focus and the completed texts.
#include "Clock.h"
#include "RecordingMessageService.h"
#include "TMaskEdit.h"
#include "UFuncoes.h"

#include <QApplication>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

const QString kVazia = QStringLiteral("  /  /    ");

class ValidarPeriodoTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Clock::SetFixedToday(QDate(2026, 3, 9));
        auto* layout = new QVBoxLayout(&host);
        for (TMaskEdit* e : {ini, fim, other}) {
            e->SetEditMask(QStringLiteral("!99/99/9999;1;_"));
            layout->addWidget(e);
        }
        host.show();
        QApplication::setActiveWindow(&host);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
        other->setFocus();
    }
    void TearDown() override { Clock::Reset(); }

    bool validar(const char* textIni, const char* textFim, const QString& lado, const QString& rotIni,
                 const QString& rotFim)
    {
        ini->SetText(QString::fromUtf8(textIni));
        fim->SetText(QString::fromUtf8(textFim));
        other->setFocus();
        return ValidarPeriodo(*ini, *fim, rotIni, rotFim, lado);
    }

    QWidget host;
    TMaskEdit* ini = new TMaskEdit(&host);
    TMaskEdit* fim = new TMaskEdit(&host);
    TMaskEdit* other = new TMaskEdit(&host);
    RecordingMessageService messages;
};

TEST_F(ValidarPeriodoTest, MessagesClearedFieldAndFocus)
{
    enum Focus { Other, Ini, Fim };
    const struct {
        const char* ini;
        const char* fim;
        const char* lado;
        bool result;
        const char* message; // empty: none
        const char* iniAfter;
        const char* fimAfter;
        Focus focus;
    } cases[] = {
        {"10/03/2026", "09/03/2026", "Ini", false, "Data inicial não pode ser maior que data final.",
         "  /  /    ", "09/03/2026", Ini},
        {"10/03/2026", "09/03/2026", "Fim", false, "Data final não pode ser menor que data inicial.",
         "10/03/2026", "  /  /    ", Fim},
        {"09/03/2026", "09/03/2026", "Ini", true, "", "09/03/2026", "09/03/2026", Other},
        {"09/03/2026", "09/03/2026", "Fim", true, "", "09/03/2026", "09/03/2026", Other},
        {"31/02/2026", "09/03/2026", "Ini", false, "Data inicial inválida.", "  /  /    ", "09/03/2026", Ini},
        // the start's failure belongs to the other side's call
        {"31/02/2026", "garbage", "Fim", true, "", "31/02/2026", "  /  /    ", Other},
        {"09/03/2026", "31/02/2026", "Ini", true, "", "09/03/2026", "31/02/2026", Other},
        {"09/03/2026", "31/02/2026", "Fim", false, "Data final inválida.", "09/03/2026", "  /  /    ", Fim},
        {"  /  /    ", "09/03/2026", "Ini", false, "Data inicial não pode ficar em branco.", "  /  /    ",
         "09/03/2026", Ini},
        {"09/03/2026", "  /  /    ", "Fim", false, "Data final não pode ficar em branco.", "09/03/2026",
         "  /  /    ", Fim},
        {"15/  /    ", "20/  /    ", "Ini", true, "", "15/03/2026", "20/03/2026", Other},
        {"15/  /2015", "09/03/2026", "Ini", false, "Data inicial inválida.", "  /  /    ", "09/03/2026", Ini},
        {"  /03/    ", "09/03/2026", "Ini", false, "Data inicial inválida.", "  /  /    ", "09/03/2026", Ini},
        {"01/01/1950", "31/12/1949", "Fim", false, "Data final não pode ser menor que data inicial.",
         "01/01/1950", "  /  /    ", Fim},
        // neither side: both completed, nothing judged
        {"10/03/2026", "09/03/  ", "X", true, "", "10/03/2026", "09/03/2026", Other},
        {"29/02/2024", "01/03/24  ", "Fim", true, "", "29/02/2024", "01/03/2024", Other},
    };
    for (const auto& c : cases) {
        messages.Clear();
        const QString lado = QString::fromUtf8(c.lado);
        const bool result = validar(c.ini, c.fim, lado, lado == QStringLiteral("Fim") ? QStringLiteral("data inicial") : QStringLiteral("Data inicial"),
                                    lado == QStringLiteral("Fim") ? QStringLiteral("Data final") : QStringLiteral("data final"));
        SCOPED_TRACE(std::string(c.ini) + " | " + c.fim + " | " + c.lado);
        EXPECT_EQ(result, c.result);
        if (*c.message) {
            ASSERT_EQ(messages.Messages().size(), 1);
            EXPECT_EQ(messages.Messages()[0].text, QString::fromUtf8(c.message));
            EXPECT_EQ(messages.Messages()[0].caption, QStringLiteral("Alerta"));
            EXPECT_EQ(messages.Messages()[0].icon, QMessageBox::Warning);
            EXPECT_EQ(messages.Messages()[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        } else {
            EXPECT_TRUE(messages.Messages().isEmpty()) << messages.Texts().join(QStringLiteral("|")).toStdString();
        }
        EXPECT_EQ(ini->Text(), QString::fromUtf8(c.iniAfter));
        EXPECT_EQ(fim->Text(), QString::fromUtf8(c.fimAfter));
        QWidget* expected = c.focus == Ini ? ini : c.focus == Fim ? fim : other;
        EXPECT_EQ(QApplication::focusWidget(), expected);
    }
}

TEST_F(ValidarPeriodoTest, LabelsAreRecasedOnlyInAsciiLetters)
{
    validar("10/03/2026", "09/03/2026", QStringLiteral("Ini"), QStringLiteral("dATA ÍNICIAL"), QStringLiteral("DATA FINAL"));
    ASSERT_EQ(messages.Messages().size(), 1);
    EXPECT_EQ(messages.Messages()[0].text, QStringLiteral("Data Ínicial não pode ser maior que data final."));
}

TEST_F(ValidarPeriodoTest, DisabledFieldSkipsEverything)
{
    for (TMaskEdit* disabled : {ini, fim}) {
        disabled->setEnabled(false);
        EXPECT_TRUE(validar("15/  /    ", "31/02/2026", QStringLiteral("Fim"), QStringLiteral("data inicial"), QStringLiteral("Data final")));
        EXPECT_EQ(ini->Text(), QStringLiteral("15/  /    "));
        EXPECT_EQ(fim->Text(), QStringLiteral("31/02/2026"));
        disabled->setEnabled(true);
    }
    EXPECT_TRUE(messages.Messages().isEmpty());
}

TEST_F(ValidarPeriodoTest, SuspiciousYearWarnsThenValidates)
{
    EXPECT_TRUE(validar("15/03/ 201", "09/03/2026", QStringLiteral("Ini"), QStringLiteral("Data inicial"), QStringLiteral("data final")));
    EXPECT_EQ(messages.Texts(), QStringList{QStringLiteral("Atenção data suspeita:\r15/03/201")});
    EXPECT_EQ(ini->Text(), QStringLiteral("15/03/201 "));
}

TEST(ValidarPeriodoTabs, FieldOnAHiddenTabPageIsShownBeforeFocus)
{
    Clock::SetFixedToday(QDate(2026, 3, 9));
    RecordingMessageService messages;
    QTabWidget tabs;
    auto* first = new QWidget;
    auto* second = new QWidget;
    tabs.addTab(first, QStringLiteral("um"));
    tabs.addTab(second, QStringLiteral("dois"));
    auto* ini = new TMaskEdit(second);
    auto* fim = new TMaskEdit(first);
    for (TMaskEdit* e : {ini, fim})
        e->SetEditMask(QStringLiteral("!99/99/9999;1;_"));
    ini->SetText(QStringLiteral("31/02/2026"));
    fim->SetText(QStringLiteral("09/03/2026"));
    tabs.show();
    QApplication::setActiveWindow(&tabs);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&tabs));
    EXPECT_FALSE(ValidarPeriodo(*ini, *fim, QStringLiteral("Data inicial"), QStringLiteral("data final"), QStringLiteral("Ini")));
    EXPECT_EQ(tabs.currentWidget(), second);
    EXPECT_EQ(QApplication::focusWidget(), ini);
    Clock::Reset();
}

} // namespace
