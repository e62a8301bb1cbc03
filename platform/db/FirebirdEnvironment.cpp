#include "FirebirdEnvironment.h"

#include <firebird/Interface.h>
#include <ibase.h>

#include <QCoreApplication>

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <mutex>
#include <unistd.h>

namespace {

// The client library takes over SIGINT and SIGTERM to shut its engine down;
// without this the program would live on, with dead connections, after being
// told to stop. Runs on the library's shutdown thread: only post.
int onShutdown(const int reason, const int, void*)
{
    if (reason == fb_shutrsn_signal)
        if (auto* app = QCoreApplication::instance())
            QMetaObject::invokeMethod(app, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
    return 0;
}

}

namespace FirebirdEnvironment {

void prepare()
{
    static std::once_flag once;
    std::call_once(once, [] {
        ISC_STATUS_ARRAY status;
        fb_shutdown_callback(status, onShutdown, fb_shut_finish, nullptr);
        if (!qEnvironmentVariableIsEmpty("FIREBIRD_LOCK"))
            return;
        QString base = qEnvironmentVariable("XDG_RUNTIME_DIR");
        QString dir;
        if (!base.isEmpty() && QFileInfo(base).isDir() && QFileInfo(base).isWritable())
            dir = base + QStringLiteral("/firebird");
        else
            dir = QDir::tempPath() + QStringLiteral("/firebird-%1").arg(getuid());
        QDir().mkpath(dir);
        QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        qputenv("FIREBIRD_LOCK", QFile::encodeName(dir));
    });
}

Firebird::IMaster* master()
{
    prepare();
    static Firebird::IMaster* m = Firebird::fb_get_master_interface();
    return m;
}

Firebird::IUtil* util()
{
    return master()->getUtilInterface();
}

bool isRemoteLocation(const QString& location)
{
    const QString s = location.trimmed();
    if (s.startsWith(QStringLiteral("inet"), Qt::CaseInsensitive) && s.contains(QStringLiteral("://")))
        return true;
    static const QRegularExpression drive(QStringLiteral("^[A-Za-z]:[\\\\/]"));
    if (drive.match(s).hasMatch())
        return false;
    const qsizetype colon = s.indexOf(QLatin1Char(':'));
    if (colon <= 0)
        return false;
    // A colon after the first path separator belongs to the file name.
    const qsizetype slash = s.indexOf(QLatin1Char('/'));
    const qsizetype back = s.indexOf(QLatin1Char('\\'));
    const qsizetype firstSep = slash < 0 ? back : (back < 0 ? slash : qMin(slash, back));
    // "host/port:path" (port number or service name) keeps a slash before the colon.
    if (firstSep >= 0 && firstSep < colon) {
        const QString port = s.mid(firstSep + 1, colon - firstSep - 1);
        return firstSep > 0 && firstSep == slash && !port.isEmpty() && !port.contains(QLatin1Char('/'))
            && !port.contains(QLatin1Char('\\'));
    }
    return true;
}

QString providerConfig(const QString& location)
{
    return isRemoteLocation(location) ? QStringLiteral("Providers=Remote") : QStringLiteral("Providers=Engine12");
}

}
