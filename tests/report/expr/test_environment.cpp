// Environments: names, the scope and global lookup, stored report values,
// recursion, and the compile/release counting.
#include "ExprFixture.h"
#include "TMemDataSet.h"

#include <QGuiApplication>

namespace {

class EnvironmentTest : public ExprTest {
protected:
    void SetUp() override
    {
        ExprTest::SetUp();
        env = std::make_unique<TBREvEnvironment>();
        env->Define(QStringLiteral("PAGENUMBER"), QStringLiteral("0"));
        env->Define(QStringLiteral("COLUMNNUMBER"), QStringLiteral("0"));
        env->Define(QStringLiteral("ReportTitle"), QStringLiteral("''"));
    }
    void TearDown() override
    {
        env.reset();
        ExprTest::TearDown();
    }
    std::unique_ptr<TBREvEnvironment> env;
};

} // namespace

TEST_F(EnvironmentTest, StoredValuesReachCompiledExpressions)
{
    env->CompileAll();
    TBREvaluator page;
    page.SetScope(env.get());
    page.Compile(QStringLiteral("'Página ' + STR(PAGENUMBER)"));
    TBREvaluator title;
    title.SetScope(env.get());
    title.Compile(QStringLiteral("REPORTTITLE"));
    EXPECT_EQ(brp::describe(page.CurrentValue()), QStringLiteral("STRING:Página 0"));

    TBREvElement* pageNumber = env->ConstantElement(QStringLiteral("pagenumber"));
    ASSERT_NE(pageNumber, nullptr);
    env->StoreInteger(pageNumber, 2);
    EXPECT_EQ(brp::describe(page.CurrentValue()), QStringLiteral("STRING:Página 2"));
    env->StoreValue(pageNumber, TBREvValue::Float(2.5));
    EXPECT_EQ(brp::describe(page.CurrentValue()), QStringLiteral("STRING:Página 2.5"));
    TBREvValue longText;   // a text assigned past the setters' limit
    longText.ValueKind = evString;
    longText.TextValue = QString(300, u'x');
    env->StoreValue(pageNumber, longText);
    TBREvaluator raw;
    raw.SetScope(env.get());
    raw.Compile(QStringLiteral("PAGENUMBER"));
    EXPECT_EQ(raw.CurrentValue().TextValue.size(), 255);
    env->StoreInteger(pageNumber, 2);

    TBREvElement* reportTitle = env->ConstantElement(QStringLiteral("REPORTTITLE"));
    env->StoreText(reportTitle, QStringLiteral("Listagem"));
    EXPECT_EQ(brp::describe(title.CurrentValue()), QStringLiteral("STRING:Listagem"));
    env->StoreValue(reportTitle, TBREvValue::Integer(5));   // not a text: ignored
    env->StoreInteger(reportTitle, 5);                     // not a constant: ignored
    EXPECT_EQ(brp::describe(title.CurrentValue()), QStringLiteral("STRING:Listagem"));
    EXPECT_EQ(brp::describe(env->ValueOf(QStringLiteral("ReportTitle"))), QStringLiteral("STRING:Listagem"));
    EXPECT_EQ(brp::describe(env->ValueOf(QStringLiteral("NOPE"))), QStringLiteral("ERROR:Unknown function : NOPE"));

    EXPECT_EQ(env->ConstantElement(QStringLiteral("NOPE")), nullptr);
    env->ReleaseAll();
    EXPECT_EQ(env->ConstantElement(QStringLiteral("PAGENUMBER")), nullptr);
}

TEST_F(EnvironmentTest, AFormulaIsNoLongerUpdatedByStoreInteger)
{
    TBREvEnvironment edited;
    edited.Define(QStringLiteral("PAGENUMBER"), QStringLiteral("1 + 1"));
    edited.CompileAll();
    edited.StoreInteger(edited.ConstantElement(QStringLiteral("PAGENUMBER")), 7);
    EXPECT_EQ(brp::describe(edited.ValueOf(QStringLiteral("PAGENUMBER"))), QStringLiteral("INTEGER:2"));
    edited.ReleaseAll();
}

TEST_F(EnvironmentTest, NamesAcrossScopeAndGlobalAndRecursion)
{
    env->Define(QStringLiteral("X"), QStringLiteral("X + 1"));
    env->Define(QStringLiteral("A"), QStringLiteral("B"));
    env->Define(QStringLiteral("B"), QStringLiteral("A * 2"));
    env->Define(QStringLiteral("Y"), QStringLiteral("Z * 2"));
    env->Define(QStringLiteral("Z"), QStringLiteral("3"));
    env->Define(QStringLiteral("Z"), QStringLiteral("4"));   // an existing name keeps its text
    env->Define(QStringLiteral("W"), QStringLiteral("AppName + '!'"));
    env->CompileAll();
    const struct {
        const char* expr;
        const char* expected;
    } cases[] = {
        {"X", "ERROR:Recursive calls not allowed"},
        {"1 + X", "ERROR:Recursive calls not allowed"},
        {"A", "ERROR:Recursive calls not allowed"},
        {"Y + 1", "INTEGER:7"},
        {"W", "STRING:TestApp!"},
        {"APPNAME", "STRING:TestApp"},
        {"AppStartDate", "STRING:3/15/26"},
        {"AppStartTime", "STRING:2:05:09 PM"},
        {"COLUMNNUMBER", "INTEGER:0"},
        {"PAGNUMBER", "ERROR:Unknown function : PAGNUMBER"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(eval(QString::fromUtf8(c.expr), nullptr, env.get()), QString::fromUtf8(c.expected)) << c.expr;

    // A name defined during a run is usable at once.
    env->Define(QStringLiteral("LATE"), QStringLiteral("Y * 10"));
    EXPECT_EQ(eval(QStringLiteral("LATE"), nullptr, env.get()), QStringLiteral("INTEGER:60"));
    EXPECT_EQ(env->Strings().last(), QStringLiteral("LATE"));
    EXPECT_EQ(env->Data().last(), QStringLiteral("Y * 10"));
    env->ReleaseAll();
}

TEST_F(EnvironmentTest, UndefinedOrUncompiledNames)
{
    TBREvaluator e;
    e.SetScope(env.get());
    e.Compile(QStringLiteral("PAGENUMBER"));
    // The report's environment is not compiled: its names cannot be computed.
    EXPECT_THROW(e.CurrentValue(), ExpressionError);
    env->CompileAll();
    EXPECT_EQ(brp::describe(e.CurrentValue()), QStringLiteral("INTEGER:0"));
    // Undefining a name that compiled expressions still hold must not leave them dangling.
    env->Undefine(QStringLiteral("pagenumber"));
    EXPECT_EQ(brp::describe(e.CurrentValue()), QStringLiteral("ERROR:Unknown function : PAGENUMBER"));
    env.reset();
    EXPECT_EQ(brp::describe(e.CurrentValue()), QStringLiteral("ERROR:Unknown function : PAGENUMBER"));
}

TEST_F(EnvironmentTest, AggregatesInNamedExpressionsNeverAccumulate)
{
    TMemDataSet data;
    data.SetName(QStringLiteral("T"));
    data.DefineField(QStringLiteral("V"), TFieldType::ftInteger);
    data.AppendRecord({5});
    data.Open();
    TBRDataSetList list{&data};
    env->UseDataSets(&list);
    env->Define(QStringLiteral("TOTAL"), QStringLiteral("SUM(V)"));
    env->CompileAll();
    TBREvaluator e;
    e.UseDataSets(&list);
    e.SetScope(env.get());
    e.Compile(QStringLiteral("TOTAL + SUM(V)"));
    e.Accumulate();
    e.Accumulate();
    EXPECT_EQ(brp::describe(e.CurrentValue()), QStringLiteral("INTEGER:10"));
    env->ReleaseAll();
}

TEST_F(EnvironmentTest, UseCountAndTheGlobalReleaseFlag)
{
    EXPECT_FALSE(env->IsCompiled());
    env->CompileAll();
    env->CompileAll();
    EXPECT_EQ(env->UseCount(), 2);
    TBREvEnvironment& global = GlobalEnvironment();
    const int globalUse = global.UseCount();
    EXPECT_TRUE(global.IsCompiled());
    env->ReleaseAll();
    EXPECT_TRUE(env->IsCompiled());
    env->ReleaseAll();
    EXPECT_FALSE(env->IsCompiled());
    // The entries' releases while the environment releases them are ignored by
    // the global environment, which stays compiled.
    EXPECT_EQ(global.UseCount(), globalUse);
    env->ReleaseAll();   // one release too many changes nothing
    EXPECT_EQ(env->UseCount(), 0);

    TBREvEnvironment streamed;
    streamed.SetDefinitions({QStringLiteral("PageNumber"), QStringLiteral("BRSTRINGSBAND1")},
                            {QStringLiteral("0"), QStringLiteral("''")});
    EXPECT_EQ(streamed.Strings(), QStringList({QStringLiteral("PAGENUMBER"), QStringLiteral("BRSTRINGSBAND1")}));
    EXPECT_EQ(streamed.Data(), QStringList({QStringLiteral("0"), QStringLiteral("''")}));
}

TEST_F(ExprTest, EngineStartedOnFirstUseNamesTheApplication)
{
    brp::StopExpressionEngine();
    TBREvaluator e;
    e.Compile(QStringLiteral("APPNAME"));   // starts the engine
    EXPECT_EQ(brp::describe(e.CurrentValue()), QStringLiteral("STRING:") + QGuiApplication::applicationDisplayName());
    EXPECT_EQ(eval(QStringLiteral("TYPEOF(APPSTARTTIME)")), QStringLiteral("STRING:STRING"));
}
