#pragma once

#include <QString>

#include <exception>

// The one exception type of the program: a message meant for the user.
// Handlers throw it; the event loop shows it in the standard error box and goes on.
class AppError : public std::exception
{
public:
    explicit AppError(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}
    const QString &message() const noexcept { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};
