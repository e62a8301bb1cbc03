// The built brptool's eval command, run as a process.
#include <gtest/gtest.h>

#include "BrptoolRun.h"
#include "ListingInputs.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

ToolRun brptool(const QStringList& args)
{
    return brp::runBrptool(QStringList{QStringLiteral("eval")} + args);
}

} // namespace

TEST(BrptoolEval, PrintsKindAndText)
{
    const ToolRun r = brptool({QStringLiteral("2+3*4")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("INTEGER 14\n"));
    EXPECT_EQ(brptool({QStringLiteral("--locale"), QStringLiteral("pt_BR"), QStringLiteral("1.5 * 3")}).out,
              QStringLiteral("FLOAT 4,5\n"));
    EXPECT_EQ(brptool({QStringLiteral("PAGNUMBER")}).out, QStringLiteral("ERROR Unknown function : PAGNUMBER\n"));
    EXPECT_EQ(brptool({}).exitCode, 2);
    const ToolRun badLocale = brptool({QStringLiteral("--locale"), QStringLiteral("xx_Nowhere"), QStringLiteral("1.5")});
    EXPECT_EQ(badLocale.exitCode, 2);
    EXPECT_TRUE(badLocale.err.contains(QStringLiteral("unknown locale"))) << badLocale.err.toStdString();
    EXPECT_EQ(brptool({QStringLiteral("--locale"), QStringLiteral("C"), QStringLiteral("1.5")}).out,
              QStringLiteral("FLOAT 1.5\n"));
}

TEST(BrptoolEval, WalksTheRowsOfACsvFile)
{
    QTemporaryDir dir;
    const QString csv = brp::writeFile(dir, QStringLiteral("pedidos.csv"),
                                  "NUMERO:integer,TOTALPEDIDO:float,CLIENTE\n"
                                  "1,10.5,\"Silva, Ana\"\n"
                                  "2,,Bia\n"
                                  "3,2.25,\"Diz \"\"Oi\"\"\"\n");
    const QString data = QStringLiteral("QryRel=") + csv;
    ToolRun r = brptool({QStringLiteral("--data"), data, QStringLiteral("SUM(QryRel.TOTALPEDIDO)")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("row 1: FLOAT 10.5\nrow 2: FLOAT 10.5\nrow 3: FLOAT 12.75\n"));
    r = brptool({QStringLiteral("--data"), data, QStringLiteral("[CLIENTE] + '/' + STR(COUNT)")});
    EXPECT_EQ(r.out, QStringLiteral("row 1: STRING Silva, Ana/1\nrow 2: STRING Bia/2\nrow 3: STRING Diz \"Oi\"/3\n"));

    // Lines ended by CR alone, as old Mac files are, and by CR LF.
    for (const char* text : {"N:integer,C\r1,Ação\r2,b\r", "N:integer,C\r\n1,Ação\r\n2,b\r\n"}) {
        const QString other = brp::writeFile(dir, QStringLiteral("cr.csv"), text);
        r = brptool({QStringLiteral("--data"), QStringLiteral("Q=") + other, QStringLiteral("STR(Q.N) + Q.C")});
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_EQ(r.out, QStringLiteral("row 1: STRING 1Ação\nrow 2: STRING 2b\n"));
    }
}

TEST(BrptoolEval, BadCsvNamesTheLine)
{
    QTemporaryDir dir;
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"A:integer\n1\nx\n", ":3: field 1: 'x' is not a valid integer"},
        {"A,B\n1,2\n3\n", ":3: expected 2 fields, found 1"},
        {"A:money\n1\n", ":1: unknown field type 'money'"},
        {"A\n\"open\n", ":2: unterminated quoted field"},
        {"D:date\n31/02/2005\n", ":2: field 1: '31/02/2005' is not a valid date"},
        {"A,B,a:integer\n1,2,3\n", ":1: field name 'a' appears twice"},
        {"A\nok\n\xC3\xA7\xC3\n", ":3: not valid UTF-8"},
        {"A:integer\r1\r\rx\r", ":4: field 1: 'x' is not a valid integer"}, // CR-only line ends
        // Numbers and dates no report can print.
        {"A:float\n1.5\ninf\n", ":3: field 1: 'inf' is not a valid float"},
        {"A:float\n-inf\n", ":2: field 1: '-inf' is not a valid float"},
        {"A:float\n nan\n", ":2: field 1: ' nan' is not a valid float"},
        {"D:date\n-0001-01-01\n", ":2: field 1: '-0001-01-01' is not a valid date"},
        {"D:date\n01/01/2000\n05/03/-2024\n", ":3: field 1: '05/03/-2024' is not a valid date"},
    };
    for (const auto& c : cases) {
        const QString csv = brp::writeFile(dir, QStringLiteral("bad.csv"), c.text);
        const ToolRun r = brptool({QStringLiteral("--data"), QStringLiteral("Q=") + csv, QStringLiteral("1")});
        EXPECT_EQ(r.exitCode, 1) << c.text;
        EXPECT_TRUE(r.err.contains(csv + QString::fromLatin1(c.message))) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
}
