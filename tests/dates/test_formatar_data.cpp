// Completion of typed dates and the padding helpers, with today pinned to
// 09/03/2026.
#include "Clock.h"
#include "EConvertError.h"
#include "RecordingMessageService.h"
#include "UFuncoes.h"

#include <gtest/gtest.h>

namespace {

class FormatarDataTest : public ::testing::Test {
protected:
    void SetUp() override { Clock::SetFixedToday(QDate(2026, 3, 9)); }
    void TearDown() override { Clock::Reset(); }
    RecordingMessageService messages;
};

TEST_F(FormatarDataTest, CompletesTypedDates)
{
    const struct {
        const char* before;
        const char* after;
    } cases[] = {
        {"  /  /    ", "  /  /    "}, // no day: unchanged
        {"  /03/    ", "  /03/    "},
        {"15/  /    ", "15/03/2026"}, // day alone
        {" 5/  /    ", "05/03/2026"},
        {"5/", "05/03/2026"},         // one-digit day followed by the slash
        {"15/ 3/    ", "15/03/2026"}, // day and month
        {"15/03/15  ", "15/03/2015"},
        {"15/03/  85", "15/03/1985"},
        {"15/03/69  ", "15/03/2069"},
        {"15/03/70  ", "15/03/1970"},
        {"15/03/5   ", "15/03/2005"},
        {"15/03/00  ", "15/03/2000"},
        {"15/03/015 ", "15/03/2015"}, // millennium digit of today in front
        {"15/03/201 ", "15/03/2201"},
        {"15/03/2015", "15/03/2015"},
        {"15/  /2015", "15/  /2015"}, // month missing: left to the check
        {"15/  /1985", "15/  /2085"}, // blanks of the month shift the year
        {"31/02/2026", "31/02/2026"}, // validity is not judged here
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatarData(QString::fromUtf8(c.before)), QString::fromUtf8(c.after)) << c.before;
    EXPECT_TRUE(messages.Messages().isEmpty());
}

TEST_F(FormatarDataTest, UsesTodayOfTheClock)
{
    Clock::SetFixedToday(QDate(2031, 12, 1));
    EXPECT_EQ(FormatarData(QStringLiteral("15/  /    ")), QStringLiteral("15/12/2031"));
    EXPECT_EQ(FormatarData(QStringLiteral("15/03/015 ")), QStringLiteral("15/03/2015"));
}

TEST_F(FormatarDataTest, ThreeDigitYearNotAtItsStartIsSuspicious)
{
    EXPECT_EQ(FormatarData(QStringLiteral("15/03/ 201")), QStringLiteral("15/03/201"));
    ASSERT_EQ(messages.Messages().size(), 1);
    const auto& m = messages.Messages()[0];
    EXPECT_EQ(m.caption, QStringLiteral("Alerta"));
    EXPECT_EQ(m.icon, QMessageBox::Warning);
    EXPECT_EQ(m.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    EXPECT_EQ(m.text, QStringLiteral("Atenção data suspeita:\r15/03/201"));
}

TEST_F(FormatarDataTest, NonDigitsInTheYearAreAConversionError)
{
    for (const char* text : {"15/03/ab  ", "15/03/  x9", "15/03/2a26"})
        EXPECT_THROW(FormatarData(QString::fromUtf8(text)), EConvertError) << text;
}

TEST_F(FormatarDataTest, EveryMaskShapedTextCompletesWithoutFailing)
{
    // Whatever digits and blanks the field holds, completion gives a text of
    // at most ten characters that the date conversion then judges.
    const QChar alphabet[] = {u' ', u'0', u'1', u'5', u'9'};
    const int positions[] = {0, 1, 3, 4, 6, 7, 8, 9};
    QString text = QStringLiteral("  /  /    ");
    int combinations = 1;
    for (int i = 0; i < 8; ++i)
        combinations *= 5;
    for (int n = 0; n < combinations; ++n) {
        int k = n;
        for (int pos : positions) {
            text[pos] = alphabet[k % 5];
            k /= 5;
        }
        const QString out = FormatarData(text);
        ASSERT_LE(out.size(), 10) << text.toStdString();
        ASSERT_EQ(out.left(6).count(u'/'), 2) << text.toStdString();
    }
}

TEST(PaddingRoutines, Examples)
{
    EXPECT_EQ(ZerosEsquerda(QStringLiteral(" 7 "), 2), QStringLiteral("07"));
    EXPECT_EQ(ZerosEsquerda(QStringLiteral("12345"), 4), QStringLiteral("2345"));
    EXPECT_EQ(ZerosEsquerda(QString(), 3), QStringLiteral("000"));
    EXPECT_EQ(ZerosEsquerda(QStringLiteral("2026"), 4), QStringLiteral("2026"));
    EXPECT_EQ(Direita(QStringLiteral("ab"), 4), QStringLiteral("  ab"));
    EXPECT_EQ(Direita(QStringLiteral("abcdef"), 2), QStringLiteral("ef"));
    EXPECT_EQ(Direita(QString(), 1), QStringLiteral(" "));
    EXPECT_EQ(Espacos(0), QString());
    EXPECT_EQ(Espacos(-3), QString());
    EXPECT_EQ(Espacos(3), QStringLiteral("   "));
    EXPECT_EQ(IIF(false, u"51,", u""), QString());
    EXPECT_EQ(IIF(true, u"51,", u""), QStringLiteral("51,"));
    EXPECT_EQ(IIF(true, 1, 2), 1);
}

} // namespace
