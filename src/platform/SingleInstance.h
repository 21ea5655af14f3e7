#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QObject>
#include <QString>

#include <map>
#include <memory>

class QSocketNotifier;

// One running program per user, desktop session and caption. The first start listens on an abstract local
// socket named after them; a later start finds it there, asks it to show itself and come to the front, and ends.
// Plain sockets with socket notifiers: the whole network module would cost start-up time for this one line.
class SingleInstance final : public QObject
{
    Q_OBJECT
public:
    enum class Start { First, HandedOver, NotResponding };

    explicit SingleInstance(const QString &caption, QObject *parent = nullptr);
    ~SingleInstance() override;

    // Takes the name, or asks the instance that holds it to show itself. A busy instance (one still starting,
    // or flooded by many starts at once) is waited for; one that has not answered by the time-out is not
    // responding. Needs no event loop: requests wait in the queue until listen() starts serving them.
    Start start(int timeoutMs = 4000);
    // Asks a running instance to show itself. True when one answered in time.
    bool activateRunning(int timeoutMs = 1000);
    // Becomes the running instance and serves requests from the event loop. False when another one holds the name.
    bool listen();

    QString serverName() const { return m_name; }

signals:
    void showRequested();

private:
    struct Client;
    enum class Asked { Answered, Nobody, Silent };

    Asked ask(const QDeadlineTimer &deadline) const;
    // Binds and listens; errno tells why not.
    bool takeName();
    void acceptPending();
    void readFrom(int fd);
    void drop(int fd);

    QString m_name;
    int m_listenFd = -1;
    QSocketNotifier *m_acceptNotifier = nullptr;
    std::map<int, std::unique_ptr<Client>> m_clients;
};
