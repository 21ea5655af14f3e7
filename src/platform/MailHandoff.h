#pragma once

#include <QObject>
#include <QString>

// Hands a new message (subject and text, no recipients) to the desktop's mail program through
// xdg-email. The hand-off runs in the background; `finished` reports whether the mail program took it.
class MailHandoff final : public QObject
{
    Q_OBJECT
public:
    // The desktop's own hand-off, the program the hand-off starts unless told otherwise.
    static QString desktopProgram() { return QStringLiteral("xdg-email"); }

    explicit MailHandoff(QObject *parent = nullptr);

    // The command that opens the compose window.
    void setProgram(const QString &program) { m_program = program; }
    QString program() const { return m_program; }

    // Starts the hand-off and returns at once; each call ends in exactly one `finished`.
    void send(const QString &subject, const QString &body);
    int pending() const { return m_pending; }

signals:
    // True when the program ran and exited with 0; false when it could not start, crashed or failed.
    void finished(bool handedOver);

private:
    QString m_program;
    int m_pending = 0;
};
