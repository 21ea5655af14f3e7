#include "platform/SingleInstance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QSocketNotifier>

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

const QByteArray kShowRequest = "show\n";
const QByteArray kLookUpRequest = "lookup ";
const QByteArray kShownAnswer = "ok\n";
// A request is one line, a look-up at most a percent-encoded word of 300 characters; a peer that sends more
// than this without a line end is not one of us.
constexpr int kMaxRequest = 4096;

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

// An address in the abstract namespace: nothing stale is left on disk after a crash. With a path, the
// socket file at that path instead.
socklen_t socketAddress(const QString &name, const QString &path, sockaddr_un &address)
{
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (!path.isEmpty()) {
        const QByteArray bytes = QFile::encodeName(path).left(int(sizeof address.sun_path) - 1);
        std::memcpy(address.sun_path, bytes.constData(), size_t(bytes.size()));
        return socklen_t(offsetof(sockaddr_un, sun_path) + size_t(bytes.size()) + 1);
    }
    const QByteArray bytes = name.toUtf8().left(int(sizeof address.sun_path) - 1);
    std::memcpy(address.sun_path + 1, bytes.constData(), size_t(bytes.size()));
    return socklen_t(offsetof(sockaddr_un, sun_path) + 1 + size_t(bytes.size()));
}

// Whether the process at the other end of a connected socket runs as this process's user.
bool peerIsSameUser(int fd)
{
    ucred credentials{};
    socklen_t length = sizeof credentials;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &length) == 0 && credentials.uid == ::geteuid();
}

// A folder only this user can enter: made with mode 0700 if missing, refused if it is someone else's or
// open to others (a folder planted in a shared place).
bool isPrivateFolder(const QByteArray &path)
{
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat info;
    return ::lstat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid()
        && (info.st_mode & 077) == 0;
}

// Waits until fd is ready for events; false on time-out or a poll failure.
bool waitFor(int fd, short events, const QDeadlineTimer &deadline)
{
    pollfd p{fd, events, 0};
    for (;;) {
        const int rc = ::poll(&p, 1, int(deadline.remainingTime()));
        if (rc > 0)
            return true;
        if (rc == 0 || errno != EINTR)
            return false;
    }
}

class FdCloser
{
public:
    explicit FdCloser(int fd) : m_fd(fd) { }
    ~FdCloser()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FdCloser(const FdCloser &) = delete;
    FdCloser &operator=(const FdCloser &) = delete;

private:
    int m_fd;
};

} // namespace

struct SingleInstance::Client
{
    int fd = -1;
    QSocketNotifier *notifier = nullptr;
    QByteArray pending;
};

SingleInstance::SingleInstance(const QString &caption, QObject *parent)
    : QObject(parent), m_name(QStringLiteral("%1-%2-%3").arg(caption).arg(::getuid()).arg(sessionTag()))
{
}

SingleInstance::~SingleInstance()
{
    while (!m_clients.empty())
        drop(m_clients.begin()->first);
    delete m_acceptNotifier;
    if (m_listenFd >= 0) {
        ::close(m_listenFd);
        if (!m_privatePath.isEmpty())
            ::unlink(QFile::encodeName(m_privatePath).constData());
    }
}

SingleInstance::Start SingleInstance::start(int timeoutMs)
{
    return startWith(kShowRequest, timeoutMs);
}

SingleInstance::Start SingleInstance::startLookingUp(const QString &word, int timeoutMs)
{
    return startWith(kLookUpRequest + word.left(kMaxWordLength).toUtf8().toPercentEncoding() + '\n', timeoutMs);
}

SingleInstance::Start SingleInstance::startWith(const QByteArray &request, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        if (takeName())
            return Start::First;
        // Without a usable socket there is no one to hand over to: run alone rather than not at all.
        if (errno != EADDRINUSE)
            return Start::First;
        switch (ask(request, deadline)) {
        case Asked::Answered:
            return Start::HandedOver;
        case Asked::Silent:
            return Start::NotResponding;
        case Asked::Stranger:
            // Someone else sits on the name: neither hand this start to them nor let them keep it from running.
            if (!m_privatePath.isEmpty() || !usePrivatePath()) {
                std::fprintf(stderr, "Another user holds the name Verbarium uses to find its running window, "
                                     "and no private folder could be made for it: starting without one.\n");
                return Start::First;
            }
            std::fprintf(stderr, "Another user holds the name Verbarium uses to find its running window: "
                                 "using %s instead.\n", qPrintable(m_privatePath));
            break;
        case Asked::Nobody:
            // A socket file nobody listens on is left from a run that ended without removing it.
            if (!m_privatePath.isEmpty() && errno == ECONNREFUSED) {
                ::unlink(QFile::encodeName(m_privatePath).constData());
                break;
            }
            // The holder is between its bind and its listen, or has just ended: look again.
            if (deadline.hasExpired())
                return Start::NotResponding;
            ::usleep(10 * 1000);
            break;
        }
    }
}

bool SingleInstance::usePrivatePath()
{
    QByteArray folder = qgetenv("XDG_RUNTIME_DIR");
    if (folder.isEmpty())
        folder = QFile::encodeName(QDir::tempPath()) + "/verbarium-" + QByteArray::number(::geteuid());
    else
        folder += "/verbarium";
    if (!isPrivateFolder(folder))
        return false;
    const QByteArray path = folder + '/' + m_name.toUtf8();
    if (path.size() >= qsizetype(sizeof(sockaddr_un::sun_path)))
        return false;
    m_privatePath = QFile::decodeName(path);
    return true;
}

bool SingleInstance::activateRunning(int timeoutMs)
{
    return ask(kShowRequest, QDeadlineTimer(timeoutMs)) == Asked::Answered;
}

SingleInstance::Asked SingleInstance::ask(const QByteArray &request, const QDeadlineTimer &deadline) const
{
    int fd = -1;
    sockaddr_un address;
    const socklen_t length = socketAddress(m_name, m_privatePath, address);
    for (;;) {
        fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd < 0)
            return Asked::Nobody;
        if (::connect(fd, reinterpret_cast<const sockaddr *>(&address), length) == 0)
            break;
        const int error = errno;
        ::close(fd);
        // A full queue: the instance is busy (many starts at once); a local connect does not wait, so retry.
        if (error != EAGAIN) {
            errno = error;
            return Asked::Nobody;
        }
        if (deadline.hasExpired())
            return Asked::Silent;
        ::usleep(20 * 1000);
    }
    FdCloser closer(fd);
    // The credentials are those of whoever listens: a word is never handed to another user's program.
    if (!peerIsSameUser(fd))
        return Asked::Stranger;

    qsizetype sent = 0;
    while (sent < request.size()) {
        const ssize_t n = ::send(fd, request.constData() + sent, size_t(request.size() - sent), MSG_NOSIGNAL);
        if (n > 0) {
            sent += n;
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && errno == EAGAIN) {
            if (!waitFor(fd, POLLOUT, deadline))
                return Asked::Silent;
        } else {
            return Asked::Nobody;
        }
    }

    // Wait for the answer so that the first instance has acted before this process ends.
    QByteArray answer;
    for (;;) {
        if (!waitFor(fd, POLLIN, deadline))
            return Asked::Silent;
        char buffer[16];
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n > 0) {
            answer.append(buffer, n);
            if (answer.contains('\n'))
                return Asked::Answered;
        } else if (n == 0) {
            return answer.isEmpty() ? Asked::Nobody : Asked::Answered;
        } else if (errno != EINTR && errno != EAGAIN) {
            return Asked::Nobody;
        }
    }
}

bool SingleInstance::takeName()
{
    if (m_listenFd >= 0)
        return true;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    sockaddr_un address;
    const socklen_t length = socketAddress(m_name, m_privatePath, address);
    // An abstract name refuses a second bind while its owner lives, which is the lock we want. The queue is
    // long enough for a burst of starts; beyond it they retry.
    if (::bind(fd, reinterpret_cast<const sockaddr *>(&address), length) != 0 || ::listen(fd, 64) != 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return false;
    }
    m_listenFd = fd;
    return true;
}

bool SingleInstance::listen()
{
    if (!takeName())
        return false;
    if (!m_acceptNotifier) {
        m_acceptNotifier = new QSocketNotifier(m_listenFd, QSocketNotifier::Read);
        connect(m_acceptNotifier, &QSocketNotifier::activated, this, &SingleInstance::acceptPending);
    }
    return true;
}

void SingleInstance::acceptPending()
{
    for (;;) {
        const int fd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        // The name is open to every local user: only this user's own starts may ask anything of it.
        if (!peerIsSameUser(fd)) {
            ::close(fd);
            continue;
        }
        auto client = std::make_unique<Client>();
        client->fd = fd;
        client->notifier = new QSocketNotifier(fd, QSocketNotifier::Read);
        connect(client->notifier, &QSocketNotifier::activated, this, [this, fd] { readFrom(fd); });
        m_clients[fd] = std::move(client);
    }
}

void SingleInstance::readFrom(int fd)
{
    auto it = m_clients.find(fd);
    if (it == m_clients.end())
        return;
    char buffer[1024];
    const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
    if (n < 0 && (errno == EINTR || errno == EAGAIN))
        return;
    if (n <= 0) {
        drop(fd);
        return;
    }
    it->second->pending.append(buffer, n);
    for (;;) {
        // Showing the window runs the event loop, which may drop this client meanwhile: look it up each time.
        it = m_clients.find(fd);
        if (it == m_clients.end())
            return;
        Client *client = it->second.get();
        const qsizetype end = client->pending.indexOf('\n');
        if (end < 0) {
            if (client->pending.size() > kMaxRequest)
                drop(fd);
            return;
        }
        const QByteArray line = client->pending.left(end + 1);
        client->pending.remove(0, end + 1);
        // Only a known request counts; anything else on the socket is ignored.
        if (line == kShowRequest) {
            emit showRequested();
        } else if (line.startsWith(kLookUpRequest)) {
            const QByteArray encoded = line.sliced(kLookUpRequest.size()).chopped(1);
            emit lookUpRequested(QString::fromUtf8(QByteArray::fromPercentEncoding(encoded)).left(kMaxWordLength));
        } else {
            continue;
        }
        it = m_clients.find(fd);
        if (it == m_clients.end() || it->second.get() != client)
            return;
        // The answer follows the showing, so the asking start ends only after the window came forward.
        ::send(fd, kShownAnswer.constData(), size_t(kShownAnswer.size()), MSG_NOSIGNAL | MSG_DONTWAIT);
    }
}

void SingleInstance::drop(int fd)
{
    const auto it = m_clients.find(fd);
    if (it == m_clients.end())
        return;
    // The notifier goes first: it must not watch a closed descriptor that the system may hand out again.
    delete it->second->notifier;
    ::close(fd);
    m_clients.erase(it);
}
