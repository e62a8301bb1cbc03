// Where brptool's commands write: complete files or nothing on a full disk,
// never over a device, a FIFO, a folder or one of their own inputs, and "-"
// for standard output.
#include "BrptoolRun.h"
#include "ListingInputs.h"
#include "FullDisk.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace {

// What kind of node a path is (links followed), as the tests compare it.
QString kindOf(const QString& name)
{
    struct stat st {};
    if (::stat(QFile::encodeName(name).constData(), &st) != 0)
        return QStringLiteral("missing");
    if (S_ISCHR(st.st_mode))
        return QStringLiteral("device");
    if (S_ISFIFO(st.st_mode))
        return QStringLiteral("fifo");
    if (S_ISDIR(st.st_mode))
        return QStringLiteral("folder");
    return S_ISREG(st.st_mode) ? QStringLiteral("file") : QStringLiteral("other");
}

class BrptoolOutputs : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("BRP_BINARY_DIR"))
            GTEST_SKIP() << "BRP_BINARY_DIR not set";
        def = dir.filePath("rel.dfm");
        csv = dir.filePath("q.csv");
        brp = dir.filePath("rel.BRP");
        emf = dir.filePath("p1.emf");
        brp::writeFile(def, kListing);
        QByteArray rows = "NOME,VALOR:float\n";
        for (int i = 1; i <= 120; ++i)
            rows += "Cliente número " + QByteArray::number(i) + "," + QByteArray::number(i) + ".5\n";
        brp::writeFile(csv, rows);
        const ToolRun made = brp::runBrptool({"run", def, "--data", "QryRel=" + csv, "--out", brp});
        ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
        ASSERT_EQ(brp::runBrptool({"extract", brp, "1", emf}).exitCode, 0);
    }

    // Every command that writes a file, with OUT standing for its output.
    QList<QStringList> commandsWriting(const QString& out) const
    {
        return {
            {"run", def, "--data", "QryRel=" + csv, "--out", out},
            {"run", def, "--data", "QryRel=" + csv, "--out", out + ".pdf"},
            {"extract", brp, "1", out},
            {"render", brp, out},
            {"pdf", brp, out},
            {"view", brp, "--screenshot", out},
        };
    }

    QTemporaryDir dir;
    QString def, csv, brp, emf;
};

} // namespace

// On a full disk every command fails with the system's reason and leaves the
// file it would have replaced as it was.
TEST_F(BrptoolOutputs, AFullDiskKeepsTheOldFile)
{
    SmallDisk disk(64 * 1024);
    if (!disk.Mounted())
        GTEST_SKIP() << disk.Reason().toStdString();
    const QString out = disk.Path(QStringLiteral("o.out"));
    const QByteArray old = "the file written before";
    brp::writeFile(out, old);
    brp::writeFile(out + ".pdf", old);
    disk.LeaveFree(8 * 1024);
    for (const QStringList& args : commandsWriting(out)) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const ToolRun r = brp::runBrptool(args);
        EXPECT_EQ(r.exitCode, 1) << r.out.toStdString();
        EXPECT_TRUE(r.err.contains("No space left on device")) << r.err.toStdString();
        EXPECT_EQ(brp::readFile(out), old);
        EXPECT_EQ(brp::readFile(out + ".pdf"), old);
        EXPECT_EQ(disk.Files(), QStringList({"o.out", "o.out.pdf"}));
    }
}

// A device, a FIFO, a folder or a link to a device named as the output is
// refused and left as it is; so is an output that is one of the inputs.
TEST_F(BrptoolOutputs, OutputsThatWouldDestroySomethingAreRefused)
{
    const QString fifo = dir.filePath("fifo"), folder = dir.filePath("folder"), device = dir.filePath("full");
    const QString link = dir.filePath("link-to-full");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
    // A private clone of /dev/full; only root may make one.
    const bool haveDevice = ::mknod(QFile::encodeName(device).constData(), S_IFCHR | 0600, makedev(1, 7)) == 0;
    if (haveDevice) {
        ASSERT_TRUE(QFile::link(device, link));
    }

    struct Case {
        QString output;
        QString kind;
        const char* why;
    };
    QList<Case> cases = {{fifo, "fifo", "a pipe (FIFO)"}, {folder, "folder", "a folder"}};
    if (haveDevice)
        cases += {{device, "device", "a device"}, {link, "device", "a device"}};
    for (const Case& c : cases) {
        for (QStringList args : commandsWriting(c.output)) {
            if (args.last().endsWith(".pdf") && args[0] == "run")
                continue; // names another file
            SCOPED_TRACE(args.join(' ').toStdString());
            const ToolRun r = brp::runBrptool(args);
            EXPECT_EQ(r.exitCode, 2) << r.out.toStdString();
            EXPECT_TRUE(r.err.contains(c.why)) << r.err.toStdString();
            EXPECT_EQ(kindOf(c.output), c.kind);
        }
    }

    const QByteArray defBytes = brp::readFile(def), csvBytes = brp::readFile(csv), brpBytes = brp::readFile(brp);
    const QString alias = dir.filePath("alias.BRP");
    ASSERT_TRUE(QFile::link(brp, alias));
    const QList<QStringList> selfOverwrites = {
        {"run", def, "--data", "QryRel=" + csv, "--out", def},
        {"run", def, "--data", "QryRel=" + csv, "--out", csv},
        {"extract", brp, "1", brp},
        {"extract", brp, "1", alias}, // the same file under another name
        {"render", brp, brp},
        {"pdf", brp, alias},
        {"view", brp, "--screenshot", brp},
    };
    for (const QStringList& args : selfOverwrites) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const ToolRun r = brp::runBrptool(args);
        EXPECT_EQ(r.exitCode, 2) << r.out.toStdString();
        EXPECT_TRUE(r.err.contains("it is also an input")) << r.err.toStdString();
    }
    EXPECT_EQ(brp::readFile(def), defBytes);
    EXPECT_EQ(brp::readFile(csv), csvBytes);
    EXPECT_EQ(brp::readFile(brp), brpBytes);
}

// "-" writes the output to standard output, byte for byte what a file gets.
TEST_F(BrptoolOutputs, DashIsStandardOutput)
{
    struct Case {
        QStringList args;
        QByteArray expected;
    };
    const QByteArray page = brp::readFile(emf);
    const Case cases[] = {
        {{"extract", brp, "1", "-"}, page},
        {{"render", emf, "-"}, "\x89PNG"},
        {{"pdf", brp, "-"}, "%PDF"},
        {{"view", brp, "--screenshot", "-"}, "\x89PNG"},
        {{"run", def, "--data", "QryRel=" + csv, "--out", "-"}, brp::readFile(brp).left(4)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        QProcess p;
        p.start(brp::brptoolPath(), c.args);
        ASSERT_TRUE(p.waitForFinished(30000));
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        const QByteArray out = p.readAllStandardOutput();
        EXPECT_TRUE(out.startsWith(c.expected)) << out.left(40).toHex().toStdString();
    }
    QProcess whole;
    whole.start(brp::brptoolPath(), {"run", def, "--data", "QryRel=" + csv, "--out", "-"});
    ASSERT_TRUE(whole.waitForFinished(30000));
    // Past the header, which holds the time of writing.
    EXPECT_EQ(whole.readAllStandardOutput().mid(128), brp::readFile(brp).mid(128));
}
