// Operators, precedence, literals, unification and every compile and operator
// error, evaluated under a pinned locale.
#include "ExprFixture.h"

namespace {

struct Case {
    const char* expr;
    const char* expected;
};

// Under en_US.
const Case kCases[] = {
    // precedence and the swap rule
    {"2+3*4", "INTEGER:14"},
    {"10-4-3", "INTEGER:3"},
    {"10-2+3", "INTEGER:11"},
    {"2*3/4", "FLOAT:1.5"},
    {"7/2", "FLOAT:3.5"},
    {"8/2", "FLOAT:4"},
    {"8/2*2", "FLOAT:8"},
    {"8/2/2", "FLOAT:2"},
    {"(2+3)*4", "INTEGER:20"},
    {" 2 + 3 ", "INTEGER:5"},
    // unary signs and the blank-operand trap
    {"1+-2", "INTEGER:-1"},
    {"1 + -2", "ERROR:Error in expression :  "},
    {"-2+3", "INTEGER:1"},
    {"-(2+3)", "INTEGER:-5"},
    {"+5", "INTEGER:5"},
    {"2*-3", "ERROR:Illegal character in numeric contant \"2*\""},
    // 32-bit wrap-around and integer literals beyond it
    {"2147483647+1", "INTEGER:-2147483648"},
    {"-2147483647-2", "INTEGER:2147483647"},
    {"65536*65536", "INTEGER:0"},
    {"2147483648", "FLOAT:2147483648"},
    {"007", "INTEGER:7"},
    // float literals and their errors
    {"1.5", "FLOAT:1.5"},
    {"1E5", "FLOAT:100000"},
    {"1e3+1", "FLOAT:1001"},
    {"1E-5", "ERROR:Illegal character in numeric contant \"1E\""},
    {"1,5", "ERROR:Illegal character in numeric contant \"1,5\""},
    {"12abc", "ERROR:Illegal character in numeric contant \"12abc\""},
    {"1.2.3", "ERROR:Illegal character in numeric contant \"1.2.3\""},
    {"1E999", "ERROR:Illegal character in numeric contant \"1E999\""},
    // strings
    {"'it''s'", "STRING:it''s"},
    {"''", "STRING:"},
    {"", "STRING: "},
    {"'abc' + 'x'", "STRING:abcx"},
    {"'a' + 'b'='ab'", "BOOLEAN:True"},
    // unification
    {"1 + 'a'", "STRING:1a"},
    {"'x' + 1.5", "STRING:x1.5"},
    {"1.5 + 1", "FLOAT:2.5"},
    {"5 = 5.0", "BOOLEAN:True"},
    {"TRUE = 'True'", "BOOLEAN:True"},
    {"TRUE + 'x'", "STRING:Truex"},
    // comparisons
    {"'abc' < 'abd'", "BOOLEAN:True"},
    {"'a' < 'B'", "BOOLEAN:False"},
    {"'ab' < 'abc'", "BOOLEAN:True"},
    {"'b' >= 'a'", "BOOLEAN:True"},
    {"'a' <> 'A'", "BOOLEAN:True"},
    {"2 <= 2", "BOOLEAN:True"},
    {"3 > 2.5", "BOOLEAN:True"},
    {"TRUE <> FALSE", "BOOLEAN:True"},
    {"1 < 2 < 3", "ERROR:Illegal character in numeric contant \"2 < 3\""},
    // not, or, and
    {"not (1 > 2)", "BOOLEAN:True"},
    {"NOT TRUE", "BOOLEAN:False"},
    {"not 5", "ERROR:Invalid use of NOT"},
    {"not", "ERROR:Invalid use of NOT"},
    {"6 or 1", "INTEGER:7"},
    {"6 AND 3", "INTEGER:2"},
    {"TRUE or FALSE", "BOOLEAN:True"},
    {"TRUE and FALSE", "BOOLEAN:False"},
    {"1 > 2 or TRUE", "ERROR:Operator OR is not compatible with string expressions"},
    {"1.5 or 1", "ERROR:Operator OR is not compatible with numeric expressions"},
    {"'a' or 'b'", "ERROR:Operator OR is not compatible with string expressions"},
    {"1.5 and 1", "ERROR:Operator AND is not compatible with numeric expressions"},
    {"'a' and 'b'", "ERROR:Operator AND is not compatible with string expressions"},
    // operator and kind mismatches
    {"TRUE < FALSE", "ERROR:Operator < is not compatible with boolean expressions"},
    {"TRUE <= FALSE", "ERROR:Operator <= is not compatible with boolean expressions"},
    {"TRUE > FALSE", "ERROR:Operator > is not compatible with boolean expressions"},
    {"TRUE >= FALSE", "ERROR:Operator >= is not compatible with boolean expressions"},
    {"TRUE + TRUE", "ERROR:Cannot add boolean expressions"},
    {"'a' - 'b'", "ERROR:Cannot subtract string expressions"},
    {"TRUE - TRUE", "ERROR:Cannot subtract boolean expressions"},
    {"'a' * 'b'", "ERROR:Cannot multiply string expressions"},
    {"TRUE * TRUE", "ERROR:Cannot multiply boolean expressions"},
    {"'a' / 'b'", "ERROR:Cannot divide string expressions"},
    {"TRUE / TRUE", "ERROR:Cannot divide boolean expressions"},
    {"1/0", "ERROR:Cannot divide by 0"},
    {"1.5/0", "ERROR:Cannot divide by 0"},
    // the first error met wins
    {"FOO + 1/0", "ERROR:Unknown function : FOO"},
    {"1/0 + FOO", "ERROR:Cannot divide by 0"},
    // compile errors
    {"'abc", "ERROR:Missing '"},
    {"'", "ERROR:Missing '"},
    {"(1+2", "ERROR:Missing )"},
    {"[QTD", "ERROR:Missing ]"},
    {"#", "ERROR:Error in expression : #"},
    {"()", "ERROR:Error in expression : "},
    {"1+", "ERROR:Illegal character in numeric contant \"1+\""},
    {"pagnumber", "ERROR:Unknown function : PAGNUMBER"},
    {"SUM (1)", "ERROR:Unknown function : SUM "},
    {"FOO(1)", "ERROR:Unknown function : FOO"},
    {"ABC(", "ERROR:Unknown function : "},
    {"[NO SUCH]", "ERROR:Unknown function : NO SUCH"},
};

} // namespace

TEST_F(ExprTest, OperatorsLiteralsAndErrors)
{
    for (const Case& c : kCases)
        EXPECT_EQ(eval(QString::fromUtf8(c.expr)), QString::fromUtf8(c.expected)) << c.expr;
}

TEST_F(ExprTest, DecimalSeparatorFollowsTheLocale)
{
    struct LocaleCase {
        const char* expr;
        const char* en;
        const char* pt;
    };
    const LocaleCase cases[] = {
        {"1.5", "FLOAT:1.5", "FLOAT:1,5"},
        {"1,5", "ERROR:Illegal character in numeric contant \"1,5\"", "ERROR:Illegal character in numeric contant \"1,5\""},
        {"'x' + 2.25", "STRING:x2.25", "STRING:x2,25"},
        {"STR(0.1 * 3)", "STRING:0.3", "STRING:0,3"},
        {"1E20 * 10", "FLOAT:1E21", "FLOAT:1E21"},
        {"1/3", "FLOAT:0.333333333333333", "FLOAT:0,333333333333333"},
        {"0.00001 * 1", "FLOAT:1E-5", "FLOAT:1E-5"},
    };
    for (const LocaleCase& c : cases) {
        UseLocale("en_US");
        EXPECT_EQ(eval(QString::fromUtf8(c.expr)), QString::fromUtf8(c.en)) << c.expr;
        UseLocale("pt_BR");
        EXPECT_EQ(eval(QString::fromUtf8(c.expr)), QString::fromUtf8(c.pt)) << c.expr;
    }
    UseLocale("pt_BR");
    TBREvaluator e;
    e.Compile(QStringLiteral("1.5"));
    EXPECT_DOUBLE_EQ(e.CurrentValue().FloatValue, 1.5);
}

TEST_F(ExprTest, TextsAreCutTo255Characters)
{
    const QString a(200, u'a'), b(200, u'b');
    TBREvaluator e;
    e.Compile(u'\'' + a + QStringLiteral("' + '") + b + u'\'');
    const TBREvValue v = e.CurrentValue();
    EXPECT_EQ(v.ValueKind, evString);
    EXPECT_EQ(v.TextValue, a + b.left(55));
    // A factor is read as at most 255 characters, so a longer literal loses its closing quote.
    EXPECT_EQ(eval(u'\'' + QString(300, u'x') + u'\''), QStringLiteral("ERROR:Missing '"));
}

TEST_F(ExprTest, EvaluatorLifecycle)
{
    TBREvaluator e;
    EXPECT_FALSE(e.Compiled());
    try {
        e.CurrentValue();
        FAIL() << "no exception";
    } catch (const ExpressionError& err) {
        EXPECT_EQ(err.Message(), QStringLiteral("Evaluator not prepared"));
    }
    EXPECT_THROW(e.Accumulate(), ExpressionError);

    const int before = GlobalEnvironment().UseCount();
    e.Compile(QStringLiteral("1"));
    e.Compile(QStringLiteral("2"));   // releases the first compilation
    EXPECT_EQ(GlobalEnvironment().UseCount(), before == 0 ? 4 : before + 1);
    EXPECT_EQ(brp::describe(e.CurrentValue()), QStringLiteral("INTEGER:2"));
    e.Release();
    EXPECT_FALSE(e.Compiled());
    EXPECT_EQ(brp::describe(e.EvaluateOnce(QStringLiteral("3*3"))), QStringLiteral("INTEGER:9"));
    EXPECT_FALSE(e.Compiled());

    // A self-created data-set list lives with the evaluator; a given one is not taken over.
    TBRDataSetList* own = e.DataSetList();
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(e.DataSetList(), own);
    TBRDataSetList mine;
    e.UseDataSets(&mine);
    EXPECT_EQ(e.DataSetList(), &mine);
    e.UseDataSets(nullptr);
}

TEST_F(ExprTest, DeepNestingIsRefusedNotOverflowed)
{
    QString chain = QStringLiteral("1");
    for (int i = 0; i < 5000; ++i)
        chain += QStringLiteral("+1");
    EXPECT_EQ(eval(chain), QStringLiteral("ERROR:Expression too complex"));
    QString ok = QStringLiteral("1");
    for (int i = 0; i < 500; ++i)
        ok += QStringLiteral("+1");
    EXPECT_EQ(eval(ok), QStringLiteral("INTEGER:501"));
}
