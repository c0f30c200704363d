#include "link/qt_serial_line.h"

#include "link/device_name.h"
#include "link/port_open_failure.h"
#include "link/protocol.h"

namespace panel {

QtSerialLine::QtSerialLine(const QString &portName)
    : m_deviceName(oneDeviceName(portName))
{
    m_port.setObjectName(QStringLiteral("MSComm1"));
    m_port.setPortName(m_deviceName);
    m_port.setReadBufferSize(kReceiveBufferSize);
    QObject::connect(&m_port, &QSerialPort::errorOccurred, &m_port, [this](QSerialPort::SerialPortError error) {
        if (error == QSerialPort::ResourceError || error == QSerialPort::ReadError || error == QSerialPort::WriteError)
            m_broken = true;
    });
}

QString QtSerialLine::firstPortName()
{
#ifdef Q_OS_WIN
    return QStringLiteral("COM1");
#else
    return QStringLiteral("/dev/ttyS0");
#endif
}

void QtSerialLine::setDeviceName(const QString &device)
{
    m_deviceName = oneDeviceName(device); // the port takes it at its next open
}

namespace {

// kLineSettings, "9600,N,8,1", the one line the panel speaks: 9600 baud, no parity, 8 data bits, 1 stop bit.
constexpr qint32 kBaud = 9600;
constexpr QSerialPort::Parity kParity = QSerialPort::NoParity;
constexpr QSerialPort::DataBits kDataBits = QSerialPort::Data8;
constexpr QSerialPort::StopBits kStopBits = QSerialPort::OneStop;

} // namespace

bool QtSerialLine::open(const QString &settingsText, QString *error)
{
    if (settingsText != kLineSettings) {
        *error = QStringLiteral("line settings \"%1\" are not the panel's").arg(settingsText);
        return false;
    }
    m_broken = false;
    m_port.setPortName(m_deviceName);
    m_port.setBaudRate(kBaud);
    m_port.setParity(kParity);
    m_port.setDataBits(kDataBits);
    m_port.setStopBits(kStopBits);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    m_advice.clear();
    m_absent = false;
    if (!m_port.open(QIODevice::ReadWrite)) {
        const PortOpenFailure failure = explainPortOpenFailure(m_deviceName, m_port.error(), m_port.errorString());
        *error = failure.reason;
        m_advice = failure.advice;
        m_absent = failure.deviceAbsent;
        m_port.clearError();
        return false;
    }
    return true;
}

void QtSerialLine::write(const QByteArray &bytes)
{
    if (m_port.isOpen())
        m_port.write(bytes);
}

qint64 QtSerialLine::bytesWaiting() const
{
    return m_port.isOpen() ? m_port.bytesAvailable() : 0;
}

QByteArray QtSerialLine::takeAll()
{
    return m_port.isOpen() ? m_port.readAll() : QByteArray();
}

QByteArray QtSerialLine::takeArrived()
{
    if (m_port.isOpen())
        m_port.waitForReadyRead(0); // reads what the system already holds, without waiting
    return takeAll();
}

void QtSerialLine::close()
{
    if (m_port.isOpen())
        m_port.close();
    m_port.clearError();
}

} // namespace panel
