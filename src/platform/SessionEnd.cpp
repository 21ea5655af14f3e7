#include "platform/SessionEnd.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace {

int s_pipe[2] = {-1, -1};
std::function<void()> s_lastChance;

// Only what is safe inside a signal handler: one byte into the pipe, the GUI thread does the rest.
extern "C" void onTerminationSignal(int)
{
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(s_pipe[1], &byte, 1);
    errno = saved;
}

void atProcessExit()
{
    if (!s_lastChance)
        return;
    const auto save = std::move(s_lastChance);
    s_lastChance = nullptr;
    save();
    // The toolkit ends with a failure status when its display goes; for the user this was the session's end.
    std::_Exit(0);
}

} // namespace

SessionEnd::SessionEnd(QObject *parent) : QObject(parent)
{
    if (s_pipe[0] < 0 && ::pipe2(s_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        s_pipe[0] = s_pipe[1] = -1;
    if (s_pipe[0] >= 0) {
        m_notifier = new QSocketNotifier(s_pipe[0], QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &SessionEnd::readSignal);
        struct sigaction action = {};
        action.sa_handler = onTerminationSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        sigaction(SIGTERM, &action, nullptr);
        sigaction(SIGHUP, &action, nullptr);
    }
    static const bool registered = std::atexit(atProcessExit) == 0;
    Q_UNUSED(registered);
#ifndef QT_NO_SESSIONMANAGER
    if (auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        connect(app, &QGuiApplication::commitDataRequest, this, [this](QSessionManager &) { emit saveRequested(); });
#endif
    // The session manager's quit reaches the application as a quit event nobody in the program asked for.
    if (QCoreApplication *app = QCoreApplication::instance())
        app->installEventFilter(this);
}

SessionEnd::~SessionEnd()
{
    s_lastChance = nullptr;
    if (m_notifier) {
        signal(SIGTERM, SIG_DFL);
        signal(SIGHUP, SIG_DFL);
    }
}

void SessionEnd::setLastChance(std::function<void()> save)
{
    s_lastChance = std::move(save);
}

bool SessionEnd::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == QCoreApplication::instance() && event->type() == QEvent::Quit)
        emit ending();
    return QObject::eventFilter(watched, event);
}

void SessionEnd::readSignal()
{
    char bytes[16];
    while (::read(s_pipe[0], bytes, sizeof bytes) > 0) {
    }
    emit ending();
}
