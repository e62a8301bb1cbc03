// The program's locale: a real system locale keeps its formats, C and POSIX
// give Brazilian Portuguese; and the field texts a listing prints with it
// (dates dd/mm/yyyy, floats in general format without thousands separators).
#include "ProgramLocale.h"
#include "TMemDataSet.h"

#include <QDate>
#include <gtest/gtest.h>

namespace {

// The default locale as the program sets it, put back afterwards.
class ScopedProgramLocale {
public:
    explicit ScopedProgramLocale(const QLocale& system) { brp::SetUpProgramLocale(system); }
    ~ScopedProgramLocale() { QLocale::setDefault(QLocale::system()); }
};

TEST(ProgramLocale, CAndPosixGiveBrazilianPortugueseARealLocaleKeepsItsOwn)
{
    const struct {
        const char* system;
        const char* expected;
    } cases[] = {
        {"C", "pt_BR"}, {"POSIX", "pt_BR"}, {"C.UTF-8", "pt_BR"},
        {"en_US", "en_US"}, {"pt_PT", "pt_PT"}, {"de_DE", "de_DE"}, {"pt_BR", "pt_BR"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(brp::ProgramLocale(QLocale(QString::fromLatin1(c.system))).name(), QString::fromLatin1(c.expected))
            << c.system;
}

TEST(ProgramLocale, FieldTextsUnderTheProgramsLocale)
{
    TMemDataSet ds;
    ds.DefineField(QStringLiteral("DATAFATURA"), TFieldType::ftDate);
    ds.DefineField(QStringLiteral("TOTAL"), TFieldType::ftFloat);
    ds.AppendRecord({QDate(2020, 5, 7), 1234.5});
    ds.AppendRecord({QDate(2026, 12, 10), 1.5e20});
    ds.AppendRecord({QDate(2026, 1, 1), 0.1 + 0.2});
    ds.AppendRecord({QDate(2026, 1, 1), -1234567.125});
    ds.AppendRecord({QDate(2026, 1, 1), 123456789012345678.0});
    ds.AppendRecord({QDate(2026, 1, 1), 0.00001});
    ds.Open();
    const struct {
        const char* system;
        QStringList dates;
        QStringList totals;
    } cases[] = {
        {"C",
         {QStringLiteral("07/05/2020"), QStringLiteral("10/12/2026")},
         {QStringLiteral("1234,5"), QStringLiteral("1,5E20"), QStringLiteral("0,3"), QStringLiteral("-1234567,125"), QStringLiteral("1,23456789012346E17"), QStringLiteral("1E-5")}},
        {"en_US",
         {QStringLiteral("5/7/20"), QStringLiteral("12/10/26")},
         {QStringLiteral("1234.5"), QStringLiteral("1.5E20"), QStringLiteral("0.3"), QStringLiteral("-1234567.125"), QStringLiteral("1.23456789012346E17"), QStringLiteral("1E-5")}},
        {"de_DE", {QStringLiteral("07.05.20"), QStringLiteral("10.12.26")}, {QStringLiteral("1234,5"), QStringLiteral("1,5E20"), QStringLiteral("0,3"), QStringLiteral("-1234567,125"), QStringLiteral("1,23456789012346E17"), QStringLiteral("1E-5")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.system);
        const ScopedProgramLocale locale{QLocale(QString::fromLatin1(c.system))};
        QStringList dates, totals;
        for (ds.First(); !ds.Eof(); ds.Next()) {
            if (dates.size() < 2)
                dates << ds.FieldByName(QStringLiteral("DATAFATURA"))->DisplayText();
            totals << ds.FieldByName(QStringLiteral("TOTAL"))->AsString();
        }
        EXPECT_EQ(dates, c.dates);
        EXPECT_EQ(totals, c.totals);
    }
}

} // namespace
