#include "platform/SingleInstance.h"

#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace {
const QByteArray kShowRequest = "show\n";
const QByteArray kShownAnswer = "ok\n";
}

namespace {

// One program per desktop session: the user and the display it shows on (two X servers of one user,
// such as a nested or virtual one, each get their own).
QString sessionTag()
{
    QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (display.isEmpty())
        display = qEnvironmentVariable("DISPLAY");
    QString tag;
    for (const QChar c : std::as_const(display))
        tag += c.isLetterOrNumber() ? c : QLatin1Char('_');
    return tag;
}

} // namespace

SingleInstance::SingleInstance(const QString &caption, QObject *parent)
    : QObject(parent), m_name(QStringLiteral("%1-%2-%3").arg(caption).arg(::getuid()).arg(sessionTag()))
{
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::activateRunning(int timeoutMs)
{
    QLocalSocket socket;
    // Both sides use the abstract namespace: nothing stale is left on disk after a crash.
    socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(kShowRequest);
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    // Wait for the answer so that the first instance has acted before this process ends.
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(timeoutMs))
            return socket.state() == QLocalSocket::ConnectedState || socket.bytesAvailable() > 0;
    }
    return true;
}

bool SingleInstance::listen()
{
    if (m_server)
        return true;
    auto *server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::AbstractNamespaceOption);
    // Never removeServer(): an abstract name refuses a second listen(), which is the lock we want.
    if (!server->listen(m_name)) {
        delete server;
        return false;
    }
    m_server = server;
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::onNewConnection);
    return true;
}

void SingleInstance::onNewConnection()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            while (socket->canReadLine()) {
                // Only a known request counts; anything else on the socket is ignored.
                if (socket->readLine(64) == kShowRequest) {
                    emit showRequested();
                    socket->write(kShownAnswer);
                    socket->flush();
                }
            }
            if (socket->bytesAvailable() > 64)
                socket->abort();
        });
    }
}
