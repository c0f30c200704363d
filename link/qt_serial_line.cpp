#include "link/qt_serial_line.h"

#include "link/device_name.h"
#include "link/port_open_failure.h"

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

bool parseLineSettings(const QString &text, LineSettings *settings)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4)
        return false;
    bool ok = false;
    settings->baud = parts[0].trimmed().toInt(&ok);
    if (!ok || settings->baud <= 0)
        return false;
    const QString parity = parts[1].trimmed().toUpper();
    if (parity == QLatin1String("N"))
        settings->parity = QSerialPort::NoParity;
    else if (parity == QLatin1String("E"))
        settings->parity = QSerialPort::EvenParity;
    else if (parity == QLatin1String("O"))
        settings->parity = QSerialPort::OddParity;
    else if (parity == QLatin1String("M"))
        settings->parity = QSerialPort::MarkParity;
    else if (parity == QLatin1String("S"))
        settings->parity = QSerialPort::SpaceParity;
    else
        return false;
    const int bits = parts[2].trimmed().toInt(&ok);
    if (!ok || bits < 5 || bits > 8)
        return false;
    settings->dataBits = QSerialPort::DataBits(bits);
    const QString stop = parts[3].trimmed();
    if (stop == QLatin1String("1"))
        settings->stopBits = QSerialPort::OneStop;
    else if (stop == QLatin1String("1.5"))
        settings->stopBits = QSerialPort::OneAndHalfStop;
    else if (stop == QLatin1String("2"))
        settings->stopBits = QSerialPort::TwoStop;
    else
        return false;
    return true;
}

bool QtSerialLine::open(const QString &settingsText, QString *error)
{
    LineSettings settings;
    if (!parseLineSettings(settingsText, &settings)) {
        *error = QStringLiteral("invalid line settings \"%1\"").arg(settingsText);
        return false;
    }
    m_broken = false;
    m_port.setPortName(m_deviceName);
    m_port.setBaudRate(settings.baud);
    m_port.setParity(settings.parity);
    m_port.setDataBits(settings.dataBits);
    m_port.setStopBits(settings.stopBits);
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

void QtSerialLine::close()
{
    if (m_port.isOpen())
        m_port.close();
    m_port.clearError();
}

} // namespace panel
