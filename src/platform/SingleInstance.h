#pragma once

#include <QByteArray>
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
    explicit SingleInstance(const QString &caption, QObject *parent = nullptr);
    ~SingleInstance() override;

    // Asks a running instance to show itself. True when one answered, or accepted the request and stays silent.
    bool activateRunning(int timeoutMs = 1000);
    // Becomes the running instance. False when another one won the race.
    bool listen();

    QString serverName() const { return m_name; }

signals:
    void showRequested();

private:
    struct Client;

    void acceptPending();
    void readFrom(int fd);
    void drop(int fd);

    QString m_name;
    int m_listenFd = -1;
    QSocketNotifier *m_acceptNotifier = nullptr;
    std::map<int, std::unique_ptr<Client>> m_clients;
};
