// Field references: by name, by data set and name, in brackets; field kinds,
// nulls, and values read at the current record on every evaluation.
#include "ExprFixture.h"
#include "TMemDataSet.h"

namespace {

class DataFieldTest : public ExprTest {
protected:
    void SetUp() override
    {
        ExprTest::SetUp();
        aux.SetName(QStringLiteral("QryAux"));
        aux.DefineField(QStringLiteral("TOTALPEDIDO"), TFieldType::ftFloat);
        aux.DefineField(QStringLiteral("X-Y"), TFieldType::ftInteger);
        aux.AppendRecord({99.5, 4});
        aux.Open();

        rel.SetName(QStringLiteral("QryRel"));
        rel.DefineField(QStringLiteral("NUMERO"), TFieldType::ftInteger);
        rel.DefineField(QStringLiteral("TOTALPEDIDO"), TFieldType::ftFloat);
        rel.DefineField(QStringLiteral("CLIENTE"), TFieldType::ftString);
        rel.DefineField(QStringLiteral("DATA PEDIDO"), TFieldType::ftDate);
        rel.DefineField(QStringLiteral("ATIVO"), TFieldType::ftBoolean);
        rel.DefineField(QStringLiteral("OBS"), TFieldType::ftMemo);
        rel.DefineField(QStringLiteral("NOTA"), TFieldType::ftSmallint);
        rel.AppendRecord({7, 10.25, QStringLiteral("Ana"), QDate(2005, 2, 1), true, QStringLiteral("m"), 3});
        rel.AppendRecord({8, 20.5, QStringLiteral("Bia"), QDate(2005, 2, 2), false, QString(), 9});
        rel.AppendRecord({QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant()});
        rel.Open();
        list = {&aux, &rel};
    }
    QString ev(const char* text) { return eval(QString::fromUtf8(text), &list); }

    TMemDataSet aux, rel;
    TBRDataSetList list;
};

} // namespace

TEST_F(DataFieldTest, NamesResolveAgainstTheDataSets)
{
    const struct {
        const char* expr;
        const char* expected;
    } cases[] = {
        {"NUMERO", "INTEGER:7"},
        {"numero * 2", "INTEGER:14"},
        {"TOTALPEDIDO", "FLOAT:99.5"},              // first data set that has the field
        {"QryRel.TOTALPEDIDO", "FLOAT:10.25"},      // the named data set's field
        {"qryrel.totalpedido + 1", "FLOAT:11.25"},
        {"CLIENTE + '!'", "STRING:Ana!"},
        {"[QryRel.CLIENTE]", "STRING:Ana"},
        {"ATIVO", "BOOLEAN:True"},
        {"TYPEOF([DATA PEDIDO])", "STRING:STRING"},
        {"OBS", "ERROR:Field OBS is of unknown type"},
        {"QryAux.CLIENTE", "ERROR:Unknown function : QRYAUX.CLIENTE"},
        {"Nada.NUMERO", "ERROR:Unknown function : NADA.NUMERO"},
        {"[X-Y] + 1", "INTEGER:5"},
        // a bracketed name keeps its minus after a subtraction
        {"10 - [X-Y]", "INTEGER:6"},
        {"10 - 1 + [X-Y]", "INTEGER:13"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ev(c.expr), QString::fromUtf8(c.expected)) << c.expr;
}

TEST_F(DataFieldTest, NameStartingWithNotNeedsBrackets)
{
    EXPECT_EQ(ev("NOTA + 1"), QStringLiteral("ERROR:Invalid use of NOT"));
    EXPECT_EQ(ev("[NOTA] + 1"), QStringLiteral("INTEGER:4"));
}

TEST_F(DataFieldTest, DatesCompareAsTheirText)
{
    const QString text = rel.FieldByName(QStringLiteral("DATA PEDIDO"))->AsString();
    EXPECT_EQ(eval(QStringLiteral("[DATA PEDIDO] = '%1'").arg(text), &list), QStringLiteral("BOOLEAN:True"));
    EXPECT_EQ(ev("[DATA PEDIDO]"), QStringLiteral("STRING:") + text);
}

TEST_F(DataFieldTest, FieldsAreReadAtTheCurrentRecord)
{
    TBREvaluator e;
    e.UseDataSets(&list);
    e.Compile(QStringLiteral("IF(ATIVO, CLIENTE, 'x') + STR(QryRel.NUMERO)"));
    EXPECT_EQ(brp::describe(e.CurrentValue()), QStringLiteral("STRING:Ana7"));
    rel.Next();
    EXPECT_EQ(brp::describe(e.CurrentValue()), QStringLiteral("STRING:x8"));
    rel.Next();   // all null: empty text, 0, false
    EXPECT_EQ(brp::describe(e.CurrentValue()), QStringLiteral("STRING:x0"));

    // Reopening rebuilds the fields; the compiled expression follows them.
    rel.Close();
    rel.Open();
    EXPECT_EQ(brp::describe(e.CurrentValue()), QStringLiteral("STRING:Ana7"));
}

TEST_F(DataFieldTest, WithoutADataSetListNamesGoToTheEnvironments)
{
    EXPECT_EQ(eval(QStringLiteral("NUMERO")), QStringLiteral("ERROR:Unknown function : NUMERO"));
    EXPECT_EQ(eval(QStringLiteral("APPNAME")), QStringLiteral("STRING:TestApp"));
}

TEST_F(DataFieldTest, ADestroyedDataSetReadsAsNull)
{
    auto* gone = new TMemDataSet;
    gone->SetName(QStringLiteral("Gone"));
    gone->DefineField(QStringLiteral("V"), TFieldType::ftInteger);
    gone->AppendRecord({5});
    gone->Open();
    TBRDataSetList one{gone};
    TBREvaluator e;
    e.UseDataSets(&one);
    e.Compile(QStringLiteral("Gone.V + 1"));
    EXPECT_EQ(brp::describe(e.CurrentValue()), QStringLiteral("INTEGER:6"));
    delete gone;
    EXPECT_EQ(brp::describe(e.CurrentValue()), QStringLiteral("INTEGER:1"));
}
