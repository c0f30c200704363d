#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStringList>

// A running panelsim, known by the device path it printed.
class SimProcess
{
public:
    ~SimProcess();

    // False when the program ended or printed nothing within a few seconds.
    bool start(const QStringList &arguments);
    // Asks it to end (SIGTERM) and returns its exit code, or -1 when it did not exit cleanly.
    int stop();

    QString devicePath() const { return m_devicePath; }
    QProcess &process() { return m_process; }

private:
    QProcess m_process;
    QString m_devicePath;
};

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
