#include "platform/MailHandoff.h"

#include <QProcess>

MailHandoff::MailHandoff(QObject *parent) : QObject(parent), m_program(desktopProgram()) {}

void MailHandoff::send(const QString &subject, const QString &body)
{
    auto *process = new QProcess(this);
    ++m_pending;
    // Qt passes arguments as UTF-8 whatever the locale, so tell xdg-email not to convert them.
    process->setProgram(m_program);
    process->setArguments({QStringLiteral("--utf8"), QStringLiteral("--subject"), subject, QStringLiteral("--body"), body});
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);

    auto done = [this, process](bool handedOver) {
        process->disconnect(this);
        process->deleteLater();
        --m_pending;
        // Always reported from the event loop, even when the start fails inside start().
        QMetaObject::invokeMethod(this, [this, handedOver] { emit finished(handedOver); }, Qt::QueuedConnection);
    };
    connect(process, &QProcess::errorOccurred, this, [done](QProcess::ProcessError error) {
        // A crash is reported again by finished(); only a failed start ends here.
        if (error == QProcess::FailedToStart)
            done(false);
    });
    connect(process, &QProcess::finished, this, [done](int exitCode, QProcess::ExitStatus status) {
        done(status == QProcess::NormalExit && exitCode == 0);
    });
    process->start();
}
