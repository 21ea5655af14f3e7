#include "platform/RegularFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

int openRegularFile(const QString &path, QString *why)
{
    // Non-blocking, so that a pipe put in the file's place cannot hold the open up.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (why)
            *why = QString::fromLocal8Bit(std::strerror(errno));
        return -1;
    }
    struct stat info = {};
    // A file its owner may not read is locked on purpose, even for an administrator who could read it anyway.
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || !(info.st_mode & S_IRUSR)) {
        if (why)
            *why = S_ISREG(info.st_mode) ? QCoreApplication::translate("RegularFile", "Permission denied")
                                         : QCoreApplication::translate("RegularFile", "not a regular file");
        ::close(fd);
        return -1;
    }
    return fd;
}

std::optional<QByteArray> readRegularFile(const QString &path, qint64 limit, bool *tooLarge)
{
    const int fd = openRegularFile(path);
    if (fd < 0)
        return std::nullopt;
    struct stat info = {};
    if (::fstat(fd, &info) != 0 || info.st_size > limit) {
        ::close(fd);
        if (tooLarge)
            *tooLarge = true;
        return std::nullopt;
    }
    QByteArray data;
    data.reserve(qsizetype(info.st_size));
    char chunk[16384];
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0)
            break;
        data.append(chunk, n);
        if (data.size() > limit) {
            ::close(fd);
            if (tooLarge)
                *tooLarge = true;
            return std::nullopt;
        }
    }
    ::close(fd);
    return data;
}

QString xdgFolder(const char *variable, const QString &fallbackInHome)
{
    const QString value = qEnvironmentVariable(variable);
    if (!value.isEmpty() && QDir::isAbsolutePath(value))
        return QDir::cleanPath(value);
    return QDir::homePath() + fallbackInHome;
}
