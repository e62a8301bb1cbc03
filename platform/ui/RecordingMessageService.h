#pragma once
// Test double of the message service: records every message and answers it
// at once, showing nothing. Installs itself while it lives.

#include "MessageService.h"

#include <QList>
#include <functional>

class RecordingMessageService : public MessageService {
public:
    struct Message {
        QString caption;
        QString text;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
    };

    RecordingMessageService();
    ~RecordingMessageService() override;
    RecordingMessageService(const RecordingMessageService&) = delete;
    RecordingMessageService& operator=(const RecordingMessageService&) = delete;

    QMessageBox::StandardButton Show(const QString& caption, const QString& text, QMessageBox::Icon icon,
                                     QMessageBox::StandardButtons buttons) override;

    const QList<Message>& Messages() const { return m_messages; }
    QStringList Texts() const;
    void Clear() { m_messages.clear(); }

    // Answers given in turn; when none is queued, the first of OK, Yes,
    // Retry, Ignore, No, Cancel, Abort that the message offers.
    void QueueAnswer(QMessageBox::StandardButton answer) { m_answers.append(answer); }
    // Called while the message is "on screen", e.g. to look at the focus.
    std::function<void(const Message&)> onShow;

private:
    QList<Message> m_messages;
    QList<QMessageBox::StandardButton> m_answers;
    MessageService* m_previous;
};
