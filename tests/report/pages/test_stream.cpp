#include "PageStoreError.h"
#include "TBRStream.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <cstring>

namespace {

QByteArray pattern(int size)
{
    QByteArray b(size, '\0');
    for (int i = 0; i < size; ++i)
        b[i] = char(i * 31 + i / 256);
    return b;
}

// Points the temporary directory elsewhere for one scope.
class TempDirOverride {
public:
    explicit TempDirOverride(const QByteArray& dir) : m_old(qgetenv("TMPDIR")), m_had(qEnvironmentVariableIsSet("TMPDIR"))
    {
        qputenv("TMPDIR", dir);
    }
    ~TempDirOverride()
    {
        if (m_had)
            qputenv("TMPDIR", m_old);
        else
            qunsetenv("TMPDIR");
    }

private:
    QByteArray m_old;
    bool m_had;
};

} // namespace

TEST(TBRStream, SpillsOnlyPastTheLimitAndKeepsItsData)
{
    QTemporaryDir tmp;
    TempDirOverride dir(tmp.path().toLocal8Bit());
    const QByteArray data = pattern(100001);
    QString spilled;
    {
        TBRStream s(100000);
        EXPECT_EQ(s.Write(data.constData(), 60000), 60000);
        EXPECT_EQ(s.Write(data.constData() + 60000, 40000), 40000);
        EXPECT_TRUE(s.UsingMemory());
        EXPECT_EQ(s.Size(), 100000);
        // An overwrite inside the data does not change the size.
        s.Seek(10, TBRStream::SeekOrigin::Beginning);
        s.Write(data.constData() + 10, 100);
        EXPECT_TRUE(s.UsingMemory());

        s.Seek(0, TBRStream::SeekOrigin::End);
        s.Write(data.constData() + 100000, 1);
        EXPECT_FALSE(s.UsingMemory());
        EXPECT_EQ(s.Position(), 100001);
        spilled = s.TempFileName();
        const QFileInfo info(spilled);
        EXPECT_TRUE(info.fileName().startsWith(QStringLiteral("BRP")));
        EXPECT_EQ(info.absolutePath(), QFileInfo(tmp.path()).absoluteFilePath());
        // Made there, and already gone from the folder while in use.
        EXPECT_TRUE(QDir(tmp.path()).isEmpty());

        QBuffer copy;
        copy.open(QIODevice::WriteOnly);
        s.CopyTo(copy);
        EXPECT_EQ(copy.data(), data);
        EXPECT_EQ(s.Position(), s.Size());
    }
    EXPECT_FALSE(QFile::exists(spilled));
}

TEST(TBRStream, TemporaryFileIsDeletedWhenAFailureUnwinds)
{
    QTemporaryDir tmp;
    TempDirOverride dir(tmp.path().toLocal8Bit());
    QString spilled;
    try {
        auto s = std::make_unique<TBRStream>(10);
        const QByteArray data = pattern(100);
        s->Write(data.constData(), data.size());
        spilled = s->TempFileName();
        s->Seek(-1, TBRStream::SeekOrigin::Beginning); // throws
        FAIL() << "seek before the start accepted";
    } catch (const StoreFileError&) {
    }
    EXPECT_FALSE(spilled.isEmpty());
    EXPECT_FALSE(QFile::exists(spilled));
    EXPECT_TRUE(QDir(tmp.path()).isEmpty());
}

// However the process ends (interrupted, terminated, hung up, killed), no
// temporary file is left behind.
TEST(TBRStream, NothingIsLeftWhenTheProcessIsEndedBySignals)
{
    const QString holder = qEnvironmentVariable("BRP_BINARY_DIR") + QStringLiteral("/tests/report/pages/brp_spill_holder");
    if (!QFileInfo(holder).isExecutable())
        GTEST_SKIP() << "no " << holder.toStdString();
    for (const int sig : {SIGINT, SIGTERM, SIGHUP, SIGKILL}) {
        SCOPED_TRACE(strsignal(sig));
        QTemporaryDir tmp;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TMPDIR"), tmp.path());
        QProcess child;
        child.setProcessEnvironment(env);
        child.start(holder, QStringList());
        ASSERT_TRUE(child.waitForReadyRead(30000)) << child.errorString().toStdString();
        ASSERT_EQ(child.readLine().trimmed(), "spilled");
        ::kill(pid_t(child.processId()), sig);
        ASSERT_TRUE(child.waitForFinished(30000));
        EXPECT_EQ(child.exitStatus(), QProcess::CrashExit);
        EXPECT_TRUE(QDir(tmp.path()).isEmpty()) << QDir(tmp.path()).entryList(QDir::Files).join(QLatin1Char(' ')).toStdString();
    }
}

TEST(TBRStream, SpillFailureLeavesTheDataInMemory)
{
    TempDirOverride dir("/nonexistent/brp-test-dir");
    TBRStream s(100);
    const QByteArray data = pattern(150);
    s.Write(data.constData(), 100);
    EXPECT_THROW(s.Write(data.constData() + 100, 50), StoreFileError);
    EXPECT_TRUE(s.UsingMemory());
    EXPECT_EQ(s.Size(), 100);
    EXPECT_TRUE(s.TempFileName().isEmpty());
}

TEST(TBRStream, OpenedFileIsReadOnlyAndKept)
{
    QTemporaryDir tmp;
    const QString name = tmp.filePath(QStringLiteral("x.BRP"));
    {
        QFile f(name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(pattern(5000));
    }
    {
        TBRStream s(name);
        EXPECT_FALSE(s.UsingMemory());
        EXPECT_TRUE(s.TempFileName().isEmpty());
        EXPECT_EQ(s.Size(), 5000);
        char b[10];
        s.Seek(4995, TBRStream::SeekOrigin::Beginning);
        EXPECT_EQ(s.Read(b, 10), 5);
        EXPECT_THROW(s.Write(b, 1), StoreFileError);
    }
    EXPECT_TRUE(QFile::exists(name));
    EXPECT_THROW(TBRStream(tmp.filePath(QStringLiteral("missing.BRP"))), StoreFileError);
}
