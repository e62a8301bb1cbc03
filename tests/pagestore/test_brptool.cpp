// Runs the built brptool on small files written by the page store.
#include "EmfSample.h"
#include "TBRPageList.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

struct ToolRun {
    int exitCode;
    QString out;
    QString err;
};

ToolRun brptool(const QStringList& args)
{
    const QString exe = qEnvironmentVariable("BRP_BINARY_DIR") + "/tools/brptool";
    QProcess p;
    p.start(exe, args);
    EXPECT_TRUE(p.waitForFinished(30000)) << exe.toStdString();
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromLocal8Bit(p.readAllStandardOutput()),
            QString::fromLocal8Bit(p.readAllStandardError())};
}

class BrpTool : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("BRP_BINARY_DIR"))
            GTEST_SKIP() << "BRP_BINARY_DIR not set";
        pages = {emfsample::page(700, 1), emfsample::page(2000, 2), emfsample::page(900, 3)};
        TBRPageList list;
        list.SetCompressed(true);
        list.SetStore(std::make_unique<TBRStream>(100000));
        for (const auto& p : pages)
            list.AppendPage(p);
        list.WriteHeader();
        file = dir.filePath("r.BRP");
        list.WriteToFile(file);
    }
    QTemporaryDir dir;
    QString file;
    std::vector<QByteArray> pages;
};

} // namespace

TEST_F(BrpTool, InfoShowsHeaderRecordsAndChain)
{
    const ToolRun r = brptool({"info", file});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QRegularExpression("pages\\s+3\\n"))) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QRegularExpression("compressed\\s+yes"))) << r.out.toStdString();
    // Record 1 at 128, page 1; its metafile size is the page's.
    EXPECT_TRUE(r.out.contains(QRegularExpression(QStringLiteral("\\s1\\s+128\\s+1\\s+\\d+\\s+\\d+\\s+128\\s+%1\\n")
                                                      .arg(pages[0].size()))))
        << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("consistent: 3 records")) << r.out.toStdString();
}

TEST_F(BrpTool, ExtractWritesThePage)
{
    const QString out = dir.filePath("p2.emf");
    const ToolRun r = brptool({"extract", file, "2", out});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    QFile f(out);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), pages[1]);
}

TEST_F(BrpTool, BadFilesFailWithAMessage)
{
    QByteArray bytes;
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        bytes = f.readAll();
    }
    QByteArray broken = bytes;
    qToLittleEndian<qint32>(broken.size() + 1000, broken.data() + 132); // page 1's next offset
    const QString brokenName = dir.filePath("broken.BRP");
    {
        QFile f(brokenName);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(broken);
    }
    struct Case {
        QStringList args;
        const char* expected; // in stdout or stderr
    };
    const Case cases[] = {
        {{"info", brokenName}, "NOT consistent"},
        {{"info", dir.filePath("missing.BRP")}, "cannot open"},
        {{"extract", brokenName, "1", dir.filePath("x.emf")}, "Damaged"},
        {{"extract", file, "4", dir.filePath("x.emf")}, "has no page 4"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const ToolRun r = brptool(c.args);
        EXPECT_NE(r.exitCode, 0);
        EXPECT_TRUE((r.out + r.err).contains(c.expected)) << (r.out + r.err).toStdString();
    }
    EXPECT_FALSE(QFile::exists(dir.filePath("x.emf")));
}
