#include "RecordingMessageService.h"

RecordingMessageService::RecordingMessageService() : m_previous(MessageService::installed())
{
    MessageService::setInstance(this);
}

RecordingMessageService::~RecordingMessageService()
{
    MessageService::setInstance(m_previous);
}

QMessageBox::StandardButton RecordingMessageService::show(const QString& caption, const QString& text,
                                                          QMessageBox::Icon icon,
                                                          QMessageBox::StandardButtons buttons)
{
    m_messages.append({caption, text, icon, buttons});
    if (onShow)
        onShow(m_messages.last());
    if (!m_answers.isEmpty())
        return m_answers.takeFirst();
    for (auto b : {QMessageBox::Ok, QMessageBox::Yes, QMessageBox::Retry, QMessageBox::Ignore, QMessageBox::No,
                   QMessageBox::Cancel, QMessageBox::Abort})
        if (buttons.testFlag(b))
            return b;
    return QMessageBox::NoButton;
}

QStringList RecordingMessageService::texts() const
{
    QStringList out;
    for (const auto& m : m_messages)
        out << m.text;
    return out;
}
