#pragma once

#include <QSerialPort>
#include <QString>

namespace panel {

// Why a serial port did not open, in terms a person can act on. QSerialPort on Linux takes a lock file
// (LCK..name in /var/lock or /run/lock) before it opens the device, and reports a lock that another
// program holds, or one it cannot make, as a permission error: the device and the lock are looked at
// again to tell a busy port, a missing device and a missing permission apart.
struct PortOpenFailure {
    QString reason; // what went wrong, as the result line shows it
    QString advice; // what to do about it, or nothing
    bool deviceAbsent = false; // no device has that name: nothing can answer on it
};

PortOpenFailure explainPortOpenFailure(const QString &device, QSerialPort::SerialPortError error,
                                       const QString &errorText);

// The live process that holds the device's lock file, as "panelconfig (pid 1234)", or nothing.
QString portLockHolder(const QString &device);

} // namespace panel
