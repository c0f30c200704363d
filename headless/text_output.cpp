#include "headless/text_output.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace panel {

TextOutput::TextOutput(int fd)
    : m_fd(fd)
{
}

bool TextOutput::writeLine(const QString &line)
{
    if (failed())
        return false;
    const QByteArray bytes = (line + QLatin1Char('\n')).toLocal8Bit();
    const char *data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(m_fd, data, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            m_error = QString::fromLocal8Bit(std::strerror(written < 0 ? errno : EIO));
            return false;
        }
        data += written;
        left -= written;
    }
    return true;
}

} // namespace panel
