#pragma once

// A PulseAudio server of this process's own with a null sink: the real sound path, heard by nobody and
// shared with no one. The process's environment is pointed at it.

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

class PrivatePulse
{
public:
    PrivatePulse() = default;
    PrivatePulse(const PrivatePulse &) = delete;
    PrivatePulse &operator=(const PrivatePulse &) = delete;
    ~PrivatePulse() { stop(); }

    // Starts the server with its socket and state under home. Empty when it runs, else why it does not.
    QString start(const QString &home)
    {
        const QString pulse = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
        if (pulse.isEmpty())
            return QStringLiteral("pulseaudio is not installed");
        const QString socket = home + QStringLiteral("/pulse.sock");
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), home);
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home);
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home);
        m_server.setProcessEnvironment(env);
        m_server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_server.start(pulse, {QStringLiteral("-n"), QStringLiteral("--daemonize=no"),
                               QStringLiteral("--exit-idle-time=-1"), QStringLiteral("--log-level=error"),
                               QStringLiteral("-L"), QStringLiteral("module-null-sink"), QStringLiteral("-L"),
                               QStringLiteral("module-native-protocol-unix auth-anonymous=1 socket=") + socket});
        QElapsedTimer waited;
        waited.start();
        while (!QFile::exists(socket) && m_server.state() != QProcess::NotRunning && waited.elapsed() < 5000)
            QThread::msleep(10);
        if (!QFile::exists(socket) || m_server.state() == QProcess::NotRunning)
            return QStringLiteral("no private PulseAudio server could be started");
        qputenv("PULSE_SERVER", "unix:" + QFile::encodeName(socket));
        qputenv("HOME", QFile::encodeName(home));
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(home));
        return {};
    }

    void stop()
    {
        if (m_server.state() == QProcess::NotRunning)
            return;
        m_server.terminate();
        if (!m_server.waitForFinished(3000))
            m_server.kill();
        m_server.waitForFinished(1000);
    }

private:
    QProcess m_server;
};
