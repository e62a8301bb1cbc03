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
    const QString def = brp::writeFile(dir, QStringLiteral("rel.dfm"), kListing);
    const QString csv = brp::writeFile(dir, QStringLiteral("q.csv"), brp::csvRows(60));
    for (const bool compress : {false, true}) {
        const QString out = dir.filePath(compress ? QStringLiteral("c.BRP") : QStringLiteral("p.BRP"));
        QStringList args{def, QStringLiteral("--data"), QStringLiteral("QryRel=") + csv, QStringLiteral("--out"), out};
        if (compress)
            args << QStringLiteral("--compress");
        const ToolRun r = run(args);
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_FALSE(r.err.contains(QStringLiteral("pages:"))) << "quiet when not on a terminal";
        TBRPageList pages;
        pages.OpenFile(out);
        EXPECT_EQ(pages.Compressed(), compress);
        // 2770 of body: the header takes 100, then 53 rows of 50.
        ASSERT_EQ(pages.Count(), 2);
        const QStringList first = RecordedPage::Read(pages.FetchPage(1).value()).Texts();
        EXPECT_EQ(first.mid(0, 3), (QStringList{QStringLiteral("Listagem"), QStringLiteral("Cliente 1"), QStringLiteral("1.50")}));
        const QStringList second = RecordedPage::Read(pages.FetchPage(2).value()).Texts();
        EXPECT_EQ(second.mid(0, 2), (QStringList{QStringLiteral("Listagem"), QStringLiteral("Cliente 54")}));
        EXPECT_EQ(second.last(), QStringLiteral("60.50"));
    }
    const QString pdf = dir.filePath(QStringLiteral("rel.pdf"));
    const ToolRun r = run({def, QStringLiteral("--data"), QStringLiteral("QryRel=") + brp::writeFile(dir, QStringLiteral("q.csv"), brp::csvRows(3)), QStringLiteral("--out"), pdf});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    QFile f(pdf);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.read(5) == "%PDF-");
}

TEST(BrptoolRun, RefusesBadInputWithAClearMessage)
{
    QTemporaryDir dir;
    const QString def = brp::writeFile(dir, QStringLiteral("rel.dfm"), kListing);
    const QString csv = brp::writeFile(dir, QStringLiteral("q.csv"), brp::csvRows(3));
    const QString out = dir.filePath(QStringLiteral("o.BRP"));
    struct Case {
        QStringList args;
        int exit;
        QString message;
    } cases[] = {
        {{def, QStringLiteral("--out"), out}, 1, QStringLiteral("QryRel, which does not exist")},
        {{def, QStringLiteral("--data"), QStringLiteral("QryRel=") + brp::writeFile(dir, QStringLiteral("r.csv"), "NOME,VALOR:float\na,1\nb\n"), QStringLiteral("--out"), out}, 1, QStringLiteral("r.csv:3")},
        {{def, QStringLiteral("--data"), QStringLiteral("QryRel=") + brp::writeFile(dir, QStringLiteral("t.csv"), "NOME,VALOR:float\na,x\n"), QStringLiteral("--out"), out}, 1, QStringLiteral("t.csv:2")},
        {{def, QStringLiteral("--report"), QStringLiteral("Outro"), QStringLiteral("--data"), QStringLiteral("QryRel=") + csv, QStringLiteral("--out"), out}, 1, QStringLiteral("no report named Outro")},
        {{brp::writeFile(dir, QStringLiteral("bad.dfm"), "object X: TNoSuchClass\nend\n"), QStringLiteral("--out"), out}, 1, QStringLiteral("holds no report")},
        {{dir.filePath(QStringLiteral("missing.dfm")), QStringLiteral("--out"), out}, 1, QStringLiteral("cannot read")},
        {{def, QStringLiteral("--data"), QStringLiteral("QryRel=") + csv}, 2, QStringLiteral("--out")},
        {{def, QStringLiteral("--data"), QStringLiteral("QryRel"), QStringLiteral("--out"), out}, 2, QStringLiteral("NAME=FILE.csv")},
        {{def, QStringLiteral("--bogus"), QStringLiteral("--out"), out}, 2, QStringLiteral("unknown option")},
        // A bad line after 100,000 good ones: refused before any page is made.
        {{def, QStringLiteral("--data"), QStringLiteral("QryRel=") + brp::writeFile(dir, QStringLiteral("late.csv"), brp::csvRows(100000) + "Cliente,1.x\n"), QStringLiteral("--out"), out}, 1,
         QStringLiteral("late.csv:100002: field 2")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
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
    const QString csv = dir.filePath(QStringLiteral("huge.csv"));
    {
        QFile f(csv);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("NOME,VALOR:float\n");
        ASSERT_TRUE(f.resize(qint64(8) << 30));
    }
    const QString out = dir.filePath(QStringLiteral("o.BRP"));
    for (const QString& command : {QStringLiteral("run"), QStringLiteral("eval")}) {
        SCOPED_TRACE(command.toStdString());
        const QStringList args = command == u"run"
                                     ? QStringList{QStringLiteral("run"), brp::writeFile(dir, QStringLiteral("rel.dfm"), kListing), QStringLiteral("--data"), QStringLiteral("QryRel=") + csv, QStringLiteral("--out"), out}
                                     : QStringList{QStringLiteral("eval"), QStringLiteral("--data"), QStringLiteral("QryRel=") + csv, QStringLiteral("1")};
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
        EXPECT_TRUE(err.contains(QStringLiteral("out of memory loading \"") + csv + QStringLiteral("\""))) << err.toStdString();
        EXPECT_FALSE(QFileInfo::exists(out));
    }
}

TEST(BrptoolRun, ShowsProgressOnATerminalOnly)
{
    if (QStandardPaths::findExecutable(QStringLiteral("script")).isEmpty())
        GTEST_SKIP() << "no `script` to give the tool a terminal";
    QTemporaryDir dir;
    const QString def = brp::writeFile(dir, QStringLiteral("rel.dfm"), kListing);
    const QString csv = brp::writeFile(dir, QStringLiteral("q.csv"), brp::csvRows(200));
    const auto quote = [](const QString& s) { return QStringLiteral("'") + QString(s).replace(QStringLiteral("'"), QStringLiteral("'\\''")) + QStringLiteral("'"); };
    for (const bool quiet : {false, true}) {
        SCOPED_TRACE(quiet);
        QStringList command{quote(brp::brptoolPath()), QStringLiteral("run"), quote(def), QStringLiteral("--data"), quote(QStringLiteral("QryRel=") + csv), QStringLiteral("--out"),
                            quote(dir.filePath(QStringLiteral("o.pdf")))};
        if (quiet)
            command << QStringLiteral("--quiet");
        // `script` runs the command on a terminal of its own and copies what
        // it shows.
        QProcess p;
        p.start(QStringLiteral("script"), {QStringLiteral("-qec"), command.join(QLatin1Char(' ')), QStringLiteral("/dev/null")});
        ASSERT_TRUE(p.waitForFinished(30000));
        const QString shown = QString::fromUtf8(p.readAllStandardOutput());
        EXPECT_EQ(p.exitCode(), 0) << shown.toStdString();
        EXPECT_TRUE(shown.contains(QStringLiteral("o.pdf: 4 pages"))) << shown.toStdString();
        for (const char* progress : {"loading q.csv: 200 rows", "pages: 4", "writing o.pdf: page 4 of 4"})
            EXPECT_EQ(shown.contains(QString::fromUtf8(progress)), !quiet) << progress << "\n" << shown.toStdString();
    }
    // Into a pipe: the result only.
    const ToolRun r = run({def, QStringLiteral("--data"), QStringLiteral("QryRel=") + csv, QStringLiteral("--out"), dir.filePath(QStringLiteral("p.pdf"))});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_FALSE(r.err.contains(QStringLiteral("loading"))) << r.err.toStdString();
    EXPECT_FALSE(r.err.contains(QStringLiteral("writing"))) << r.err.toStdString();
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
    const QString out = dir.filePath(QStringLiteral("o.BRP"));
    const ToolRun r = run({brp::writeFile(dir, QStringLiteral("rel.dfm"), text), QStringLiteral("--data"), QStringLiteral("QryRel=") + brp::writeFile(dir, QStringLiteral("q.csv"), brp::csvRows(2)), QStringLiteral("--out"), out});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    TBRPageList pages;
    pages.OpenFile(out);
    const QStringList texts = RecordedPage::Read(pages.FetchPage(1).value()).Texts();
    EXPECT_TRUE(texts.contains(QStringLiteral("Cliente 2"))) << texts.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(texts.filter(QStringLiteral("Unknown function")).size(), 2) << texts.join(QLatin1Char('|')).toStdString();
}

TEST(BrptoolRun, ExportsThroughTheFilterOfTheOutputsExtension)
{
    QTemporaryDir dir;
    const QString def = brp::writeFile(dir, QStringLiteral("rel.dfm"), kListing);
    const QString csv = brp::writeFile(dir, QStringLiteral("q.csv"), "NOME,VALOR:float\n\"Silva, Souza\",1.5\nPão,2\n");
    ToolRun r = run({def, QStringLiteral("--data"), QStringLiteral("QryRel=") + csv, QStringLiteral("--out"), dir.filePath(QStringLiteral("o.csv"))});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QFile out(dir.filePath(QStringLiteral("o.csv")));
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    EXPECT_EQ(out.readAll(), QByteArray("\xEF\xBB\xBF\"Silva, Souza\",1.50\r\nPão,2.00\r\n"));

    r = run({def, QStringLiteral("--data"), QStringLiteral("QryRel=") + brp::writeFile(dir, QStringLiteral("m.csv"), brp::csvRows(60)), QStringLiteral("--out"), dir.filePath(QStringLiteral("o.txt"))});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QFile txt(dir.filePath(QStringLiteral("o.txt")));
    ASSERT_TRUE(txt.open(QIODevice::ReadOnly));
    const QByteArray text = txt.readAll();
    EXPECT_EQ(text.count('\f'), 1) << "two pages";
    EXPECT_TRUE(text.contains("Cliente 60")) << text.toStdString();

    // A folder it cannot write to: the reason, exit 1, nothing left.
    for (const char* name : {"none/o.csv", "none/o.txt", "none/o.pdf"}) {
        SCOPED_TRACE(name);
        r = run({def, QStringLiteral("--data"), QStringLiteral("QryRel=") + csv, QStringLiteral("--out"), dir.filePath(QString::fromUtf8(name))});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.err.contains(QStringLiteral("Cannot create"))) << r.err.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("none"))));
}

// Definitions as careless editors and attackers write them: Windows-1252
// text, CR line ends, nesting deep enough to exhaust the stack.
TEST(BrptoolRun, ReadsWindows1252AndCrLinesAndRefusesDeepNesting)
{
    QTemporaryDir dir;
    const QString csv = brp::writeFile(dir, QStringLiteral("q.csv"), brp::csvRows(2));
    QByteArray latin = kListing;
    latin.replace("Caption = 'Listagem'", "Caption = 'Rela\xe7\xe3o \xdcn\xef" "c\xf6" "d\xe9'");
    QByteArray crOnly = kListing;
    crOnly.replace('\n', '\r');
    crOnly.replace("Size.Values = (50.0 0.0 0.0 500.0)", "Size.Values = @");
    QByteArray deep = kListing;
    deep.replace("Caption = 'Listagem'", "Caption = " + QByteArray(30000, '('));

    const QString out = dir.filePath(QStringLiteral("o.BRP"));
    ToolRun r = run({brp::writeFile(dir, QStringLiteral("latin.dfm"), latin), QStringLiteral("--data"), QStringLiteral("QryRel=") + csv, QStringLiteral("--out"), out});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    TBRPageList pages;
    pages.OpenFile(out);
    EXPECT_EQ(RecordedPage::Read(pages.FetchPage(1).value()).Texts().value(0), QStringLiteral("Relação Ünïcödé"));

    struct Case {
        QString file;
        QString message;
    } cases[] = {
        {brp::writeFile(dir, QStringLiteral("cr.dfm"), crOnly), QStringLiteral("line 11:")},
        {brp::writeFile(dir, QStringLiteral("deep.dfm"), deep), QStringLiteral("line 10: nested deeper than")},
    };
    for (const Case& c : cases) {
        const QList<QStringList> commands = {{QStringLiteral("run"), c.file, QStringLiteral("--data"), QStringLiteral("QryRel=") + csv, QStringLiteral("--out"), dir.filePath(QStringLiteral("x.BRP"))},
                                             {QStringLiteral("layout"), c.file}};
        for (const QStringList& args : commands) {
            SCOPED_TRACE(args.join(QLatin1Char(' ')).toStdString());
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
    const QString csv = brp::writeFile(dir, QStringLiteral("q.csv"), brp::csvRows(60));
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
        {"page header", header, QStringLiteral("Band Cab (Page Header) does not fit on one page")},
        {"column header", column, QStringLiteral("Band Cab (Column Header) does not fit on one page")},
        {"page footer", footer, QStringLiteral("Band Cab (Page Footer) does not fit on one page")},
        {"page footer's child", footerChild, QStringLiteral("Band Filho (Page Footer) does not fit on one page")},
        {"page header taller than the page", tall, QStringLiteral("Band Cab (Page Header) does not fit on one page")},
        {"page header that grows but fits", fits, QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString out = dir.filePath(QStringLiteral("o.BRP"));
        QFile::remove(out);
        const ToolRun r = run({brp::writeFile(dir, QStringLiteral("rel.dfm"), c.definition), QStringLiteral("--data"), QStringLiteral("QryRel=") + csv, QStringLiteral("--out"), out});
        if (c.message.isEmpty()) {
            ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
            TBRPageList pages;
            pages.OpenFile(out);
            EXPECT_LE(pages.Count(), 3) << "the header takes part of each page";
        } else {
            EXPECT_EQ(r.exitCode, 1);
            EXPECT_TRUE(r.err.contains(QStringLiteral("brptool run: ") + c.message + QLatin1Char('\n'))) << r.err.toStdString();
            EXPECT_FALSE(QFileInfo::exists(out));
        }
    }
}
