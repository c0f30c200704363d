#include "file/append_log.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace panel {

namespace {

QString systemError(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

} // namespace

AppendLog::~AppendLog()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

QString AppendLog::open(const QString &path, mode_t newMode)
{
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, newMode);
    if (fd < 0)
        return errno == ENXIO ? QStringLiteral("it is a FIFO that nothing reads") : systemError(errno);
    // Opened; from here on a write may wait for a slow reader like any other.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        const int error = errno;
        ::close(fd);
        return systemError(error);
    }
    m_fd = fd;
    return QString();
}

QString AppendLog::append(const QByteArray &record)
{
    const QByteArray line = record + '\n';
    ssize_t written = -1;
    do {
        written = ::write(m_fd, line.constData(), size_t(line.size()));
    } while (written < 0 && errno == EINTR);
    if (written < 0)
        return systemError(errno);
    if (written != line.size())
        return QStringLiteral("only %1 of the line's %2 bytes were written").arg(written).arg(line.size());
    return QString();
}

} // namespace panel
