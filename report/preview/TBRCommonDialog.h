#pragma once
// Base of the engine's wrapped platform dialogs: the dialog window while it
// exists, show and close notifications, the help hook, and running a dialog
// with every other window of the application disabled.

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>

using TBRDialogNotifyEvent = std::function<void(QObject* sender)>;

class TBRCommonDialog : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool Ctl3D READ Ctl3D WRITE SetCtl3D)
    Q_PROPERTY(int HelpContext READ HelpContext WRITE SetHelpContext)
public:
    explicit TBRCommonDialog(QObject* owner = nullptr);
    ~TBRCommonDialog() override;

    bool Ctl3D() const { return m_ctl3D; }
    void SetCtl3D(bool value) { m_ctl3D = value; }
    int HelpContext() const { return m_helpContext; }
    void SetHelpContext(int value) { m_helpContext = value; }

    TBRDialogNotifyEvent OnClose;
    TBRDialogNotifyEvent OnShow;

    // The dialog window while it exists.
    QWidget* Handle() const { return m_handle; }

    // The message the platform dialog sends when its help button is pressed.
    static int HelpMessage();
    // Answers the dialog's help request: with a HelpContext, opens the
    // application's help there (through HelpHandler) and answers true.
    virtual bool MessageHook(int message);
    // The application's help: shows topic `context`. None by default.
    static std::function<void(int context)>& HelpHandler();

    // Runs `dialog` with every other window of the application disabled and
    // the active window restored afterwards, whatever happens.
    virtual bool TaskModalDialog(const std::function<bool()>& dialog);

protected:
    // The dialog window has been created (placed and hooked by the caller).
    void WindowInitialized(QWidget* window);
    void WindowDestroyed();
    virtual void DoShow();
    virtual void DoClose();

private:
    bool m_ctl3D = true;
    int m_helpContext = 0;
    QPointer<QWidget> m_handle;
};
