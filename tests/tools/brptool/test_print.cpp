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
        {{existing, "--pages", "5-2"}, 2, "bad page range"},
        {{existing, "--pages", "0-2"}, 2, "bad page range"},
        {{existing, "--pages", "x"}, 2, "bad page range"},
        {{existing, "--copies", "0"}, 2, "bad number of copies"},
        {{existing, "--copies", "many"}, 2, "bad number of copies"},
        {{existing, "--colour"}, 2, "unexpected argument"},
        {{"/nonexistent/file.brp"}, 1, "no such file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const ToolRun r = brp::runBrptool(QStringList{"print"} + c.args);
        ASSERT_NE(r.exitCode, -1) << r.err.toStdString();
        EXPECT_EQ(r.exitCode, c.code);
        EXPECT_TRUE(r.err.contains(c.message)) << r.err.toStdString();
    }
}
