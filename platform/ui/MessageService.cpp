#include "MessageService.h"
#include "InstalledService.h"

#include <QApplication>
#include <QPointer>

namespace {
InstalledService<MessageService, QtMessageService> g_service;
}

MessageService& MessageService::Instance()
{
    return g_service.Current();
}

void MessageService::SetInstance(MessageService* service)
{
    g_service.Install(service);
}

MessageService* MessageService::Installed()
{
    return g_service.Installed();
}

QMessageBox::StandardButton QtMessageService::Show(const QString& caption, const QString& text,
                                                   QMessageBox::Icon icon, QMessageBox::StandardButtons buttons)
{
    // Texts may break lines with a bare carriage return, as the platform allowed.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    const QPointer<QWidget> owner = QApplication::activeWindow();
    QMessageBox box(icon, caption, shown, buttons, owner);
    const auto answer = static_cast<QMessageBox::StandardButton>(box.exec());
    // The window the box came from takes the keyboard again; a window manager
    // does not always give it back when the box goes.
    if (owner && owner->isVisible())
        owner->activateWindow();
    return answer;
}
