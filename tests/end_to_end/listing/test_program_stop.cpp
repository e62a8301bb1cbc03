// The program, run as a child process on an X server of its own with a window
// manager, stopped from outside while its preview shows a listing whose pages
// went to a temporary file: by SIGTERM (a session ending), SIGINT (Ctrl+C),
// SIGHUP (its terminal gone) or the X server going away; and by SIGTERM while
// a message box of its start-up waits (a database it cannot open). Each time
// it must end within a few seconds, with the signal's exit code, and leave no
// page file behind.
#include "DemoDatabaseFolder.h"
#include "TempFirebird.h"

#include <gtest/gtest.h>

#ifdef BRP_HAVE_XTEST
#include "RealDesktop.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <csignal>
#include <unistd.h>
#include <memory>

namespace {

QString programPath()
{
    return qEnvironmentVariable("BRP_BINARY_DIR", QStringLiteral(BRP_DEFAULT_BINARY_DIR)) +
           QStringLiteral("/app/pedidos");
}

QStringList pageFiles(const QString& dir)
{
    return QDir(dir).entryList({QStringLiteral("BRP*.tmp")}, QDir::Files);
}

// The process holds a page file of `dir` open (its name may already be gone).
bool holdsPageFile(qint64 pid, const QString& dir)
{
    // readlink itself: the link of an unlinked file reads "NAME (deleted)",
    // which QFileInfo does not report as a target. The links stat as what
    // they open, so every kind of entry is listed.
    const QDir fds(QStringLiteral("/proc/%1/fd").arg(pid));
    const QByteArray prefix = QFile::encodeName(dir + QStringLiteral("/BRP"));
    for (const QString& fd : fds.entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot)) {
        char target[4096];
        const ssize_t n = ::readlink(QFile::encodeName(fds.filePath(fd)).constData(), target, sizeof target - 1);
        if (n > 0 && QByteArray(target, n).startsWith(prefix))
            return true;
    }
    return !pageFiles(dir).isEmpty();
}

} // namespace

class ProgramStopTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!XvfbServer::UnavailableReason().isEmpty() || !QFileInfo(programPath()).isExecutable())
            return;
        dir = new TempFirebirdDir;
        DemoDatabase::Options o;
        o.orders = 900;
        brp::CreateDemoDatabase(*dir, o);
    }
    static void TearDownTestSuite()
    {
        delete dir;
        dir = nullptr;
    }
    void SetUp() override
    {
        const QString reason = XvfbServer::UnavailableReason();
        if (!reason.isEmpty())
            GTEST_SKIP() << reason.toStdString();
        if (!QFileInfo(programPath()).isExecutable())
            GTEST_SKIP() << "the program is not built: " << programPath().toStdString();
    }

    static TempFirebirdDir* dir;
};

TempFirebirdDir* ProgramStopTest::dir = nullptr;

TEST_F(ProgramStopTest, EndsWithItsPreviewOpenAndLeavesNoPageFile)
{
    const struct {
        const char* name;
        int signal; // 0: the X server goes away
        int exitCode;
        bool duringStartUp = false; // a message box of the start-up waits
    } cases[] = {
        {"SIGTERM", SIGTERM, 128 + SIGTERM},
        {"SIGINT", SIGINT, 128 + SIGINT},
        {"SIGHUP", SIGHUP, 128 + SIGHUP},
        {"display lost", 0, 1},
        {"SIGTERM during start-up", SIGTERM, 128 + SIGTERM, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        XvfbServer server;
        const QString started = server.Start();
        ASSERT_TRUE(started.isEmpty()) << started.toStdString();
        auto desktop = std::make_unique<RealDesktop>(server.Display());
        const QString managed = desktop->Start();
        ASSERT_TRUE(managed.isEmpty()) << managed.toStdString();

        QTemporaryDir temp, work, config;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        if (c.duringStartUp) {
            // An alias naming no database: the start-up reports it and waits.
            QDir().mkpath(config.filePath(QStringLiteral("pedidos")));
            TempFirebirdDir::writeFile(config.filePath(QStringLiteral("pedidos/aliases.conf")),
                                       QStringLiteral("[Kavrano]\nSERVER NAME=%1\n").arg(work.filePath(QStringLiteral("nada.gdb"))));
            env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
        }
        // Under the sanitizers the program runs without their leak check at
        // exit. Stopped by a signal after it has loaded both the database
        // client's plugins and its windows' (each with thread-local storage),
        // the runtime's own record of that storage can be garbage, and its
        // leak check then crashes in its thread tracer and aborts (exit code
        // 6): seen in about one run in three on a busy machine, whatever the
        // program did last. This test looks at the exit and the page file;
        // everything else the sanitizers check stays on.
        if (const QString asan = env.value(QStringLiteral("ASAN_OPTIONS")); !asan.isEmpty())
            env.insert(QStringLiteral("ASAN_OPTIONS"), asan + QStringLiteral(":detect_leaks=0"));
        env.insert(QStringLiteral("DISPLAY"), server.Display());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("TMPDIR"), temp.path());
        QProcess program;
        program.setProcessEnvironment(env);
        program.setWorkingDirectory(work.path());
        program.setProcessChannelMode(QProcess::ForwardedChannels);
        program.start(programPath(), {});
        ASSERT_TRUE(program.waitForStarted(10000));

        if (c.duringStartUp) {
            const bool told = brp::WaitUntil([&] {
                for (const char* caption : {"Atenção", "Informação", "pedidos"})
                    if (desktop->FindWindow(QString::fromUtf8(caption)))
                        return true;
                return false;
            }, 30000);
            ASSERT_TRUE(told) << "no message box at start-up";
        } else {
            // "&Imprimir" by its accelerator, once the window has the keyboard.
            const bool ready = brp::WaitUntil([&] {
                const unsigned long window = desktop->FindWindow(QStringLiteral("Listagem de Pedidos sem Contas a Receber"));
                return window && desktop->HasKeyboard(window);
            }, 30000);
            ASSERT_TRUE(ready) << "the main window never took the keyboard";
            desktop->Key(Qt::Key_I, {Qt::Key_Alt});
            const bool previewed = brp::WaitUntil([&] {
                return desktop->FindWindow(QStringLiteral("Print Preview")) && holdsPageFile(program.processId(), temp.path());
            }, 60000);
            ASSERT_TRUE(previewed) << "no preview with its pages in a temporary file";
        }

        if (c.signal) {
            ::kill(static_cast<pid_t>(program.processId()), c.signal);
        } else {
            desktop->Disconnect(); // the test's own connection goes first
            server.Stop();
        }
        const bool ended = program.waitForFinished(20000);
        if (!ended) {
            program.kill();
            program.waitForFinished();
        }
        ASSERT_TRUE(ended) << "the program was still running 20 s later";
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), c.exitCode);
        EXPECT_EQ(pageFiles(temp.path()), QStringList());
    }
}

#else
TEST(ProgramStopTest, EndsWithItsPreviewOpenAndLeavesNoPageFile)
{
    GTEST_SKIP() << "built without X11 and XTEST (Debian package libxtst-dev)";
}
#endif
