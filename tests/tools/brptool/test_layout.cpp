// brptool layout: the band order and places of a definition file, alone or
// inside a window definition; errors name the line; exit codes 0 / 1 / 2.
#include "BrptoolRun.h"
#include "SampleReport.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
// The sample without its printable: brptool knows no printable classes of its own.
QString sampleWithoutPrintable()
{
    QString text = QString::fromUtf8(kSampleReport);
    text.remove(QRegularExpression(QStringLiteral("\n    object BRLabel8:.*?\n    end"),
                                   QRegularExpression::DotMatchesEverythingOption));
    return text;
}

// The sample whose sub-detail reads a data set the definition does not hold.
QString withDataSet(const QString& dataSetName)
{
    QString report = sampleWithoutPrintable();
    report.replace(QStringLiteral("    Master = BRRelatorio\n"),
                   QStringLiteral("    Master = BRRelatorio\n    DataSet = ") + dataSetName + u'\n');
    return report;
}

QString window(const QString& dataSetName)
{
    const QString report = withDataSet(dataSetName);
    QString indented;
    for (const QString& line : report.trimmed().split(u'\n'))
        indented += QStringLiteral("  ") + line + u'\n';
    return QStringLiteral("object FPrincipal: TFPrincipal\n  Left = 192\n  object QryRel: TSQLQuery\n  end\n")
         + indented + QStringLiteral("end\n");
}
} // namespace

TEST(BrptoolLayout, PrintsOrderAndPlacesOrRefuses)
{
    QTemporaryDir dir;
    auto write = [&](const QString& name, const QString& text) {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text.toUtf8());
        return f.fileName();
    };
    const QString report = write(QStringLiteral("report.txt"), sampleWithoutPrintable());
    const QString form = write(QStringLiteral("form.txt"), window(QStringLiteral("QryRel")));
    const QString broken = write(QStringLiteral("broken.txt"), window(QStringLiteral("Missing")));
    // A lone report's data sets come when it runs: listed, or read from --data.
    const QString lone = write(QStringLiteral("lone.txt"), withDataSet(QStringLiteral("Vendas")));
    const QString vendas = write(QStringLiteral("vendas.csv"), QStringLiteral("CODIGO:integer,NOME\n1,Ana\n2,Rui\n"));
    const QString badCsv = write(QStringLiteral("bad.csv"), QStringLiteral("A,A\n"));
    struct Case {
        QStringList args;
        int exitCode;
        const char* expected; // in stdout for 0, in stderr otherwise
    } cases[] = {
        {{report}, 0, "BRBand1              rbPageHeader     left 38 top 38 width 718 height 121 px; native 320.146 1899.708"},
        {{form, QStringLiteral("--report"), QStringLiteral("brrelatorio")}, 0,
         "BRSubDetail1         rbSubDetail      left 38 top 159 width 718 height 21 px"},
        {{form}, 0, "ChildBand1           rbChild          left 38 top 257"},
        {{form, QStringLiteral("--report"), QStringLiteral("Other")}, 1, "no report named Other"},
        {{broken}, 1, "line 88: DataSet names Missing"},
        {{dir.filePath(QStringLiteral("absent.txt"))}, 1, "cannot open"},
        {{}, 2, "usage"},
        {{report, QStringLiteral("--report")}, 2, "usage"},
        {{report, QStringLiteral("--zoom")}, 2, "usage"},
        {{lone}, 0, "data set Vendas      supplied at run time"},
        {{lone}, 0, "BRSubDetail1         rbSubDetail      left 38 top 159 width 718 height 21 px"},
        {{lone, QStringLiteral("--data"), QStringLiteral("vendas=") + vendas}, 0, "data set vendas      from "},
        {{lone, QStringLiteral("--data"), QStringLiteral("Vendas=") + vendas}, 0, ", 2 rows"},
        {{lone, QStringLiteral("--data"), QStringLiteral("Vendas=") + badCsv}, 1, "bad.csv"},
        {{lone, QStringLiteral("--data"), QStringLiteral("Vendas")}, 2, "usage"},
        {{lone, QStringLiteral("--data")}, 2, "usage"},
    };
    for (const Case& c : cases) {
        const ToolRun run = brp::runBrptool(QStringList{QStringLiteral("layout")} + c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.args.join(u' ').toStdString() << run.err.toStdString();
        const QString& text = c.exitCode == 0 ? run.out : run.err;
        EXPECT_TRUE(text.contains(QString::fromUtf8(c.expected))) << c.expected << "\n" << text.toStdString();
    }
}
