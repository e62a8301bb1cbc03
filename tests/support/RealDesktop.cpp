#include "RealDesktop.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QGuiApplication>
#include <QPoint>
#include <QStandardPaths>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace {
Display* display(void* d)
{
    return static_cast<Display*>(d);
}

unsigned long keysymOf(Qt::Key key)
{
    switch (key) {
    case Qt::Key_Return: return XK_Return;
    case Qt::Key_Enter: return XK_KP_Enter;
    case Qt::Key_Escape: return XK_Escape;
    case Qt::Key_Tab: return XK_Tab;
    case Qt::Key_Space: return XK_space;
    case Qt::Key_Up: return XK_Up;
    case Qt::Key_Down: return XK_Down;
    case Qt::Key_Shift: return XK_Shift_L;
    case Qt::Key_Control: return XK_Control_L;
    case Qt::Key_Alt: return XK_Alt_L;
    default:
        if ((key >= Qt::Key_0 && key <= Qt::Key_9) || key == Qt::Key_Slash)
            return static_cast<unsigned long>(key);
        if (key >= Qt::Key_A && key <= Qt::Key_Z)
            return static_cast<unsigned long>(key - Qt::Key_A + 'a');
        return NoSymbol;
    }
}
} // namespace

namespace brp {

bool WaitUntil(const std::function<bool()>& done, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
    }
    return true;
}

} // namespace brp

QString RealDesktop::UnavailableReason()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return QStringLiteral("needs an X server (runs under Xvfb with QT_QPA_PLATFORM=xcb; platform here: %1)")
            .arg(QGuiApplication::platformName());
    if (QStandardPaths::findExecutable(QStringLiteral("openbox")).isEmpty())
        return QStringLiteral("needs the openbox window manager (Debian package openbox)");
    return {};
}

QString RealDesktop::StartFor(std::unique_ptr<RealDesktop>& desktop)
{
    QString reason = UnavailableReason();
    if (reason.isEmpty()) {
        desktop = std::make_unique<RealDesktop>();
        reason = desktop->Start();
    }
    if (!reason.isEmpty())
        desktop.reset();
    return reason;
}

RealDesktop::RealDesktop(const QString& displayName)
    : m_displayName(displayName),
      m_display(XOpenDisplay(displayName.isEmpty() ? nullptr : displayName.toLocal8Bit().constData()))
{
}

RealDesktop::~RealDesktop()
{
    if (m_wm.state() != QProcess::NotRunning) {
        m_wm.terminate();
        if (!m_wm.waitForFinished(5000)) {
            m_wm.kill();
            m_wm.waitForFinished();
        }
    }
    Disconnect();
}

void RealDesktop::Disconnect()
{
    if (m_display)
        XCloseDisplay(display(m_display));
    m_display = nullptr;
}

QString RealDesktop::Start()
{
    if (!m_display)
        return QStringLiteral("cannot open the X display");
    int event = 0, error = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(display(m_display), &event, &error, &major, &minor))
        return QStringLiteral("the X server has no XTEST extension");
    if (!WindowManagerRunning()) {
        m_wm.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        if (!m_displayName.isEmpty()) {
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("DISPLAY"), m_displayName);
            m_wm.setProcessEnvironment(env);
        }
        // Openbox's own settings, but no mouse bindings: a click goes
        // straight to the window under the pointer, not through the window
        // manager first (which focuses the window, then passes the click on
        // when it gets round to it).
        QFile rc(m_config.filePath(QStringLiteral("rc.xml")));
        if (!rc.open(QIODevice::WriteOnly))
            return QStringLiteral("cannot write the window manager's settings");
        rc.write("<?xml version=\"1.0\"?>\n<openbox_config xmlns=\"http://openbox.org/3.4/rc\">\n"
                 "  <focus><focusNew>yes</focusNew></focus>\n  <mouse></mouse>\n</openbox_config>\n");
        rc.close();
        m_wm.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable"), QStringLiteral("--config-file"), rc.fileName()});
        if (!m_wm.waitForStarted(10000))
            return QStringLiteral("openbox did not start");
        if (!brp::WaitUntil([this] { return WindowManagerRunning(); }))
            return QStringLiteral("openbox did not take the screen");
    }
    return {};
}

bool RealDesktop::WindowManagerRunning() const
{
    Display* d = display(m_display);
    const Atom check = XInternAtom(d, "_NET_SUPPORTING_WM_CHECK", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    const int rc = XGetWindowProperty(d, DefaultRootWindow(d), check, 0, 1, False, XA_WINDOW, &type, &format, &count,
                                      &after, &data);
    const bool found = rc == Success && type == XA_WINDOW && count == 1;
    if (data)
        XFree(data);
    return found;
}

bool RealDesktop::HasKeyboard(unsigned long window) const
{
    Window focus = None;
    int revert = 0;
    XGetInputFocus(display(m_display), &focus, &revert);
    return focus == window;
}

namespace {
Window findWindow(Display* d, Window w, const QByteArray& title)
{
    char* name = nullptr;
    XWindowAttributes attributes;
    const bool shown = XGetWindowAttributes(d, w, &attributes) && attributes.map_state == IsViewable;
    if (shown && XFetchName(d, w, &name) && name) {
        const bool same = title == name;
        XFree(name);
        if (same)
            return w;
    }
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    Window found = 0;
    if (XQueryTree(d, w, &root, &parent, &children, &count)) {
        for (unsigned int i = 0; i < count && !found; ++i)
            found = findWindow(d, children[i], title);
        if (children)
            XFree(children);
    }
    return found;
}
} // namespace

int RealDesktop::Colours(unsigned long window, int most) const
{
    Display* d = display(m_display);
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(d, window, &attributes) || attributes.map_state != IsViewable)
        return 0;
    XImage* image = XGetImage(d, window, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
    if (!image)
        return 0;
    QList<unsigned long> seen;
    for (int y = 0; y < image->height && seen.size() < most; ++y)
        for (int x = 0; x < image->width && seen.size() < most; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y) & 0xFFFFFF;
            if (!seen.contains(pixel))
                seen.append(pixel);
        }
    XDestroyImage(image);
    return int(seen.size());
}

unsigned long RealDesktop::FindWindow(const QString& title) const
{
    Display* d = display(m_display);
    return findWindow(d, DefaultRootWindow(d), title.toUtf8());
}

void RealDesktop::send(unsigned long keysym, bool press)
{
    const KeyCode code = XKeysymToKeycode(display(m_display), keysym);
    if (code != 0)
        XTestFakeKeyEvent(display(m_display), code, press ? True : False, CurrentTime);
}

void RealDesktop::Key(Qt::Key key, std::initializer_list<Qt::Key> held)
{
    for (Qt::Key m : held)
        send(keysymOf(m), true);
    send(keysymOf(key), true);
    send(keysymOf(key), false);
    for (auto it = std::rbegin(held); it != std::rend(held); ++it)
        send(keysymOf(*it), false);
    XSync(display(m_display), False);
}

void RealDesktop::Type(const QString& text)
{
    for (QChar c : text) {
        const char16_t u = c.toUpper().unicode();
        Key(u == u' ' ? Qt::Key_Space : static_cast<Qt::Key>(u));
    }
}

void RealDesktop::Click(const QPoint& screenPos)
{
    Display* d = display(m_display);
    XTestFakeMotionEvent(d, -1, screenPos.x(), screenPos.y(), CurrentTime);
    XTestFakeButtonEvent(d, 1, True, CurrentTime);
    XTestFakeButtonEvent(d, 1, False, CurrentTime);
    // Returns once the server has handled the click: its events are on their
    // way to the window's program.
    XSync(d, False);
}

QString XvfbServer::UnavailableReason()
{
    if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty())
        return QStringLiteral("needs Xvfb (Debian package xvfb)");
    if (QStandardPaths::findExecutable(QStringLiteral("openbox")).isEmpty())
        return QStringLiteral("needs the openbox window manager (Debian package openbox)");
    return {};
}

QString XvfbServer::Start()
{
    // The server picks a free display and writes its number to its output.
    m_server.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                                            QStringLiteral("0"), QStringLiteral("1280x1024x24"),
                                            QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    if (!m_server.waitForStarted(10000))
        return QStringLiteral("Xvfb did not start");
    QByteArray out;
    const bool told = brp::WaitUntil([&] {
        out += m_server.readAllStandardOutput();
        return out.contains('\n') || m_server.state() == QProcess::NotRunning;
    });
    if (!told || !out.contains('\n'))
        return QStringLiteral("Xvfb did not say its display");
    m_display = u':' + QString::fromLatin1(out.trimmed());
    return {};
}

void XvfbServer::Stop()
{
    if (m_server.state() == QProcess::NotRunning)
        return;
    m_server.terminate();
    if (!m_server.waitForFinished(10000)) {
        m_server.kill();
        m_server.waitForFinished();
    }
}

void RealDesktop::ClickIn(unsigned long window, const QPoint& pos)
{
    Display* d = display(m_display);
    int x = 0, y = 0;
    Window child = 0;
    XTranslateCoordinates(d, window, DefaultRootWindow(d), pos.x(), pos.y(), &x, &y, &child);
    Click(QPoint(x, y));
}

DesktopScript::DesktopScript(QList<Step> steps) : m_steps(std::move(steps))
{
    connect(&m_timer, &QTimer::timeout, this, [this] { poll(); });
    m_timer.start(10);
}

void DesktopScript::poll()
{
    if (Finished()) {
        m_timer.stop();
        return;
    }
    const Step step = m_steps[m_next];
    if (step.ready && !step.ready())
        return;
    // Counted before acting: the act may open a modal loop, inside which
    // this timer goes on with the next step.
    ++m_next;
    if (step.act)
        step.act();
}
