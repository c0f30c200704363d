#include "signalwatcher.h"

#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int signalSockets[2] = { -1, -1 };
} // namespace

SignalWatcher::SignalWatcher(QObject *parent)
    : QObject(parent)
{
}

SignalWatcher::~SignalWatcher()
{
    for (int number : { SIGTERM, SIGINT, SIGUSR1 })
        std::signal(number, SIG_DFL);
    delete m_notifier;
    for (int &fd : signalSockets) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

bool SignalWatcher::install()
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalSockets) != 0)
        return false;
    ::fcntl(signalSockets[0], F_SETFL, O_NONBLOCK);
    ::fcntl(signalSockets[1], F_SETFL, O_NONBLOCK);

    m_notifier = new QSocketNotifier(signalSockets[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &SignalWatcher::readSignal);

    struct sigaction action {};
    action.sa_handler = &SignalWatcher::handleSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int number : { SIGTERM, SIGINT, SIGUSR1 }) {
        if (sigaction(number, &action, nullptr) != 0)
            return false;
    }
    return true;
}

void SignalWatcher::handleSignal(int number)
{
    const char byte = char(number);
    [[maybe_unused]] const ssize_t ignored = ::write(signalSockets[0], &byte, 1);
}

void SignalWatcher::readSignal()
{
    char buffer[16];
    bool terminate = false;
    ssize_t count = 0;
    while ((count = ::read(signalSockets[1], buffer, sizeof buffer)) > 0) {
        for (ssize_t i = 0; i < count; ++i) {
            if (buffer[i] == char(SIGUSR1))
                emit answeringToggled();
            else
                terminate = true;
        }
    }
    if (terminate)
        emit terminationRequested();
}
