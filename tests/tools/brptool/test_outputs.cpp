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
        def = dir.filePath(QStringLiteral("rel.dfm"));
        csv = dir.filePath(QStringLiteral("q.csv"));
        brp = dir.filePath(QStringLiteral("rel.BRP"));
        emf = dir.filePath(QStringLiteral("p1.emf"));
        brp::writeFile(def, kListing);
        QByteArray rows = "NOME,VALOR:float\n";
        for (int i = 1; i <= 120; ++i)
            rows += "Cliente número " + QByteArray::number(i) + "," + QByteArray::number(i) + ".5\n";
        brp::writeFile(csv, rows);
        const ToolRun made = brp::runBrptool({QStringLiteral("run"), def, QStringLiteral("--data"), QStringLiteral("QryRel=") + csv, QStringLiteral("--out"), brp});
        ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
        ASSERT_EQ(brp::runBrptool({QStringLiteral("extract"), brp, QStringLiteral("1"), emf}).exitCode, 0);
    }

    // Every command that writes a file, with OUT standing for its output.
    QList<QStringList> commandsWriting(const QString& out) const
    {
        return {
            {QStringLiteral("run"), def, QStringLiteral("--data"), QStringLiteral("QryRel=") + csv, QStringLiteral("--out"), out},
            {QStringLiteral("run"), def, QStringLiteral("--data"), QStringLiteral("QryRel=") + csv, QStringLiteral("--out"), out + QStringLiteral(".pdf")},
            {QStringLiteral("extract"), brp, QStringLiteral("1"), out},
            {QStringLiteral("render"), brp, out},
            {QStringLiteral("pdf"), brp, out},
            {QStringLiteral("view"), brp, QStringLiteral("--screenshot"), out},
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
    brp::writeFile(out + QStringLiteral(".pdf"), old);
    disk.LeaveFree(8 * 1024);
    for (const QStringList& args : commandsWriting(out)) {
        SCOPED_TRACE(args.join(QLatin1Char(' ')).toStdString());
        const ToolRun r = brp::runBrptool(args);
        EXPECT_EQ(r.exitCode, 1) << r.out.toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("No space left on device"))) << r.err.toStdString();
        EXPECT_EQ(brp::readFile(out), old);
        EXPECT_EQ(brp::readFile(out + QStringLiteral(".pdf")), old);
        EXPECT_EQ(disk.Files(), QStringList({QStringLiteral("o.out"), QStringLiteral("o.out.pdf")}));
    }
}

// A device, a FIFO, a folder or a link to a device named as the output is
// refused and left as it is; so is an output that is one of the inputs.
TEST_F(BrptoolOutputs, OutputsThatWouldDestroySomethingAreRefused)
{
    const QString fifo = dir.filePath(QStringLiteral("fifo")), folder = dir.filePath(QStringLiteral("folder")), device = dir.filePath(QStringLiteral("full"));
    const QString link = dir.filePath(QStringLiteral("link-to-full"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder")));
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
    QList<Case> cases = {{fifo, QStringLiteral("fifo"), "a pipe (FIFO)"}, {folder, QStringLiteral("folder"), "a folder"}};
    if (haveDevice)
        cases += {{device, QStringLiteral("device"), "a device"}, {link, QStringLiteral("device"), "a device"}};
    for (const Case& c : cases) {
        for (QStringList args : commandsWriting(c.output)) {
            if (args.last().endsWith(QStringLiteral(".pdf")) && args[0] == QStringLiteral("run"))
                continue; // names another file
            SCOPED_TRACE(args.join(QLatin1Char(' ')).toStdString());
            const ToolRun r = brp::runBrptool(args);
            EXPECT_EQ(r.exitCode, 2) << r.out.toStdString();
            EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.why))) << r.err.toStdString();
            EXPECT_EQ(kindOf(c.output), c.kind);
        }
    }

    const QByteArray defBytes = brp::readFile(def), csvBytes = brp::readFile(csv), brpBytes = brp::readFile(brp);
    const QString alias = dir.filePath(QStringLiteral("alias.BRP"));
    ASSERT_TRUE(QFile::link(brp, alias));
    const QList<QStringList> selfOverwrites = {
        {QStringLiteral("run"), def, QStringLiteral("--data"), QStringLiteral("QryRel=") + csv, QStringLiteral("--out"), def},
        {QStringLiteral("run"), def, QStringLiteral("--data"), QStringLiteral("QryRel=") + csv, QStringLiteral("--out"), csv},
        {QStringLiteral("extract"), brp, QStringLiteral("1"), brp},
        {QStringLiteral("extract"), brp, QStringLiteral("1"), alias}, // the same file under another name
        {QStringLiteral("render"), brp, brp},
        {QStringLiteral("pdf"), brp, alias},
        {QStringLiteral("view"), brp, QStringLiteral("--screenshot"), brp},
    };
    for (const QStringList& args : selfOverwrites) {
        SCOPED_TRACE(args.join(QLatin1Char(' ')).toStdString());
        const ToolRun r = brp::runBrptool(args);
        EXPECT_EQ(r.exitCode, 2) << r.out.toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("it is also an input"))) << r.err.toStdString();
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
        {{QStringLiteral("extract"), brp, QStringLiteral("1"), QStringLiteral("-")}, page},
        {{QStringLiteral("render"), emf, QStringLiteral("-")}, "\x89PNG"},
        {{QStringLiteral("pdf"), brp, QStringLiteral("-")}, "%PDF"},
        {{QStringLiteral("view"), brp, QStringLiteral("--screenshot"), QStringLiteral("-")}, "\x89PNG"},
        {{QStringLiteral("run"), def, QStringLiteral("--data"), QStringLiteral("QryRel=") + csv, QStringLiteral("--out"), QStringLiteral("-")}, brp::readFile(brp).left(4)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
        QProcess p;
        p.start(brp::brptoolPath(), c.args);
        ASSERT_TRUE(p.waitForFinished(30000));
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        const QByteArray out = p.readAllStandardOutput();
        EXPECT_TRUE(out.startsWith(c.expected)) << out.left(40).toHex().toStdString();
    }
    QProcess whole;
    whole.start(brp::brptoolPath(), {QStringLiteral("run"), def, QStringLiteral("--data"), QStringLiteral("QryRel=") + csv, QStringLiteral("--out"), QStringLiteral("-")});
    ASSERT_TRUE(whole.waitForFinished(30000));
    // Past the header, which holds the time of writing.
    EXPECT_EQ(whole.readAllStandardOutput().mid(128), brp::readFile(brp).mid(128));
}
