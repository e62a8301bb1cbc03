#include "FirstStartSetup.h"

#include "AliasConfig.h"
#include "Application.h"
#include "DemoDatabase.h"
#include "MessageService.h"
#include "PlatformError.h"
#include "TStatusBar.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QWidget>
#include <exception>
#include <thread>

namespace {

bool g_enabled = false;

const QString kDatabaseName = QStringLiteral("Kavrano.gdb");
const QString kStatusText = QStringLiteral("Primeira execução: criando o banco de dados de demonstração...");

QString dataDir()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/pedidos");
}

// The location file is found without regard to case, as start-up finds it.
bool hasLocationFile(const QString& workingDir)
{
    const QStringList names = QDir(workingDir).entryList(QDir::Files | QDir::Hidden);
    for (const QString& name : names)
        if (name.compare(QStringLiteral("Caminho.Dir"), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

void makeFolder(const QString& path)
{
    if (!QDir().mkpath(path) || !QFileInfo(path).isDir())
        throw PlatformError(QStringLiteral("Cannot create the folder \"%1\"").arg(path));
}

// Built under another name and renamed when complete, so that a start that is
// cut short never leaves a half-made database under the real name.
void makeDemoDatabase(const QString& path)
{
    const QString part = path + QStringLiteral(".%1.part").arg(QCoreApplication::applicationPid());
    QFile::remove(part);
    DemoDatabase::Options options;
    options.orders = FirstStartSetup::DemoOrders;
    DemoDatabase::Create(part, options);
    if (!QFile::rename(part, path)) {
        QFile::remove(part);
        // Another start made it meanwhile: theirs serves as well.
        if (!QFileInfo(path).isFile())
            throw PlatformError(QStringLiteral("Cannot put the demo database in place at \"%1\"").arg(path));
    }
}

void writeAliasFile(const QString& path, const QString& text)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0 || !file.commit())
        throw PlatformError(QStringLiteral("Cannot write \"%1\": %2").arg(path, file.errorString()));
}

} // namespace

namespace FirstStartSetup {

void Enable(bool enabled)
{
    g_enabled = enabled;
}

bool Enabled()
{
    return g_enabled;
}

QString DemoDatabasePath()
{
    return dataDir() + QLatin1Char('/') + kDatabaseName;
}

QString AliasFilePath()
{
    return AliasConfig::FilePath();
}

bool Needed(const QString& workingDir)
{
    return !QFileInfo::exists(AliasFilePath()) && !hasLocationFile(workingDir);
}

QString AliasFileText(const QString& data)
{
    return QStringLiteral("# Database aliases of the listing program, made on its first start.\n"
                          "[Kavrano]\n"
                          "DRIVER=INTRBASE\n"
                          "SERVER NAME=%1/%2\n"
                          "USER NAME=SYSDBA\n"
                          "\n"
                          "# Windows drive paths as the program knows them, and where they are here.\n"
                          "[Path map]\n"
                          "C:\\=%1/\n")
        .arg(data, kDatabaseName);
}

void Run()
{
    const QString data = dataDir();
    const QString database = DemoDatabasePath();
    const QString aliases = AliasFilePath();
    makeFolder(data);
    makeFolder(QFileInfo(aliases).absolutePath());
    // A database already there (the alias file was removed) is kept as it is.
    if (!QFileInfo::exists(database))
        makeDemoDatabase(database);
    writeAliasFile(aliases, AliasFileText(data));
}

void RunIfNeeded(QWidget* window, TStatusBar* statusBar)
{
    if (!g_enabled || !Needed(QDir::currentPath()))
        return;
    const QString previous = statusBar->PanelText(0);
    statusBar->SetPanelText(0, kStatusText);
    window->show();
    Application::ProcessMessages();

    // The database is made off the user-interface thread, so the window keeps
    // painting; input waits until the connection is there to be used.
    std::exception_ptr failure;
    QEventLoop loop;
    std::thread worker([&] {
        try {
            Run();
        } catch (...) {
            failure = std::current_exception();
        }
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();

    statusBar->SetPanelText(0, previous);
    if (failure) {
        QString reason;
        try {
            std::rethrow_exception(failure);
        } catch (const std::exception& e) {
            reason = brp::ExceptionText(e);
        } catch (...) {
            reason = QStringLiteral("unknown failure");
        }
        MessageService::Instance().Show(
            QStringLiteral("Atenção"),
            QStringLiteral("Não foi possível criar o banco de dados de demonstração: ") + reason,
            QMessageBox::Critical, QMessageBox::Ok);
    }
}

} // namespace FirstStartSetup
