#pragma once

#include "link/serial_line.h"

#include <QSerialPort>

namespace panel {

// The panel's line on a real serial port (or a pseudo-terminal). No modem-control lines are touched.
class QtSerialLine : public SerialLine
{
public:
    static constexpr qint64 kReceiveBufferSize = 1024;

    explicit QtSerialLine(const QString &portName);

    // "Port 1" of the platform: the first serial port.
    static QString firstPortName();

    bool open(const QString &settings, QString *error) override;
    void write(const QByteArray &bytes) override;
    qint64 bytesWaiting() const override;
    QByteArray takeAll() override;
    QByteArray takeArrived() override;
    void close() override;
    bool isBroken() const override { return m_broken; }
    QString deviceName() const override { return m_deviceName; }
    void setDeviceName(const QString &device) override;
    QString openAdvice() const override { return m_advice; }
    bool deviceAbsent() const override { return m_absent; }

private:
    QString m_deviceName; // its one name; QSerialPort keeps only the short name
    QString m_advice;
    bool m_absent = false;
    QSerialPort m_port;
    bool m_broken = false;
};

} // namespace panel
