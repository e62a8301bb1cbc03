// brptool print refuses bad arguments before it touches a printer.
#include "BrptoolRun.h"

#include <QFile>
#include <gtest/gtest.h>

TEST(BrptoolPrint, BadArguments)
{
    if (!QFile::exists(brp::brptoolPath()))
        GTEST_SKIP() << "brptool is not built";
    const QString existing = qEnvironmentVariable("BRP_SOURCE_DIR") + QStringLiteral("/README.md");
    struct Case {
        QStringList args;
        int code;
        const char* message;
    };
    const Case cases[] = {
        {{}, 2, "no file given"},
        {{existing, QStringLiteral("--pages"), QStringLiteral("5-2")}, 2, "bad page range"},
        {{existing, QStringLiteral("--pages"), QStringLiteral("0-2")}, 2, "bad page range"},
        {{existing, QStringLiteral("--pages"), QStringLiteral("x")}, 2, "bad page range"},
        {{existing, QStringLiteral("--copies"), QStringLiteral("0")}, 2, "bad number of copies"},
        {{existing, QStringLiteral("--copies"), QStringLiteral("many")}, 2, "bad number of copies"},
        {{existing, QStringLiteral("--colour")}, 2, "unexpected argument"},
        {{QStringLiteral("/nonexistent/file.brp")}, 1, "no such file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
        const ToolRun r = brp::runBrptool(QStringList{QStringLiteral("print")} + c.args);
        ASSERT_NE(r.exitCode, -1) << r.err.toStdString();
        EXPECT_EQ(r.exitCode, c.code);
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.message))) << r.err.toStdString();
    }
}
