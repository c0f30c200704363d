#include "file/own_files.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace panel {

namespace {

QString systemError(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// Why an open that failed did not open, told from what is at the path.
QString openFailure(const QString &path, const QByteArray &name, int error)
{
    struct stat status {};
    if (::lstat(name.constData(), &status) == 0 && S_ISLNK(status.st_mode))
        return QStringLiteral("%1 is a symbolic link, which is never followed").arg(path);
    if (error == ENXIO)
        return QStringLiteral("%1 is a FIFO").arg(path);
    if (error == ENOTDIR)
        return QStringLiteral("%1 is not a folder").arg(path);
    return QStringLiteral("%1: %2").arg(path, systemError(error));
}

QString refusalOf(const QString &path, const struct stat &status, OwnFile::Kind kind)
{
    const bool wanted = kind == OwnFile::Folder ? S_ISDIR(status.st_mode) : S_ISREG(status.st_mode);
    if (!wanted)
        return QStringLiteral("%1 is %2").arg(path, kindOf(status.st_mode));
    if (status.st_uid != ::geteuid())
        return QStringLiteral("%1 belongs to another user (uid %2)").arg(path).arg(status.st_uid);
    return QString();
}

} // namespace

QString kindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return QStringLiteral("a folder");
    if (S_ISFIFO(mode))
        return QStringLiteral("a FIFO");
    if (S_ISSOCK(mode))
        return QStringLiteral("a socket");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("a device");
    if (S_ISLNK(mode))
        return QStringLiteral("a symbolic link");
    return QStringLiteral("not a regular file");
}

OwnFile openOwn(const QString &path, int flags, OwnFile::Kind kind, bool narrow, mode_t newMode)
{
    OwnFile own;
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), flags | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, newMode);
    if (fd < 0) {
        const int error = errno;
        own.missing = error == ENOENT;
        own.refusal = openFailure(path, name, error);
        return own;
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0)
        own.refusal = QStringLiteral("%1: %2").arg(path, systemError(errno));
    else
        own.refusal = refusalOf(path, status, kind);
    const mode_t narrowed = status.st_mode & 07700;
    if (own.refusal.isEmpty() && narrow && (status.st_mode & 077) != 0 && ::fchmod(fd, narrowed) != 0) {
        own.refusal = QStringLiteral("%1 is open to other users and could not be narrowed to mode %2: %3")
                          .arg(path, QString::number(narrowed & 0777, 8).rightJustified(4, QLatin1Char('0')),
                               systemError(errno));
    }
    // A regular file or a folder never waits anyway; what follows reads and writes as usual.
    if (own.refusal.isEmpty()) {
        const int fileFlags = ::fcntl(fd, F_GETFL);
        if (fileFlags < 0 || ::fcntl(fd, F_SETFL, fileFlags & ~O_NONBLOCK) != 0)
            own.refusal = QStringLiteral("%1: %2").arg(path, systemError(errno));
    }
    if (!own.refusal.isEmpty()) {
        ::close(fd);
        return own;
    }
    own.fd = fd;
    return own;
}

} // namespace panel
