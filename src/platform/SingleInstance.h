#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

// One running program per user, desktop session and caption. The first start listens on an abstract local
// socket named after them; a later start finds it there, asks it to
// show itself and come to the front, and ends.
class SingleInstance final : public QObject
{
    Q_OBJECT
public:
    explicit SingleInstance(const QString &caption, QObject *parent = nullptr);
    ~SingleInstance() override;

    // Asks a running instance to show itself. True when one answered.
    bool activateRunning(int timeoutMs = 1000);
    // Becomes the running instance. False when another one won the race.
    bool listen();

    QString serverName() const { return m_name; }

signals:
    void showRequested();

private:
    void onNewConnection();

    QString m_name;
    QLocalServer *m_server = nullptr;
};
