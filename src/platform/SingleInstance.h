#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QObject>
#include <QString>

#include <map>
#include <memory>

class QSocketNotifier;

// One running program per user, desktop session and caption. The first start listens on an abstract local
// socket named after them; a later start finds it there, asks it to show itself (or to look a word up) and
// come to the front, and ends. The abstract name has no permissions, so both ends check that the other runs
// as the same user: requests from anyone else are refused, and a name taken by someone else sends the start
// to a socket in the user's own runtime folder instead.
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
    // The same, handing the running instance a word to look up instead of only asking it to show itself.
    Start startLookingUp(const QString &word, int timeoutMs = 4000);
    // Asks a running instance to show itself. True when one answered in time.
    bool activateRunning(int timeoutMs = 1000);
    // Becomes the running instance and serves requests from the event loop. False when another one holds the name.
    bool listen();

    QString serverName() const { return m_name; }
    // Where the name was taken by another user: the socket in the runtime folder used instead; else empty.
    QString privatePath() const { return m_privatePath; }

    // The longest word a request carries; longer ones are cut.
    static constexpr qsizetype kMaxWordLength = 300;

signals:
    void showRequested();
    void lookUpRequested(const QString &word);

private:
    struct Client;
    enum class Asked { Answered, Nobody, Silent, Stranger };

    Start startWith(const QByteArray &request, int timeoutMs);
    Asked ask(const QByteArray &request, const QDeadlineTimer &deadline) const;
    // Binds and listens; errno tells why not.
    bool takeName();
    // Moves to the socket in the user's runtime folder; false when no safe folder can be had.
    bool usePrivatePath();
    void handle(int fd, const QByteArray &line);
    void acceptPending();
    void readFrom(int fd);
    void drop(int fd);

    QString m_name;
    QString m_privatePath;
    int m_listenFd = -1;
    QSocketNotifier *m_acceptNotifier = nullptr;
    std::map<int, std::unique_ptr<Client>> m_clients;
};
