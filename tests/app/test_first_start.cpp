// The program's first start: with no alias file and no location file it makes
// the demo database and the alias file itself, with a message in the status
// bar while it does; otherwise it leaves start-up as documented.
#include "FbConnection.h"
#include "FirstStartSetup.h"
#include "RecordingMessageService.h"
#include "TDatabase.h"
#include "TSQLConnection.h"
#include "TStatusBar.h"
#include "TempFirebird.h"
#include "UPrincipal.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class FirstStart : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_oldData = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", QFile::encodeName(dir.path(QStringLiteral("data"))));
        m_oldCwd = QDir::currentPath();
        QDir::setCurrent(work.path());
        FirstStartSetup::Enable();
    }
    void TearDown() override
    {
        window.reset();
        FirstStartSetup::Enable(false);
        QDir::setCurrent(m_oldCwd);
        if (m_oldData.isNull())
            qunsetenv("XDG_DATA_HOME");
        else
            qputenv("XDG_DATA_HOME", m_oldData);
    }

    QString dataDir() const { return dir.path(QStringLiteral("data/pedidos")); }
    QString database() const { return dataDir() + QStringLiteral("/Kavrano.gdb"); }

    // Starts the window; what the status bar says while the window is shown
    // during start-up is recorded.
    void start()
    {
        messages.Clear();
        statusSeen.clear();
        QTimer probe;
        probe.setInterval(10);
        QObject::connect(&probe, &QTimer::timeout, [this] {
            if (FPrincipal && FPrincipal->isVisible() && !FPrincipal->BarraStatus->PanelText(0).isEmpty())
                statusSeen = FPrincipal->BarraStatus->PanelText(0);
        });
        probe.start();
        window = std::make_unique<TFPrincipal>();
    }

    TempFirebirdDir dir;   // also the alias file's XDG_CONFIG_HOME
    QTemporaryDir work;
    RecordingMessageService messages;
    std::unique_ptr<TFPrincipal> window;
    QString statusSeen;

private:
    QByteArray m_oldData;
    QString m_oldCwd;
};

TEST_F(FirstStart, MakesTheDemoDatabaseOnceAndConnects)
{
    ASSERT_TRUE(FirstStartSetup::Needed(QDir::currentPath()));
    start();
    EXPECT_TRUE(messages.Messages().isEmpty()) << messages.Texts().join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(statusSeen.contains(QStringLiteral("banco de dados de demonstração"))) << statusSeen.toStdString();
    EXPECT_EQ(window->BarraStatus->PanelText(0), QString());
    EXPECT_EQ(readAll(dir.aliasFile()), FirstStartSetup::AliasFileText(dataDir()).toUtf8());
    EXPECT_TRUE(window->DbKavrano->Connected());
    EXPECT_TRUE(window->CnKavrano->Connected());
    EXPECT_EQ(window->CnKavrano->Params().Value(QStringLiteral("DataBase")), database());
    window.reset();
    {
        FbConnection db;
        db.Attach(database(), QStringLiteral("SYSDBA"), QString());
        const FbResult r = db.Query(QStringLiteral("select count(*) from Pedidoc"));
        EXPECT_EQ(r.rows.at(0).at(0).toInt(), FirstStartSetup::DemoOrders);
    }
    EXPECT_EQ(QDir(dataDir()).entryList(QDir::Files), QStringList{QStringLiteral("Kavrano.gdb")});

    // Later starts keep what is there, edits included.
    QFile edited(dir.aliasFile());
    ASSERT_TRUE(edited.open(QIODevice::Append));
    edited.write("# edited by hand\n");
    edited.close();
    const QByteArray aliases = readAll(dir.aliasFile());
    start();
    EXPECT_TRUE(messages.Messages().isEmpty());
    EXPECT_TRUE(statusSeen.isEmpty()) << statusSeen.toStdString();
    EXPECT_EQ(readAll(dir.aliasFile()), aliases);
    EXPECT_TRUE(window->CnKavrano->Connected());
}

TEST_F(FirstStart, LeavesStartUpAloneWhenThereIsSomethingToConnectTo)
{
    struct Case {
        const char* name;
        bool enabled;
        const char* aliases;      // alias file text, none when null
        const char* locationFile; // Caminho.Dir's text, none when null
    };
    // An alias naming a missing database keeps the documented fallback, which
    // fails here too (its drive maps to an empty folder).
    const QString emptyFolder = dir.path(QStringLiteral("vazio"));
    QDir().mkpath(emptyFolder);
    const QByteArray missingAlias =
        QStringLiteral("[Kavrano]\nSERVER NAME=/nao/existe.gdb\n[Path map]\nC:\\=%1/\n").arg(emptyFolder).toUtf8();
    const Case cases[] = {
        {"alias naming a missing database", true, missingAlias.constData(), nullptr},
        {"location file, no alias file", true, nullptr, "/nao/existe.gdb\n"},
        {"set-up not enabled", false, nullptr, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FirstStartSetup::Enable(c.enabled);
        QFile::remove(dir.aliasFile());
        QFile::remove(work.path() + QStringLiteral("/Caminho.Dir"));
        if (c.aliases)
            TempFirebirdDir::writeFile(dir.aliasFile(), QString::fromUtf8(c.aliases));
        if (c.locationFile)
            TempFirebirdDir::writeFile(work.path() + QStringLiteral("/Caminho.Dir"), QString::fromUtf8(c.locationFile));
        start();
        window.reset();
        EXPECT_TRUE(statusSeen.isEmpty());
        EXPECT_FALSE(QFileInfo::exists(dataDir()));
        EXPECT_EQ(QFileInfo::exists(dir.aliasFile()), c.aliases != nullptr);
        if (c.aliases) {
            EXPECT_EQ(readAll(dir.aliasFile()), QByteArray(c.aliases));
        }
        // What start-up reports is its own: never the set-up's message.
        ASSERT_FALSE(messages.Messages().isEmpty());
        for (const auto& m : messages.Messages())
            EXPECT_FALSE(m.text.contains(QStringLiteral("demonstração"))) << m.text.toStdString();
    }
}

TEST_F(FirstStart, KeepsADatabaseFileThatIsAlreadyThere)
{
    // Only the alias file was removed: the file under the database's name
    // stays as it is, whatever it holds.
    QDir().mkpath(dataDir());
    TempFirebirdDir::writeFile(database(), QStringLiteral("dados do usuário\n"));
    start();
    window.reset();
    EXPECT_EQ(readAll(database()), QByteArray("dados do usuário\n"));
    EXPECT_EQ(readAll(dir.aliasFile()), FirstStartSetup::AliasFileText(dataDir()).toUtf8());
}

TEST_F(FirstStart, AFailureIsReportedAndLeavesNothingBehind)
{
    // The data folder cannot be made: a file stands where it should be.
    TempFirebirdDir::writeFile(dir.path(QStringLiteral("data")), QStringLiteral("x"));
    start();
    ASSERT_FALSE(messages.Messages().isEmpty());
    const auto& m = messages.Messages()[0];
    EXPECT_EQ(m.caption, QStringLiteral("Atenção"));
    EXPECT_EQ(m.icon, QMessageBox::Critical);
    EXPECT_TRUE(m.text.startsWith(QStringLiteral("Não foi possível criar o banco de dados de demonstração: ")));
    EXPECT_TRUE(m.text.contains(dataDir())) << m.text.toStdString();
    EXPECT_FALSE(QFileInfo::exists(dir.aliasFile()));
    EXPECT_EQ(window->BarraStatus->PanelText(0), QString());
    // Start-up goes on as usual and finds nothing to open.
    EXPECT_FALSE(window->CnKavrano->Connected());
    EXPECT_TRUE(window->isEnabled());
}
