#pragma once

#include <QByteArray>
#include <QString>

namespace panel {

// Exactly what the panel link needs of a serial line. The product's line is QSerialPort; tests
// script a panel behind this interface.
class SerialLine
{
public:
    virtual ~SerialLine() = default;

    // Opens the line with a settings string such as "9600,N,8,1". On failure, *error says why.
    virtual bool open(const QString &settings, QString *error) = 0;
    virtual void write(const QByteArray &bytes) = 0;
    virtual qint64 bytesWaiting() const = 0;
    virtual QByteArray takeAll() = 0;
    // Every byte that has come, those the system holds for the line but the program has not yet seen
    // included: when the time is up, what arrived before it, even while the program was busy.
    virtual QByteArray takeArrived() { return takeAll(); }
    // Every byte waiting just before a command is sent: what is left of earlier replies, which cannot
    // answer it.
    virtual QByteArray takeLeftovers() { return takeAll(); }
    virtual void close() = 0;
    // The device went away while open (unplugged, the other end closed): waits end at once.
    virtual bool isBroken() const = 0;
    virtual QString deviceName() const = 0;
    // The device of the next open; a line that is open keeps its device until it closes.
    virtual void setDeviceName(const QString &device) = 0;
    // After a failed open: what the user can do about it, or nothing.
    virtual QString openAdvice() const { return QString(); }
    // After a failed open: no device has that name, so nothing can answer on it.
    virtual bool deviceAbsent() const { return false; }
};

} // namespace panel
