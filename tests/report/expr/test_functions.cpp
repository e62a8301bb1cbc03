// The function library: registration, and each built-in function with its
// error cases.
#include "ExprFixture.h"

TEST_F(ExprTest, LibraryHoldsTheBuiltinsInOrder)
{
    const struct {
        const char* name;
        const char* help;
        const char* code;
    } expected[] = {
        {"IF", "IF(<Exp>, <X>, <Y>)|Returns <X> or <Y> depending on the boolean expression <Exp>", "5BVV"},
        {"STR", "STR(<X>)|Convert a numeric <X> to a string", "7N"},
        {"UPPER", "UPPER(<X>)|Converts a string to upper case letters", "7S"},
        {"LOWER", "LOWER(<X>)|Converts a string to lower case letters", "7S"},
        {"PRETTY", "PRETTY(<X>)|Makes the first character upper case and the rest lower case", "7S"},
        {"TIME", "TIME|Return current time as a string", "1"},
        {"DATE", "DATE|Return current date as a string", "1"},
        {"COPY", "COPY(<X>, <St>,<Len>)|Returns a substring of string X", "7SNN"},
        {"SUM", "SUM(<X>)|Sums the numeric <X>", "3N"},
        {"COUNT", "COUNT|Increments for each iteration", "3"},
        {"MAX", "MAX(<X>)|Returns the highest <X>", "3V"},
        {"MIN", "MIN(<X>)|Returns the lowest <X>", "3V"},
        {"AVERAGE", "AVERAGE(<X>)|Returns the average of numeric <X>", "3N"},
        {"TRUE", "TRUE|boolean value", "5"},
        {"FALSE", "FALSE|boolean value", "5"},
        {"INT", "INT(<X>)|Returns the integer part of <X>", "2N"},
        {"FRAC", "FRAC(<X>)|Returns the fractional part of <X>", "2N"},
        {"SQRT", "SQRT(<X>)|Returns square root of <X>", "2N"},
        {"DIV", "DIV(<X>, <Y>) | Integer division of <X> by <Y>", "2NN"},
        {"TYPEOF", "TYPEOF(<Exp>)|Returns the data type of <Exp>", "6N"},
        {"FORMATNUMERIC", "FORMATNUMERIC(<F>,<N>)|Formats numeric <N> using the mask in <F>", "7SN"},
    };
    TBRFunctionLibrary& lib = FunctionLibrary();
    ASSERT_EQ(lib.Count(), 21);
    for (int i = 0; i < 21; ++i) {
        const TBRLibraryEntry* e = lib.EntryAt(i);
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->FunctionName, QLatin1String(expected[i].name));
        EXPECT_EQ(e->HelpText, QLatin1String(expected[i].help));
        EXPECT_EQ(e->ArgumentCode, QLatin1String(expected[i].code));
        const int category = e->ArgumentCode.left(1).toInt();
        EXPECT_LT(category, brp::FunctionCategories().size());
    }
    EXPECT_EQ(lib.EntryAt(21), nullptr);
    EXPECT_EQ(brp::FunctionCategories().at(3), QStringLiteral("Statistical"));

    auto element = lib.CreateElement(QStringLiteral("sum"));
    EXPECT_NE(dynamic_cast<TBREvSumFunction*>(element.get()), nullptr);
    EXPECT_TRUE(element->AggregateFlag);
    auto unknown = lib.CreateElement(QStringLiteral("NOPE"));
    auto* err = dynamic_cast<TBREvElementError*>(unknown.get());
    ASSERT_NE(err, nullptr);
    EXPECT_EQ(err->Message, QStringLiteral("Unknown function : NOPE"));
}

TEST_F(ExprTest, BuiltinFunctions)
{
    const struct {
        const char* expr;
        const char* expected;
    } cases[] = {
        {"IF(1 > 2, 'a', 'b')", "STRING:b"},
        {"if(2 > 1, 'a', 'b')", "STRING:a"},
        {"IF(1, 'a', 'b')", "ERROR:Wrong arguments for IF"},
        {"IF(TRUE, 1)", "ERROR:Wrong arguments for IF"},
        {"IF(TRUE, 1/0, 2)", "ERROR:Cannot divide by 0"},
        {"IF(FALSE, 1/0, 2)", "INTEGER:2"},
        {"IF(TRUE, 'a,b', 'c')", "STRING:a,b"},
        {"IF(TRUE, (1,2), 3)", "ERROR:Illegal character in numeric contant \"1,2\""},
        {"TYPEOF(1)", "STRING:INTEGER"},
        {"TYPEOF(1.5)", "STRING:FLOAT"},
        {"TYPEOF('x')", "STRING:STRING"},
        {"TYPEOF(TRUE)", "STRING:BOOLEAN"},
        {"TYPEOF(FOO)", "STRING:ERROR"},
        {"TYPEOF()", "ERROR:Wrong arguments for TypeOf"},
        {"TYPEOF(1, 2)", "ERROR:Wrong arguments for TypeOf"},
        {"INT(-2.7)", "INTEGER:-2"},
        {"INT(5)", "INTEGER:5"},
        {"INT('5')", "ERROR:Wrong arguments for INT"},
        {"FRAC(-2.75)", "FLOAT:-0.75"},
        {"FRAC(3)", "FLOAT:0"},
        {"FRAC('a')", "ERROR:"},
        {"SQRT(16)", "FLOAT:4"},
        {"SQRT(-1)", "ERROR:Invalid argument to SQRT function"},
        {"SQRT('a')", "ERROR:Invalid argument to SQRT function"},
        {"SQRT()", "ERROR:Invalid argument to SQRT function"},
        {"DIV(7, 2)", "INTEGER:3"},
        {"DIV(-7, 2)", "INTEGER:-3"},
        {"DIV(2.5, 1)", "INTEGER:2"},
        {"DIV(3.5, 1)", "INTEGER:4"},
        {"DIV(1, 0)", "ERROR:Division by Zero"},
        {"DIV(1, 0.4)", "ERROR:Division by Zero"},
        {"DIV(1)", "ERROR:Wrong arguments for DIV"},
        {"DIV('7', 2)", "ERROR:Wrong arguments for DIV"},
        {"DIV(-2147483647-1,-1)", "INTEGER:-2147483648"},
        {"DIV(7, -2)", "ERROR:Wrong arguments for DIV"},   // the blank before the minus
        {"STR(TRUE)", "STRING:True"},
        {"STR(12)", "STRING:12"},
        {"STR(1.5)", "STRING:1.5"},
        {"STR(1E20)", "STRING:1E20"},
        {"STR('x')", "ERROR:Conversion error"},
        {"STR(FOO)", "ERROR:Conversion error"},
        {"STR()", "ERROR:Conversion error"},
        {"UPPER('abc')", "STRING:ABC"},
        {"LOWER('ABC')", "STRING:abc"},
        {"PRETTY('jOHN')", "STRING:John"},
        {"PRETTY('')", "STRING:"},
        {"UPPER()", "ERROR:Missing argument for UPPER"},
        {"LOWER('a', 'b')", "ERROR:Missing argument for LOWER"},
        {"PRETTY()", "ERROR:Missing argument for PRETTY"},
        {"UPPER(1)", "ERROR:"},
        {"UPPER(1/0)", "ERROR:Cannot divide by 0"},
        {"TIME", "STRING:2:05:09 PM"},
        {"TIME(1)", "ERROR:"},
        {"DATE", "STRING:3/15/26"},
        {"DATE(1)", "ERROR:"},
        {"COPY('abcdef', 0, 2)", "STRING:ab"},
        {"COPY('abcdef', 2, 3)", "STRING:bcd"},
        {"COPY('abcdef', 5, 10)", "STRING:ef"},
        {"COPY('abcdef', 7, 1)", "STRING:"},
        {"COPY('abcdef', 1,-1)", "STRING:"},
        {"COPY('abcdef', 1)", "ERROR:"},
        {"COPY('abcdef', '1', 2)", "ERROR:"},
        {"FORMATNUMERIC('#,##0.00', 1234.5)", "STRING:1,234.50"},
        {"FORMATNUMERIC('000', 7)", "STRING:007"},
        {"FORMATNUMERIC('0', 1E308 * 10)", "ERROR:Invalid format or value specified"},
        {"FORMATNUMERIC(1, 2)", "ERROR:"},
        {"FORMATNUMERIC('0')", "ERROR:"},
        {"FORMATNUMERIC('0', 'x')", "ERROR:"},
        {"TRUE", "BOOLEAN:True"},
        {"FALSE()", "BOOLEAN:False"},
        {"TRUE(1)", "ERROR:Too many arguments"},
        {"COUNT(1)", "ERROR:COUNT - Too many arguments"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(eval(QString::fromUtf8(c.expr)), QString::fromUtf8(c.expected)) << c.expr;
}

TEST_F(ExprTest, LocaleDependentFunctions)
{
    UseLocale("pt_BR");
    const struct {
        const char* expr;
        const char* expected;
    } cases[] = {
        {"UPPER('ação')", "STRING:AÇÃO"},
        {"LOWER('AÇÃO')", "STRING:ação"},
        {"PRETTY('jOÃO')", "STRING:João"},
        {"PRETTY('élan')", "STRING:Élan"},
        {"FORMATNUMERIC('#,##0.00', 1234.5)", "STRING:1.234,50"},
        {"STR(2.5)", "STRING:2,5"},
        {"DATE", "STRING:15/03/2026"},
        {"TIME", "STRING:14:05:09"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(eval(QString::fromUtf8(c.expr)), QString::fromUtf8(c.expected)) << c.expr;
}
