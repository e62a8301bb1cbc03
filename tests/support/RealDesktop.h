#pragma once
// Real window-system input for the tests whose faults show only with it: the
// X server the test runs on, a window manager (openbox) started for the test,
// and keys pressed through the XTEST extension, as a keyboard presses them.
// RealDesktop.cpp goes with it; the test links X11 and Xtst (BRP_HAVE_XTEST).

#include <QList>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <initializer_list>
#include <memory>

namespace brp {

// Processes events until `done` holds or `timeoutMs` passes; true when it held.
bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 15000);

} // namespace brp

class RealDesktop {
public:
    // Why the real desktop cannot be had here, or empty when it can.
    static QString UnavailableReason();
    // A desktop on the test's display with its window manager running in
    // `desktop`; else the reason why not, and `desktop` empty.
    static QString StartFor(std::unique_ptr<RealDesktop>& desktop);

    // On the display named (":12"), or the one the test runs on.
    explicit RealDesktop(const QString& displayName = {});
    ~RealDesktop();
    RealDesktop(const RealDesktop&) = delete;
    RealDesktop& operator=(const RealDesktop&) = delete;

    // Starts openbox and waits until it manages the screen; the reason why
    // not when it cannot.
    QString Start();
    // A window manager has announced itself on the root window.
    bool WindowManagerRunning() const;
    // The X server sends the keyboard to this window (a widget's winId()).
    bool HasKeyboard(unsigned long window) const;
    // How many different colours the X server shows in a window, up to
    // `most`: 1 for a window not drawn yet; 0 when it cannot be read.
    int Colours(unsigned long window, int most = 16) const;
    // Closes the test's own connection (before its X server goes away); the
    // window manager stays.
    void Disconnect();
    // A window on screen with this title (any program's), or 0.
    unsigned long FindWindow(const QString& title) const;

    // Presses and releases a key, with the modifiers held (Qt::Key_Shift,
    // Qt::Key_Control, Qt::Key_Alt).
    void Key(Qt::Key key, std::initializer_list<Qt::Key> held = {});
    // Types digits, letters and blanks.
    void Type(const QString& text);
    // Moves the pointer to a place on the screen and clicks the left button.
    void Click(const QPoint& screenPos);
    // The same at a place within a window (a widget's winId()), where the X
    // server has it (the program may not know yet where its window went).
    void ClickIn(unsigned long window, const QPoint& pos);

private:
    void send(unsigned long keysym, bool press);

    QString m_displayName;
    void* m_display = nullptr; // the test's own connection, not Qt's
    QProcess m_wm;
    QTemporaryDir m_config;
};

// An X server of the test's own (Xvfb), for a program run as a child process
// whose display may be taken away.
class XvfbServer {
public:
    static QString UnavailableReason();
    XvfbServer() = default;
    ~XvfbServer() { Stop(); }
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    // Starts the server on a free display; the reason why not when it cannot.
    QString Start();
    // Ends the server, as when a display goes away.
    void Stop();
    QString Display() const { return m_display; }

private:
    QProcess m_server;
    QString m_display;
};

// Runs steps in turn from a timer, so that they also go on inside the modal
// loops that a step opens: each waits for its condition, then acts.
class DesktopScript : public QObject {
public:
    struct Step {
        const char* what;
        std::function<bool()> ready;
        std::function<void()> act;
    };

    explicit DesktopScript(QList<Step> steps);
    bool Finished() const { return m_next >= m_steps.size(); }
    // The step still waiting, for the failure message.
    QString Waiting() const { return Finished() ? QString() : QString::fromUtf8(m_steps[m_next].what); }

private:
    void poll();

    QList<Step> m_steps;
    qsizetype m_next = 0;
    QTimer m_timer;
};
