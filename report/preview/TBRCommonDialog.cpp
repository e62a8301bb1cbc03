#include "TBRCommonDialog.h"

#include <QApplication>
#include <QWidget>

TBRCommonDialog::TBRCommonDialog(QObject* owner) : QObject(owner) {}

TBRCommonDialog::~TBRCommonDialog() = default;

int TBRCommonDialog::HelpMessage()
{
    // A fixed number from the user range stands for the registered message.
    static const int message = 0xC000 + 0x0101;
    return message;
}

std::function<void(int)>& TBRCommonDialog::HelpHandler()
{
    static std::function<void(int)> handler;
    return handler;
}

bool TBRCommonDialog::MessageHook(int message)
{
    if (message != HelpMessage() || m_helpContext == 0)
        return false;
    if (HelpHandler())
        HelpHandler()(m_helpContext);
    return true;
}

bool TBRCommonDialog::TaskModalDialog(const std::function<bool()>& dialog)
{
    QPointer<QWidget> active = QApplication::activeWindow();
    QList<QPointer<QWidget>> disabled;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isEnabled() && w->isVisible()) {
            w->setEnabled(false);
            disabled.append(w);
        }
    }
    struct Restore {
        QList<QPointer<QWidget>>& windows;
        QPointer<QWidget>& active;
        ~Restore()
        {
            for (const QPointer<QWidget>& w : windows)
                if (w)
                    w->setEnabled(true);
            if (active)
                active->activateWindow();
        }
    } restore{disabled, active};
    return dialog();
}

void TBRCommonDialog::WindowInitialized(QWidget* window)
{
    m_handle = window;
    DoShow();
}

void TBRCommonDialog::WindowDestroyed()
{
    DoClose();
    m_handle = nullptr;
}

void TBRCommonDialog::DoShow()
{
    if (OnShow)
        OnShow(this);
}

void TBRCommonDialog::DoClose()
{
    if (OnClose)
        OnClose(this);
}
