#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

// The end of the user's session as the program meets it, reported on the GUI thread: SIGTERM or SIGHUP (shutdown,
// a logout that ends the session's processes), the session manager's save request and its quit after it, and the
// loss of the display connection, after which the toolkit ends the process on its own.
class SessionEnd final : public QObject
{
    Q_OBJECT
public:
    explicit SessionEnd(QObject *parent = nullptr);
    ~SessionEnd() override;

    // Run when the process is ended from inside the toolkit (the display connection lost) while this object lives;
    // the process then ends with status 0.
    void setLastChance(std::function<void()> save);

signals:
    // The session ends: leave as the user would.
    void ending();
    // The session manager asks the program to save what it has; the session may still go on.
    void saveRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void readSignal();

    QSocketNotifier *m_notifier = nullptr;
};
