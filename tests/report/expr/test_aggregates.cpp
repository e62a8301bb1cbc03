// Aggregates accumulate once per Accumulate pass over the current record and
// report their state otherwise.
#include "ExprFixture.h"
#include "TMemDataSet.h"

namespace {

class AggregateTest : public ExprTest {
protected:
    void SetUp() override
    {
        ExprTest::SetUp();
        data.SetName(QStringLiteral("QryRel"));
        data.DefineField(QStringLiteral("N"), TFieldType::ftInteger);
        data.DefineField(QStringLiteral("TOTALPEDIDO"), TFieldType::ftFloat);
        data.DefineField(QStringLiteral("NOME"), TFieldType::ftString);
        data.AppendRecord({1, 1.5, QStringLiteral("b")});
        data.AppendRecord({2, 2.25, QStringLiteral("a")});
        data.AppendRecord({3, 4.0, QStringLiteral("c")});
        data.Open();
        list = {&data};
    }

    // Value before any record, then after walking every record.
    std::pair<QString, QString> run(const char* text)
    {
        TBREvaluator e;
        e.UseDataSets(&list);
        e.Compile(QString::fromUtf8(text));
        const QString before = brp::describe(e.CurrentValue());
        for (data.First(); !data.Eof(); data.Next())
            e.Accumulate();
        return {before, brp::describe(e.CurrentValue())};
    }

    TMemDataSet data;
    TBRDataSetList list;
};

} // namespace

TEST_F(AggregateTest, AccumulationRules)
{
    const struct {
        const char* expr;
        const char* before;
        const char* after;
    } cases[] = {
        {"SUM(N)", "INTEGER:0", "INTEGER:6"},
        {"SUM(QryRel.TOTALPEDIDO)", "INTEGER:0", "FLOAT:7.75"},
        // the first value's kind decides: the float 2.5 is left out
        {"SUM(IF(N = 2, 2.5, N))", "INTEGER:0", "INTEGER:4"},
        {"SUM(IF(N = 2, TRUE, N))", "INTEGER:0", "INTEGER:4"},
        {"SUM(IF(N = 2, FOO, N))", "INTEGER:0", "INTEGER:4"},
        {"SUM(IF(N = 2, 'x', N))", "INTEGER:0", "ERROR:"},
        {"SUM(NOME)", "INTEGER:0", "ERROR:"},
        {"SUM(N, N)", "INTEGER:0", "ERROR:"},
        {"SUM()", "INTEGER:0", "ERROR:"},
        {"SUM(N) * 10 + COUNT", "INTEGER:0", "INTEGER:63"},
        {"AVERAGE(N)", "FLOAT:0", "FLOAT:2"},
        {"AVERAGE(TOTALPEDIDO)", "FLOAT:0", "FLOAT:2.58333333333333"},
        // every step counts, even those SUM skipped
        {"AVERAGE(IF(N = 2, TRUE, N))", "FLOAT:0", "FLOAT:1.33333333333333"},
        {"AVERAGE(NOME)", "FLOAT:0", "ERROR:"},
        {"MAX(N)", "INTEGER:0", "INTEGER:3"},
        {"MIN(TOTALPEDIDO)", "INTEGER:0", "FLOAT:1.5"},
        {"MAX(NOME)", "INTEGER:0", "STRING:c"},
        {"MIN(NOME)", "INTEGER:0", "STRING:a"},
        {"MAX(N = 1)", "INTEGER:0", "BOOLEAN:True"},
        {"MIN(N = 1)", "INTEGER:0", "BOOLEAN:False"},
        {"MAX(IF(N = 1, FOO, N))", "INTEGER:0", "ERROR:Unknown function : FOO"},
        {"MAX()", "INTEGER:0", "ERROR:"},
        {"COUNT", "INTEGER:0", "INTEGER:3"},
        {"COUNT()", "INTEGER:0", "INTEGER:3"},
        {"COUNT(N)", "ERROR:COUNT - Too many arguments", "ERROR:COUNT - Too many arguments"},
    };
    for (const auto& c : cases) {
        const auto [before, after] = run(c.expr);
        EXPECT_EQ(before, QString::fromUtf8(c.before)) << c.expr;
        EXPECT_EQ(after, QString::fromUtf8(c.after)) << c.expr;
    }
}

TEST_F(AggregateTest, EvaluatingDoesNotAccumulateAndResetRestarts)
{
    TBREvaluator e;
    e.UseDataSets(&list);
    e.Compile(QStringLiteral("STR(SUM(N)) + '/' + STR(COUNT) + '/' + STR(AVERAGE(N))"));
    EXPECT_TRUE(e.HasAggregate());
    e.Accumulate();
    e.CurrentValue();
    e.CurrentValue();
    EXPECT_EQ(brp::describe(e.CurrentValue()), QStringLiteral("STRING:1/1/1"));
    data.Next();
    e.Accumulate();
    EXPECT_EQ(brp::describe(e.CurrentValue()), QStringLiteral("STRING:3/2/1.5"));
    e.ResetAggregates();
    EXPECT_EQ(brp::describe(e.CurrentValue()), QStringLiteral("STRING:0/0/0"));
    e.Accumulate();
    EXPECT_EQ(brp::describe(e.CurrentValue()), QStringLiteral("STRING:2/1/2"));

    TBREvaluator plain;
    plain.UseDataSets(&list);
    plain.Compile(QStringLiteral("N + 1"));
    EXPECT_FALSE(plain.HasAggregate());
}
