// Date and time display masks under both pinned locales.
#include "DateMask.h"

#include <gtest/gtest.h>

TEST(DateMask, Letters)
{
    const QDateTime when(QDate(2005, 2, 1), QTime(14, 7, 3, 45));
    const struct {
        const char* mask;
        const char* en;
        const char* pt;
    } cases[] = {
        {"dd/mm/yyyy", "01/02/2005", "01/02/2005"},
        {"d/m/yy", "1/2/05", "1/2/05"},
        {"hh:nn:ss", "14:07:03", "14:07:03"},
        {"hh:mm", "14:07", "14:07"},
        {"h:mm am/pm", "2:07 pm", "2:07 pm"},
        {"h:mm AM/PM", "2:07 PM", "2:07 PM"},
        {"hh a/p", "02 p", "02 p"},
        {"zzz", "045", "045"},
        {"mmmm", "February", "fevereiro"},
        {"dddd", "Tuesday", "terça-feira"},
        {"\"dia\" d 'de' mmmm", "dia 1 de February", "dia 1 de fevereiro"},
        {"yyyymmdd", "20050201", "20050201"},
        {"ddddd", "2/1/05", "01/02/2005"},
    };
    const QLocale en(QStringLiteral("en_US")), pt(QStringLiteral("pt_BR"));
    for (const auto& c : cases) {
        EXPECT_EQ(brp::FormatDateTimeMask(QString::fromUtf8(c.mask), when, en).toStdString(), c.en) << c.mask;
        EXPECT_EQ(brp::FormatDateTimeMask(QString::fromUtf8(c.mask), when, pt).toStdString(), c.pt) << c.mask;
    }
}

TEST(DateMask, NullIsDayZeroAndSeparatorsFollowTheLocale)
{
    EXPECT_EQ(brp::FormatDateTimeMask(QStringLiteral("dd/mm/yyyy"), QDateTime(), QLocale(QStringLiteral("pt_BR"))),
              QStringLiteral("30/12/1899"));
    const QDateTime when(QDate(2005, 2, 1), QTime(0, 0));
    EXPECT_EQ(brp::FormatDateTimeMask(QStringLiteral("dd/mm/yyyy"), when, QLocale(QStringLiteral("de_DE"))),
              QStringLiteral("01.02.2005"));
    EXPECT_EQ(brp::FormatDateTimeMask(QStringLiteral("c"), when, QLocale(QStringLiteral("pt_BR"))),
              QStringLiteral("01/02/2005"));
}
