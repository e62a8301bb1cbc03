#pragma once
// Every message box of the program goes through this service, so that tests
// can answer and inspect them without a window appearing.

#include <QMessageBox>
#include <QString>

class MessageService {
public:
    virtual ~MessageService() = default;
    MessageService() = default;
    MessageService(const MessageService&) = delete;
    MessageService& operator=(const MessageService&) = delete;

    // The service in use: the one installed by setInstance, else the one
    // that shows real message boxes.
    static MessageService& Instance();
    // Installs `service` (not owned); nullptr goes back to real message boxes.
    static void SetInstance(MessageService* service);
    static MessageService* Installed();

    // Shows a modal message and returns the button the operator pressed.
    virtual QMessageBox::StandardButton Show(const QString& caption, const QString& text,
                                             QMessageBox::Icon icon,
                                             QMessageBox::StandardButtons buttons = QMessageBox::Ok) = 0;

    // The platform's warning dialog: caption "Warning", warning icon, OK.
    QMessageBox::StandardButton Warning(const QString& text)
    {
        return Show(QStringLiteral("Warning"), text, QMessageBox::Warning, QMessageBox::Ok);
    }
};

// Real message boxes over QMessageBox.
class QtMessageService : public MessageService {
public:
    QMessageBox::StandardButton Show(const QString& caption, const QString& text, QMessageBox::Icon icon,
                                     QMessageBox::StandardButtons buttons) override;
};
