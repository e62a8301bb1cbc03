#pragma once
// Base of every failure the system raises: one message text, shown as it is by
// the standard error display.

#include <QString>
#include <stdexcept>

class PlatformError : public std::runtime_error {
public:
    explicit PlatformError(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString& Message() const { return m_message; }

private:
    QString m_message;
};

namespace brp {

// The text to show for any failure: ours keep their exact message, others
// carry theirs in the local encoding.
inline QString ExceptionText(const std::exception& error)
{
    if (const auto* platform = dynamic_cast<const PlatformError*>(&error))
        return platform->Message();
    return QString::fromLocal8Bit(error.what());
}

} // namespace brp
