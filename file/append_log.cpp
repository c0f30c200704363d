#include "file/append_log.h"

#include "file/own_files.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace panel {

namespace {

QString systemError(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

constexpr int kAppendFlags = O_WRONLY | O_APPEND | O_CREAT;

// Opened; from here on a write may wait for a slow reader like any other.
bool waitsAsUsual(int fd)
{
    const int flags = ::fcntl(fd, F_GETFL);
    return flags >= 0 && ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0;
}

// The same regular file opened again for reading, or -1 (it cannot be read, or is no longer at path).
int readerOf(int fd, const QByteArray &path, int noFollow)
{
    struct stat written {};
    if (::fstat(fd, &written) != 0 || !S_ISREG(written.st_mode))
        return -1;
    const int reader = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | noFollow);
    struct stat read {};
    if (reader >= 0 && (::fstat(reader, &read) != 0 || read.st_dev != written.st_dev || read.st_ino != written.st_ino)) {
        ::close(reader);
        return -1;
    }
    return reader;
}

} // namespace

AppendLog::~AppendLog()
{
    if (m_readFd >= 0)
        ::close(m_readFd);
    if (m_fd >= 0)
        ::close(m_fd);
}

QString AppendLog::open(const QString &path, mode_t newMode, Accept accept)
{
    int fd = -1;
    if (accept == Accept::OwnRegularFile) {
        const OwnFile own = openOwn(path, kAppendFlags, OwnFile::Regular, true, newMode);
        if (own.fd < 0)
            return own.refusal;
        fd = own.fd;
    } else {
        fd = ::open(QFile::encodeName(path).constData(), kAppendFlags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, newMode);
        if (fd < 0)
            return errno == ENXIO ? QStringLiteral("it is a FIFO that nothing reads") : systemError(errno);
        if (!waitsAsUsual(fd)) {
            const int error = errno;
            ::close(fd);
            return systemError(error);
        }
    }
    m_fd = fd;
    m_readFd = readerOf(fd, QFile::encodeName(path), accept == Accept::OwnRegularFile ? O_NOFOLLOW : 0);
    return QString();
}

// Whether the next line starts a line of its own; when that cannot be told, it is taken to.
bool AppendLog::endsInLineFeed() const
{
    struct stat status {};
    if (m_readFd < 0 || ::fstat(m_fd, &status) != 0 || status.st_size == 0)
        return true;
    char last = 0;
    ssize_t got = -1;
    do {
        got = ::pread(m_readFd, &last, 1, status.st_size - 1);
    } while (got < 0 && errno == EINTR);
    return got != 1 || last == '\n';
}

// A line written in part is cut off again, unless something was appended after it meanwhile.
void AppendLog::takeBack(qint64 written)
{
    const off_t end = ::lseek(m_fd, 0, SEEK_CUR); // where the short write left the offset
    struct stat status {};
    if (written <= 0 || end < written || ::fstat(m_fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size != end)
        return;
    // Should this fail too, the next line still starts with a line feed of its own.
    while (::ftruncate(m_fd, end - off_t(written)) != 0 && errno == EINTR) {
    }
}

QString AppendLog::append(const QByteArray &record)
{
    QByteArray line = record + '\n';
    if (!endsInLineFeed())
        line.prepend('\n');
    ssize_t written = -1;
    do {
        written = ::write(m_fd, line.constData(), size_t(line.size()));
    } while (written < 0 && errno == EINTR);
    if (written < 0)
        return systemError(errno);
    if (written != line.size()) {
        takeBack(written);
        return QStringLiteral("only %1 of the line's %2 bytes were written").arg(written).arg(line.size());
    }
    return QString();
}

} // namespace panel
