// Numeric display masks under both pinned locales.
#include "NumericMask.h"

#include <gtest/gtest.h>
#include <cmath>
#include <limits>

TEST(NumericMask, Sections)
{
    const struct {
        const char* mask;
        double value;
        const char* en;
        const char* pt;
    } cases[] = {
        {"#,##0.00", 1234.5, "1,234.50", "1.234,50"},
        {"#,##0.000", 1234.5, "1,234.500", "1.234,500"},
        {"#,##0.000", 0, "0.000", "0,000"},
        {"#,##0", 1234567, "1,234,567", "1.234.567"},
        {"#,##0", -1234567, "-1,234,567", "-1.234.567"},
        {"#,##0.00", 999.999, "1,000.00", "1.000,00"},
        {"0", 2.5, "3", "3"},
        {"0", -2.5, "-3", "-3"},
        {"0.00", 1.005, "1.01", "1,01"},
        {"0", -0.4, "0", "0"},
        {"#.##", 0.5, ".5", ",5"},
        {"#", 0, "", ""},
        {"000", 7, "007", "007"},
        {"0#", 5, "05", "05"},
        {"00-00", 1234, "12-34", "12-34"},
        {"0.0#", 1.5, "1.5", "1,5"},
        {"0.0#", 1.256, "1.26", "1,26"},
        {".00", 1.5, "1.50", "1,50"},
        {"0.00;(0.00)", -5, "(5.00)", "(5,00)"},
        {"0.00;(0.00);zero", 0, "zero", "zero"},
        {"0.00;;zero", -0.001, "zero", "zero"},
        {"0.00;", -2, "-2.00", "-2,00"},
        {"R$ #,##0.00", 10, "R$ 10.00", "R$ 10,00"},
        {"\"Total: \"0", 3, "Total: 3", "Total: 3"},
        {"'a;b' 0", 3, "a;b 3", "a;b 3"},
        {"0.00E+00", 1234.5, "1.23E+03", "1,23E+03"},
        {"0.0E-0", 0.000123, "1.2E-4", "1,2E-4"},
        {"0.0E-0", 123, "1.2E2", "1,2E2"},
        {"", 1.5, "1.5", "1,5"},
        {"0", 1e20, "1E20", "1E20"},
        {"abc", 5, "abc", "abc"},
    };
    const QLocale en(QStringLiteral("en_US")), pt(QStringLiteral("pt_BR"));
    for (const auto& c : cases) {
        bool ok = false;
        EXPECT_EQ(brp::FormatNumericMask(QString::fromUtf8(c.mask), c.value, en, &ok), QString::fromUtf8(c.en)) << c.mask;
        EXPECT_TRUE(ok);
        EXPECT_EQ(brp::FormatNumericMask(QString::fromUtf8(c.mask), c.value, pt), QString::fromUtf8(c.pt)) << c.mask;
    }
}

TEST(NumericMask, RejectsWhatCannotBeShown)
{
    bool ok = true;
    brp::FormatNumericMask(QStringLiteral("0"), std::numeric_limits<double>::infinity(), QLocale::c(), &ok);
    EXPECT_FALSE(ok);
    brp::FormatNumericMask(QStringLiteral("0"), std::nan(""), QLocale::c(), &ok);
    EXPECT_FALSE(ok);
}

TEST(NumericMask, GeneralFormat)
{
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {0, "0"}, {-1.5, "-1.5"}, {100000, "100000"}, {1e15, "1E15"}, {123456789012345, "123456789012345"},
        {0.0001, "0.0001"}, {0.00001, "1E-5"}, {1.5e-7, "1.5E-7"}, {2.0 / 3.0, "0.666666666666667"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(brp::FormatGeneralFloat(c.value, QLocale(QStringLiteral("en_US"))), QLatin1String(c.text)) << c.text;
}
