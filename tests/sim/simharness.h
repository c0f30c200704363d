#pragma once

#include "sim_process.h"

#include <QByteArray>

// The client end of the line, opened the plain POSIX way.
class SlavePort
{
public:
    ~SlavePort();

    bool open(const QString &path);
    void close();
    bool isOpen() const { return m_fd >= 0; }

    bool send(const QByteArray &bytes);
    // Reads until `count` bytes came, the line hung up, or `timeoutMs` passed.
    QByteArray receive(int count, int timeoutMs);
    bool hungUp() const { return m_hungUp; }

private:
    int m_fd = -1;
    bool m_hungUp = false;
};

namespace cmd {
QByteArray hail();
QByteArray write(int address, int data);
QByteArray read(int address);
} // namespace cmd
