#include "RecordingMessageService.h"

RecordingMessageService::RecordingMessageService() : m_previous(MessageService::Installed())
{
    MessageService::SetInstance(this);
}

RecordingMessageService::~RecordingMessageService()
{
    MessageService::SetInstance(m_previous);
}

QMessageBox::StandardButton RecordingMessageService::Show(const QString& caption, const QString& text,
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

QStringList RecordingMessageService::Texts() const
{
    QStringList out;
    for (const auto& m : m_messages)
        out << m.text;
    return out;
}
