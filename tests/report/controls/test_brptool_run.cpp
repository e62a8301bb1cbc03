// brptool run: a report definition over CSV data into saved pages or a PDF,
// and the clear refusals of bad definitions, data and arguments.
#include "BrptoolRun.h"
#include "RecordedPage.h"
#include "TBRPageList.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const char* const kListing = R"(object Rel: TBandReport
  Units = MM
  Page.Values = (100.0 2970.0 100.0 2100.0 100.0 100.0 0.0)
  Page.PaperSize = A4
  DataSet = QryRel
  object Cab: TBRBand
    BandType = rbPageHeader
    Size.Values = (100.0 1900.0)
    object Titulo: TBRLabel
      Caption = 'Listagem'
      Size.Values = (50.0 0.0 0.0 500.0)
    end
  end
  object Det: TBRBand
    BandType = rbDetail
    Size.Values = (50.0 1900.0)
    object Nome: TBRDBText
      DataSet = QryRel
      DataField = 'NOME'
      Size.Values = (45.0 0.0 0.0 600.0)
    end
    object Valor: TBRDBText
      DataSet = QryRel
      DataField = 'VALOR'
      Mask = '0.00'
      Size.Values = (45.0 700.0 0.0 400.0)
    end
  end
end
)";

QString write(const QTemporaryDir& dir, const QString& name, const QByteArray& text)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(text);
    return path;
}

QByteArray rows(int n)
{
    QByteArray csv = "NOME,VALOR:float\n";
    for (int i = 1; i <= n; ++i)
        csv += "Cliente " + QByteArray::number(i) + "," + QByteArray::number(i) + ".5\n";
    return csv;
}

ToolRun run(const QStringList& args)
{
    return runBrptool(QStringList{QStringLiteral("run")} + args);
}

} // namespace

TEST(BrptoolRun, GeneratesThePagesOfADefinitionOverCsvData)
{
    QTemporaryDir dir;
    const QString def = write(dir, "rel.dfm", kListing);
    const QString csv = write(dir, "q.csv", rows(60));
    for (const bool compress : {false, true}) {
        const QString out = dir.filePath(compress ? "c.BRP" : "p.BRP");
        QStringList args{def, "--data", "QryRel=" + csv, "--out", out};
        if (compress)
            args << "--compress";
        const ToolRun r = run(args);
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_FALSE(r.err.contains("pages:")) << "quiet when not on a terminal";
        TBRPageList pages;
        pages.OpenFile(out);
        EXPECT_EQ(pages.Compressed(), compress);
        // 2770 of body: the header takes 100, then 53 rows of 50.
        ASSERT_EQ(pages.Count(), 2);
        const QStringList first = RecordedPage::Read(pages.FetchPage(1).value()).Texts();
        EXPECT_EQ(first.mid(0, 3), (QStringList{"Listagem", "Cliente 1", "1.50"}));
        const QStringList second = RecordedPage::Read(pages.FetchPage(2).value()).Texts();
        EXPECT_EQ(second.mid(0, 2), (QStringList{"Listagem", "Cliente 54"}));
        EXPECT_EQ(second.last(), "60.50");
    }
    const QString pdf = dir.filePath("rel.pdf");
    const ToolRun r = run({def, "--data", "QryRel=" + write(dir, "q.csv", rows(3)), "--out", pdf});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    QFile f(pdf);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.read(5) == "%PDF-");
}

TEST(BrptoolRun, RefusesBadInputWithAClearMessage)
{
    QTemporaryDir dir;
    const QString def = write(dir, "rel.dfm", kListing);
    const QString csv = write(dir, "q.csv", rows(3));
    const QString out = dir.filePath("o.BRP");
    struct Case {
        QStringList args;
        int exit;
        QString message;
    } cases[] = {
        {{def, "--out", out}, 1, "QryRel, which does not exist"},
        {{def, "--data", "QryRel=" + write(dir, "r.csv", "NOME,VALOR:float\na,1\nb\n"), "--out", out}, 1, "r.csv:3"},
        {{def, "--data", "QryRel=" + write(dir, "t.csv", "NOME,VALOR:float\na,x\n"), "--out", out}, 1, "t.csv:2"},
        {{def, "--report", "Outro", "--data", "QryRel=" + csv, "--out", out}, 1, "no report named Outro"},
        {{write(dir, "bad.dfm", "object X: TNoSuchClass\nend\n"), "--out", out}, 1, "holds no report"},
        {{dir.filePath("missing.dfm"), "--out", out}, 1, "cannot read"},
        {{def, "--data", "QryRel=" + csv}, 2, "--out"},
        {{def, "--data", "QryRel", "--out", out}, 2, "NAME=FILE.csv"},
        {{def, "--bogus", "--out", out}, 2, "unknown option"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const ToolRun r = run(c.args);
        EXPECT_EQ(r.exitCode, c.exit);
        EXPECT_TRUE(r.err.contains(c.message)) << r.err.toStdString();
    }
}

TEST(BrptoolRun, MissingFieldAndBadExpressionPrintTheirErrorTextInsteadOfFailing)
{
    QTemporaryDir dir;
    QByteArray text = kListing;
    text.replace("DataField = 'VALOR'", "DataField = 'NOSUCH'");
    text.replace("    object Valor: TBRDBText", "    object Conta: TBRExpr\n"
                                              "      Expression = 'QryRel.NOME +'\n"
                                              "      Size.Values = (45.0 1200.0 0.0 600.0)\n"
                                              "    end\n"
                                              "    object Valor: TBRDBText");
    const QString out = dir.filePath("o.BRP");
    const ToolRun r = run({write(dir, "rel.dfm", text), "--data", "QryRel=" + write(dir, "q.csv", rows(2)), "--out", out});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    TBRPageList pages;
    pages.OpenFile(out);
    const QStringList texts = RecordedPage::Read(pages.FetchPage(1).value()).Texts();
    EXPECT_TRUE(texts.contains("Cliente 2")) << texts.join('|').toStdString();
    EXPECT_EQ(texts.filter("Unknown function").size(), 2) << texts.join('|').toStdString();
}

TEST(BrptoolRun, ExportsThroughTheFilterOfTheOutputsExtension)
{
    QTemporaryDir dir;
    const QString def = write(dir, "rel.dfm", kListing);
    const QString csv = write(dir, "q.csv", "NOME,VALOR:float\n\"Silva, Souza\",1.5\nPão,2\n");
    ToolRun r = run({def, "--data", "QryRel=" + csv, "--out", dir.filePath("o.csv")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QFile out(dir.filePath("o.csv"));
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    EXPECT_EQ(out.readAll(), QByteArray("\xEF\xBB\xBF\"Silva, Souza\",1.50\r\nPão,2.00\r\n"));

    r = run({def, "--data", "QryRel=" + write(dir, "m.csv", rows(60)), "--out", dir.filePath("o.txt")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QFile txt(dir.filePath("o.txt"));
    ASSERT_TRUE(txt.open(QIODevice::ReadOnly));
    const QByteArray text = txt.readAll();
    EXPECT_EQ(text.count('\f'), 1) << "two pages";
    EXPECT_TRUE(text.contains("Cliente 60")) << text.toStdString();

    // A folder it cannot write to: the reason, exit 1, nothing left.
    for (const char* name : {"none/o.csv", "none/o.txt", "none/o.pdf"}) {
        SCOPED_TRACE(name);
        r = run({def, "--data", "QryRel=" + csv, "--out", dir.filePath(name)});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.err.contains("Cannot create")) << r.err.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("none")));
}

// Definitions as careless editors and attackers write them: Windows-1252
// text, CR line ends, nesting deep enough to exhaust the stack.
TEST(BrptoolRun, ReadsWindows1252AndCrLinesAndRefusesDeepNesting)
{
    QTemporaryDir dir;
    const QString csv = write(dir, "q.csv", rows(2));
    QByteArray latin = kListing;
    latin.replace("Caption = 'Listagem'", "Caption = 'Rela\xe7\xe3o \xdcn\xef" "c\xf6" "d\xe9'");
    QByteArray crOnly = kListing;
    crOnly.replace('\n', '\r');
    crOnly.replace("Size.Values = (50.0 0.0 0.0 500.0)", "Size.Values = @");
    QByteArray deep = kListing;
    deep.replace("Caption = 'Listagem'", "Caption = " + QByteArray(30000, '('));

    const QString out = dir.filePath("o.BRP");
    ToolRun r = run({write(dir, "latin.dfm", latin), "--data", "QryRel=" + csv, "--out", out});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    TBRPageList pages;
    pages.OpenFile(out);
    EXPECT_EQ(RecordedPage::Read(pages.FetchPage(1).value()).Texts().value(0), QStringLiteral("Relação Ünïcödé"));

    struct Case {
        QString file;
        QString message;
    } cases[] = {
        {write(dir, "cr.dfm", crOnly), "line 11:"},
        {write(dir, "deep.dfm", deep), "line 10: nested deeper than"},
    };
    for (const Case& c : cases) {
        const QList<QStringList> commands = {{"run", c.file, "--data", "QryRel=" + csv, "--out", dir.filePath("x.BRP")},
                                             {"layout", c.file}};
        for (const QStringList& args : commands) {
            SCOPED_TRACE(args.join(' ').toStdString());
            r = runBrptool(args);
            EXPECT_EQ(r.exitCode, 1);
            EXPECT_TRUE(r.err.contains(c.message)) << r.err.toStdString();
        }
    }
}

// A band printed on every page (page and column headers, page footers and
// their child bands) that cannot fit on one page ends the run with a message
// naming it, instead of printing itself again on every page it spills onto.
TEST(BrptoolRun, ABandPrintedOnEveryPageThatCannotFitOnOneFailsTheRun)
{
    QTemporaryDir dir;
    const QString csv = write(dir, "q.csv", rows(60));
    QByteArray words;
    for (int i = 0; i < 1500; ++i)
        words += "palavra" + QByteArray::number(i) + ' ';
    // The page header's label, made to stretch over a text of some pages.
    const QByteArray stretching = "      AutoSize = False\n      AutoStretch = True\n      Caption = '" + words + "'\n";
    QByteArray header = kListing;
    header.replace("      Caption = 'Listagem'\n", stretching);
    QByteArray column = header;
    column.replace("BandType = rbPageHeader", "BandType = rbColumnHeader");
    QByteArray footer = header;
    footer.replace("BandType = rbPageHeader", "BandType = rbPageFooter");
    QByteArray footerChild = kListing;
    footerChild.replace("BandType = rbPageHeader", "BandType = rbPageFooter");
    footerChild.replace("  object Det: TBRBand", "  object Filho: TBRChildBand\n    ParentBand = Cab\n    Size.Values = (50.0 1900.0)\n"
                                                 "    object Nota: TBRLabel\n" + stretching +
                                                 "      Size.Values = (45.0 0.0 0.0 1800.0)\n    end\n  end\n"
                                                 "  object Det: TBRBand");
    QByteArray tall = kListing;
    tall.replace("    Size.Values = (100.0 1900.0)", "    Size.Values = (2800.0 1900.0)"); // the body is 2770
    QByteArray fits = kListing;
    fits.replace("      Caption = 'Listagem'\n", "      AutoSize = False\n      AutoStretch = True\n"
                                                  "      Caption = '" + words.left(600) + "'\n");
    struct Case {
        const char* name;
        QByteArray definition;
        QString message; // empty: the run succeeds
    } cases[] = {
        {"page header", header, "Band Cab (Page Header) does not fit on one page"},
        {"column header", column, "Band Cab (Column Header) does not fit on one page"},
        {"page footer", footer, "Band Cab (Page Footer) does not fit on one page"},
        {"page footer's child", footerChild, "Band Filho (Page Footer) does not fit on one page"},
        {"page header taller than the page", tall, "Band Cab (Page Header) does not fit on one page"},
        {"page header that grows but fits", fits, QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString out = dir.filePath("o.BRP");
        QFile::remove(out);
        const ToolRun r = run({write(dir, "rel.dfm", c.definition), "--data", "QryRel=" + csv, "--out", out});
        if (c.message.isEmpty()) {
            ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
            TBRPageList pages;
            pages.OpenFile(out);
            EXPECT_LE(pages.Count(), 3) << "the header takes part of each page";
        } else {
            EXPECT_EQ(r.exitCode, 1);
            EXPECT_TRUE(r.err.contains("brptool run: " + c.message + '\n')) << r.err.toStdString();
            EXPECT_FALSE(QFileInfo::exists(out));
        }
    }
}
