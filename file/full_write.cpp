#include "file/full_write.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace panel {

QString writeWhole(int fd, const QByteArray &bytes, const std::atomic<bool> *stop)
{
    const char *data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, size_t(left));
        if (written < 0 && errno == EINTR && !(stop && stop->load()))
            continue;
        if (written <= 0)
            return QString::fromLocal8Bit(std::strerror(written < 0 ? errno : EIO));
        data += written;
        left -= written;
    }
    return QString();
}

} // namespace panel
