#include "ProgramStop.h"

#include "Application.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QSocketNotifier>
#include <QWidget>

#if QT_CONFIG(xcb) && defined(BRP_HAVE_XCB)
#define BRP_WATCH_DISPLAY
#include <xcb/xcb.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
constexpr int kDisplayLost = 1;

int g_pipe[2] = {-1, -1};

bool g_requested = false;
int g_exitCode = 0;

// Only what is safe in a signal handler: one byte down the pipe, read by the
// event loop.
void onSignal(int signal)
{
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &byte, 1);
    errno = saved;
}

void closeAllWindows()
{
    // Modal windows first (message boxes, dialogs), then the others
    // (progress, preview), the main window last: it may be waiting for them.
    auto* app = dynamic_cast<Application*>(QCoreApplication::instance());
    QWidget* main = app ? app->MainForm() : nullptr;
    QList<QPointer<QWidget>> windows;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w != main)
            windows.append(w);
    std::stable_partition(windows.begin(), windows.end(), [](const QPointer<QWidget>& w) { return w->isModal(); });
    for (const QPointer<QWidget>& w : windows)
        if (w)
            w->close();
    if (main)
        main->close();
}

class Watcher : public QObject {
public:
    Watcher() : QObject(QCoreApplication::instance())
    {
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_pipe) == 0) {
            auto* notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
            connect(notifier, &QSocketNotifier::activated, this, [] {
                unsigned char byte = 0;
                while (::read(g_pipe[0], &byte, 1) == 1)
                    ProgramStop::Stop(128 + byte);
            });
        }
        WatchDisplay();
    }

private:
    // When the X server goes away, Qt ends the process at its next look at
    // the connection. Its end of the socket becomes readable then, and this
    // notifier is served before Qt's own event source: the windows are closed
    // at once, which frees the preview's pages before the process ends.
    void WatchDisplay()
    {
#ifdef BRP_WATCH_DISPLAY
        auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
        xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
        if (!connection)
            return;
        auto* notifier = new QSocketNotifier(xcb_get_file_descriptor(connection), QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this, [notifier, connection] {
            if (!xcb_connection_has_error(connection))
                return;
            notifier->setEnabled(false);
            ProgramStop::Stop(kDisplayLost);
        });
#endif
    }
};

} // namespace

namespace ProgramStop {

void Install()
{
    static Watcher* watcher = nullptr;
    if (!watcher && QCoreApplication::instance())
        watcher = new Watcher;
    if (g_pipe[1] < 0)
        return;
    // Set again on each call: a library (the database client) may have put
    // its own handler in since.
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int s : kSignals)
        ::sigaction(s, &action, nullptr);
}

void Stop(int exitCode)
{
    if (g_requested)
        return;
    g_requested = true;
    g_exitCode = exitCode;
    // Every QEventLoop (the main one, modal boxes and dialogs) ends, and one
    // started from now on returns at once; the loops that process messages
    // until their window closes end with the windows.
    QCoreApplication::exit(exitCode);
    closeAllWindows();
}

bool Requested()
{
    return g_requested;
}

int ExitCode()
{
    return g_exitCode;
}

} // namespace ProgramStop
