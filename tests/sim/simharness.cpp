#include "simharness.h"

#include <QDeadlineTimer>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

SlavePort::~SlavePort()
{
    close();
}

bool SlavePort::open(const QString &path)
{
    close();
    m_hungUp = false;
    m_fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_fd < 0)
        return false;
    termios settings {};
    if (tcgetattr(m_fd, &settings) != 0)
        return false;
    cfmakeraw(&settings);
    cfsetispeed(&settings, B9600);
    cfsetospeed(&settings, B9600);
    return tcsetattr(m_fd, TCSANOW, &settings) == 0;
}

void SlavePort::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

bool SlavePort::send(const QByteArray &bytes)
{
    return m_fd >= 0 && ::write(m_fd, bytes.constData(), size_t(bytes.size())) == bytes.size();
}

QByteArray SlavePort::receive(int count, int timeoutMs)
{
    QByteArray received;
    QDeadlineTimer deadline(timeoutMs);
    while (m_fd >= 0 && received.size() < count && !m_hungUp) {
        pollfd entry { m_fd, POLLIN, 0 };
        if (::poll(&entry, 1, int(deadline.remainingTime())) <= 0)
            break;
        char buffer[64];
        const ssize_t n = ::read(m_fd, buffer, size_t(qMin<qsizetype>(sizeof buffer, count - received.size())));
        if (n > 0)
            received.append(buffer, n);
        else if (n == 0 || (errno != EAGAIN && errno != EINTR))
            m_hungUp = true;
    }
    return received;
}

namespace cmd {

QByteArray hail()
{
    return QByteArrayLiteral("A");
}

QByteArray write(int address, int data)
{
    const char frame[] = { 'S', 0x00, char(address), 0x00, char(data), 'D' };
    return QByteArray(frame, sizeof frame);
}

QByteArray read(int address)
{
    const char frame[] = { 'V', 0x00, char(address), '0', '0', 'V' };
    return QByteArray(frame, sizeof frame);
}

} // namespace cmd
