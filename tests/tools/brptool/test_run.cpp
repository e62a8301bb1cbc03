// brptool run: a report definition over CSV data into saved pages or a PDF,
// and the clear refusals of bad definitions, data and arguments.
#include "BrptoolRun.h"
#include "ListingInputs.h"
#include "RecordedPage.h"
#include "TBRPageList.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/resource.h>

namespace {

ToolRun run(const QStringList& args)
{
    return brp::runBrptool(QStringList{QStringLiteral("run")} + args);
}

} // namespace

TEST(BrptoolRun, GeneratesThePagesOfADefinitionOverCsvData)
{
    QTemporaryDir dir;
    const QString def = brp::writeFile(dir, "rel.dfm", kListing);
    const QString csv = brp::writeFile(dir, "q.csv", brp::csvRows(60));
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
    const ToolRun r = run({def, "--data", "QryRel=" + brp::writeFile(dir, "q.csv", brp::csvRows(3)), "--out", pdf});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    QFile f(pdf);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.read(5) == "%PDF-");
}

TEST(BrptoolRun, RefusesBadInputWithAClearMessage)
{
    QTemporaryDir dir;
    const QString def = brp::writeFile(dir, "rel.dfm", kListing);
    const QString csv = brp::writeFile(dir, "q.csv", brp::csvRows(3));
    const QString out = dir.filePath("o.BRP");
    struct Case {
        QStringList args;
        int exit;
        QString message;
    } cases[] = {
        {{def, "--out", out}, 1, "QryRel, which does not exist"},
        {{def, "--data", "QryRel=" + brp::writeFile(dir, "r.csv", "NOME,VALOR:float\na,1\nb\n"), "--out", out}, 1, "r.csv:3"},
        {{def, "--data", "QryRel=" + brp::writeFile(dir, "t.csv", "NOME,VALOR:float\na,x\n"), "--out", out}, 1, "t.csv:2"},
        {{def, "--report", "Outro", "--data", "QryRel=" + csv, "--out", out}, 1, "no report named Outro"},
        {{brp::writeFile(dir, "bad.dfm", "object X: TNoSuchClass\nend\n"), "--out", out}, 1, "holds no report"},
        {{dir.filePath("missing.dfm"), "--out", out}, 1, "cannot read"},
        {{def, "--data", "QryRel=" + csv}, 2, "--out"},
        {{def, "--data", "QryRel", "--out", out}, 2, "NAME=FILE.csv"},
        {{def, "--bogus", "--out", out}, 2, "unknown option"},
        // A bad line after 100,000 good ones: refused before any page is made.
        {{def, "--data", "QryRel=" + brp::writeFile(dir, "late.csv", brp::csvRows(100000) + "Cliente,1.x\n"), "--out", out}, 1,
         "late.csv:100002: field 2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const ToolRun r = run(c.args);
        EXPECT_EQ(r.exitCode, c.exit);
        EXPECT_TRUE(r.err.contains(c.message)) << r.err.toStdString();
        EXPECT_FALSE(QFileInfo::exists(out));
    }
}

TEST(BrptoolRun, RunningOutOfMemoryWhileLoadingIsAnErrorNotAnAbort)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer reserves more address space than the limit allows";
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    GTEST_SKIP() << "the address sanitizer reserves more address space than the limit allows";
#endif
#endif
    QTemporaryDir dir;
    // One line of 8 GB of zero bytes, which a sparse file holds in no room.
    const QString csv = dir.filePath("huge.csv");
    {
        QFile f(csv);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("NOME,VALOR:float\n");
        ASSERT_TRUE(f.resize(qint64(8) << 30));
    }
    const QString out = dir.filePath("o.BRP");
    for (const QString& command : {QStringLiteral("run"), QStringLiteral("eval")}) {
        SCOPED_TRACE(command.toStdString());
        const QStringList args = command == u"run"
                                     ? QStringList{"run", brp::writeFile(dir, "rel.dfm", kListing), "--data", "QryRel=" + csv, "--out", out}
                                     : QStringList{"eval", "--data", "QryRel=" + csv, "1"};
        QProcess p;
        p.setChildProcessModifier([] {
            const rlimit limit{rlim_t(384) << 20, rlim_t(384) << 20};
            setrlimit(RLIMIT_AS, &limit);
        });
        p.start(brp::brptoolPath(), args);
        ASSERT_TRUE(p.waitForFinished(60000));
        const QString err = QString::fromUtf8(p.readAllStandardError());
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << err.toStdString();
        EXPECT_EQ(p.exitCode(), 1);
        EXPECT_TRUE(err.contains("out of memory loading \"" + csv + "\"")) << err.toStdString();
        EXPECT_FALSE(QFileInfo::exists(out));
    }
}

TEST(BrptoolRun, ShowsProgressOnATerminalOnly)
{
    if (QStandardPaths::findExecutable("script").isEmpty())
        GTEST_SKIP() << "no `script` to give the tool a terminal";
    QTemporaryDir dir;
    const QString def = brp::writeFile(dir, "rel.dfm", kListing);
    const QString csv = brp::writeFile(dir, "q.csv", brp::csvRows(200));
    const auto quote = [](const QString& s) { return "'" + QString(s).replace("'", "'\\''") + "'"; };
    for (const bool quiet : {false, true}) {
        SCOPED_TRACE(quiet);
        QStringList command{quote(brp::brptoolPath()), "run", quote(def), "--data", quote("QryRel=" + csv), "--out",
                            quote(dir.filePath("o.pdf"))};
        if (quiet)
            command << "--quiet";
        // `script` runs the command on a terminal of its own and copies what
        // it shows.
        QProcess p;
        p.start("script", {"-qec", command.join(' '), "/dev/null"});
        ASSERT_TRUE(p.waitForFinished(30000));
        const QString shown = QString::fromUtf8(p.readAllStandardOutput());
        EXPECT_EQ(p.exitCode(), 0) << shown.toStdString();
        EXPECT_TRUE(shown.contains("o.pdf: 4 pages")) << shown.toStdString();
        for (const char* progress : {"loading q.csv: 200 rows", "pages: 4", "writing o.pdf: page 4 of 4"})
            EXPECT_EQ(shown.contains(progress), !quiet) << progress << "\n" << shown.toStdString();
    }
    // Into a pipe: the result only.
    const ToolRun r = run({def, "--data", "QryRel=" + csv, "--out", dir.filePath("p.pdf")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_FALSE(r.err.contains("loading")) << r.err.toStdString();
    EXPECT_FALSE(r.err.contains("writing")) << r.err.toStdString();
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
    const ToolRun r = run({brp::writeFile(dir, "rel.dfm", text), "--data", "QryRel=" + brp::writeFile(dir, "q.csv", brp::csvRows(2)), "--out", out});
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
    const QString def = brp::writeFile(dir, "rel.dfm", kListing);
    const QString csv = brp::writeFile(dir, "q.csv", "NOME,VALOR:float\n\"Silva, Souza\",1.5\nPão,2\n");
    ToolRun r = run({def, "--data", "QryRel=" + csv, "--out", dir.filePath("o.csv")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QFile out(dir.filePath("o.csv"));
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    EXPECT_EQ(out.readAll(), QByteArray("\xEF\xBB\xBF\"Silva, Souza\",1.50\r\nPão,2.00\r\n"));

    r = run({def, "--data", "QryRel=" + brp::writeFile(dir, "m.csv", brp::csvRows(60)), "--out", dir.filePath("o.txt")});
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
    const QString csv = brp::writeFile(dir, "q.csv", brp::csvRows(2));
    QByteArray latin = kListing;
    latin.replace("Caption = 'Listagem'", "Caption = 'Rela\xe7\xe3o \xdcn\xef" "c\xf6" "d\xe9'");
    QByteArray crOnly = kListing;
    crOnly.replace('\n', '\r');
    crOnly.replace("Size.Values = (50.0 0.0 0.0 500.0)", "Size.Values = @");
    QByteArray deep = kListing;
    deep.replace("Caption = 'Listagem'", "Caption = " + QByteArray(30000, '('));

    const QString out = dir.filePath("o.BRP");
    ToolRun r = run({brp::writeFile(dir, "latin.dfm", latin), "--data", "QryRel=" + csv, "--out", out});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    TBRPageList pages;
    pages.OpenFile(out);
    EXPECT_EQ(RecordedPage::Read(pages.FetchPage(1).value()).Texts().value(0), QStringLiteral("Relação Ünïcödé"));

    struct Case {
        QString file;
        QString message;
    } cases[] = {
        {brp::writeFile(dir, "cr.dfm", crOnly), "line 11:"},
        {brp::writeFile(dir, "deep.dfm", deep), "line 10: nested deeper than"},
    };
    for (const Case& c : cases) {
        const QList<QStringList> commands = {{"run", c.file, "--data", "QryRel=" + csv, "--out", dir.filePath("x.BRP")},
                                             {"layout", c.file}};
        for (const QStringList& args : commands) {
            SCOPED_TRACE(args.join(' ').toStdString());
            r = brp::runBrptool(args);
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
    const QString csv = brp::writeFile(dir, "q.csv", brp::csvRows(60));
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
        const ToolRun r = run({brp::writeFile(dir, "rel.dfm", c.definition), "--data", "QryRel=" + csv, "--out", out});
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
