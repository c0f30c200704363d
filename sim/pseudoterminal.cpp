#include "pseudoterminal.h"

#include <QList>
#include <QSocketNotifier>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

QString systemError(const char *what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
}

bool makeRaw(int fd)
{
    termios settings {};
    if (tcgetattr(fd, &settings) != 0)
        return false;
    cfmakeraw(&settings);
    cfsetispeed(&settings, B9600);
    cfsetospeed(&settings, B9600);
    return tcsetattr(fd, TCSANOW, &settings) == 0;
}

} // namespace

PseudoTerminal::PseudoTerminal(QObject *parent)
    : QObject(parent)
{
}

PseudoTerminal::~PseudoTerminal()
{
    close();
}

bool PseudoTerminal::open(QString *error)
{
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_master < 0) {
        *error = systemError("posix_openpt");
        return false;
    }
    const char *name = nullptr;
    if (grantpt(m_master) != 0 || unlockpt(m_master) != 0 || !(name = ptsname(m_master))) {
        *error = systemError("cannot unlock the pseudo-terminal");
        close();
        return false;
    }
    m_slavePath = QString::fromLocal8Bit(name);

    m_heldSlave = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_heldSlave < 0) {
        *error = systemError("cannot open the slave side");
        close();
        return false;
    }
    // Raw from the start, or the slave would echo every reply back to the master.
    if (!makeRaw(m_heldSlave) || !makeRaw(m_master)) {
        *error = systemError("cannot set raw mode");
        close();
        return false;
    }

    m_readNotifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_readNotifier, &QSocketNotifier::activated, this, &PseudoTerminal::readMaster);
    watchOpens();
    return true;
}

// Opens and closes of the device node tell when a client session starts. Without
// inotify the simulator still works, only every client shares one session.
void PseudoTerminal::watchOpens()
{
    m_openWatch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_openWatch < 0)
        return;
    if (inotify_add_watch(m_openWatch, m_slavePath.toLocal8Bit().constData(), IN_OPEN | IN_CLOSE) < 0) {
        ::close(m_openWatch);
        m_openWatch = -1;
        return;
    }
    m_watchNotifier = new QSocketNotifier(m_openWatch, QSocketNotifier::Read, this);
    connect(m_watchNotifier, &QSocketNotifier::activated, this, &PseudoTerminal::readOpenEvents);
}

void PseudoTerminal::close()
{
    delete m_readNotifier;
    m_readNotifier = nullptr;
    delete m_watchNotifier;
    m_watchNotifier = nullptr;
    for (int *fd : { &m_openWatch, &m_heldSlave, &m_master }) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
    m_clients = 0;
}

qsizetype PseudoTerminal::write(const QByteArray &bytes)
{
    if (m_master < 0)
        return -1;
    const ssize_t written = ::write(m_master, bytes.constData(), size_t(bytes.size()));
    if (written < 0)
        return (errno == EAGAIN || errno == EINTR) ? 0 : -1;
    return written;
}

int PseudoTerminal::unreadOutput() const
{
    int count = 0;
    if (m_heldSlave < 0 || ioctl(m_heldSlave, TIOCINQ, &count) != 0)
        return 0;
    return count;
}

void PseudoTerminal::discardUnreadOutput()
{
    if (m_heldSlave >= 0)
        tcflush(m_heldSlave, TCIFLUSH);
}

void PseudoTerminal::readMaster()
{
    // A client opens the port before it writes, so its open event is already queued:
    // handle it first, so that its bytes belong to its own session.
    readOpenEvents();
    readPendingBytes();
}

void PseudoTerminal::readPendingBytes()
{
    if (m_master < 0)
        return;
    QByteArray bytes;
    char buffer[256];
    for (;;) {
        const ssize_t count = ::read(m_master, buffer, sizeof buffer);
        if (count > 0) {
            bytes.append(buffer, count);
            continue;
        }
        if (count < 0 && errno == EINTR)
            continue;
        if (count == 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) {
            // Cannot happen while the slave is held open; stop rather than spin.
            m_readNotifier->setEnabled(false);
        }
        break;
    }
    if (!bytes.isEmpty())
        emit received(bytes);
}

void PseudoTerminal::readOpenEvents()
{
    if (m_openWatch < 0)
        return;
    alignas(inotify_event) char buffer[4096];
    QList<quint32> events;
    for (;;) {
        const ssize_t count = ::read(m_openWatch, buffer, sizeof buffer);
        if (count <= 0)
            break;
        for (ssize_t offset = 0; offset < count;) {
            const auto *event = reinterpret_cast<const inotify_event *>(buffer + offset);
            events.append(event->mask);
            offset += ssize_t(sizeof(inotify_event)) + event->len;
        }
    }

    for (qsizetype i = 0; i < events.size(); ++i) {
        if (events[i] & IN_OPEN) {
            if (m_clients++ == 0)
                emit clientConnected();
        } else if ((events[i] & IN_CLOSE) && m_clients > 0 && --m_clients == 0) {
            // What the client wrote before it closed the port is still waiting to be read and
            // belongs to the session that ends, unless a new client has opened the port since:
            // then the bytes may as well be the new client's, who writes right after opening.
            const bool reopened = std::any_of(events.cbegin() + i + 1, events.cend(),
                                              [](quint32 mask) { return (mask & IN_OPEN) != 0; });
            if (!reopened)
                readPendingBytes();
            emit clientDisconnected();
        }
    }
}
