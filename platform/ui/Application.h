#pragma once
// The application object: set-up, the main window, the message loop and the
// standard error display for failures that no handler catches.

#include <QApplication>
#include <QPointer>
#include <QWidget>
#include <exception>
#include <utility>

class Application : public QApplication {
public:
    Application(int& argc, char** argv);
    // Destroys the forms it created while the application still exists.
    ~Application() override;

    // Fonts and other process-wide settings, before any window exists.
    void Initialize();

    // Creates a top-level window; the first one created is the main window,
    // whose closing ends Run.
    template <class Form>
    Form* CreateForm()
    {
        auto* form = new Form();
        m_forms.append(form);
        if (!m_mainForm)
            m_mainForm = form;
        return form;
    }
    QWidget* MainForm() const { return m_mainForm; }

    // Shows the main window and runs the message loop until it closes or the
    // program is stopped from outside (ProgramStop: a signal, the display
    // gone); returns the loop's code, or the stop's.
    int Run();

    // Handles the window messages that are waiting, then returns.
    static void ProcessMessages();

    // The standard error display: a message box with the failure's text.
    static void ShowException(const std::exception& error);
    // Shows the failure being handled; call only from inside a catch block.
    static void HandleCurrentException();

    // Runs an event handler; a failure it lets through goes to the standard
    // error display and the program goes on.
    template <class Handler>
    static void Guard(Handler&& handler)
    {
        try {
            std::forward<Handler>(handler)();
        } catch (...) {
            HandleCurrentException();
        }
    }

    // Fonts named by the windows' definitions, mapped to installed ones.
    static void InstallFontSubstitutes();

    bool notify(QObject* receiver, QEvent* event) override;

private:
    QPointer<QWidget> m_mainForm;
    QList<QPointer<QWidget>> m_forms;
};
