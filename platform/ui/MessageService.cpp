#include "MessageService.h"

#include <QApplication>

namespace {
MessageService* g_installed = nullptr;
}

MessageService& MessageService::instance()
{
    static QtMessageService real;
    return g_installed ? *g_installed : real;
}

void MessageService::setInstance(MessageService* service)
{
    g_installed = service;
}

MessageService* MessageService::installed()
{
    return g_installed;
}

QMessageBox::StandardButton QtMessageService::show(const QString& caption, const QString& text,
                                                   QMessageBox::Icon icon, QMessageBox::StandardButtons buttons)
{
    // Texts may break lines with a bare carriage return, as the platform allowed.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    QMessageBox box(icon, caption, shown, buttons, QApplication::activeWindow());
    return static_cast<QMessageBox::StandardButton>(box.exec());
}
