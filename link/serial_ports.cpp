#include "link/serial_ports.h"

#include "link/device_name.h"
#include "link/qt_serial_line.h"

#include <QFileInfo>
#include <QSerialPortInfo>
#include <QSettings>

#include <algorithm>
#include <memory>

namespace panel {

namespace {

const QString kPortKey = QStringLiteral("port");

bool deviceExists(const QString &device)
{
    return QFileInfo::exists(oneDeviceName(device));
}

QString hexId(quint16 id) { return QStringLiteral("%1").arg(id, 4, 16, QLatin1Char('0')); }

} // namespace

QString SerialPortEntry::describe() const
{
    QStringList parts{device};
    if (!description.isEmpty())
        parts << description;
    if (!manufacturer.isEmpty() && manufacturer != description)
        parts << manufacturer;
    if (vendorId && productId)
        parts << QStringLiteral("USB %1:%2").arg(hexId(*vendorId), hexId(*productId));
    return parts.join(QStringLiteral("  "));
}

QList<SerialPortEntry> presentSerialPorts()
{
    QList<SerialPortEntry> ports;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        SerialPortEntry entry;
        entry.device = info.systemLocation();
        entry.description = info.description();
        entry.manufacturer = info.manufacturer();
        if (info.hasVendorIdentifier())
            entry.vendorId = info.vendorIdentifier();
        if (info.hasProductIdentifier())
            entry.productId = info.productIdentifier();
        ports << entry;
    }
    std::sort(ports.begin(), ports.end(),
              [](const SerialPortEntry &a, const SerialPortEntry &b) { return a.device < b.device; });
    return ports;
}

PortChoice choosePanelPort(const PortCandidates &c)
{
    if (!c.option.isEmpty())
        return {oneDeviceName(c.option), PortSource::Option};
    if (!c.environment.isEmpty())
        return {oneDeviceName(c.environment), PortSource::Environment};
    // An adapter unplugged since it was chosen must not hide the one plugged in now.
    if (!c.remembered.isEmpty() && c.rememberedExists)
        return {oneDeviceName(c.remembered), PortSource::Remembered};
    const SerialPortEntry *adapter = nullptr;
    int adapters = 0;
    for (const SerialPortEntry &port : c.present) {
        if (port.isUsbAdapter()) {
            adapter = &port;
            ++adapters;
        }
    }
    if (adapters == 1)
        return {adapter->device, PortSource::OnlyAdapter};
    return {c.firstPort, PortSource::FirstPort};
}

QString describePortSource(PortSource source)
{
    switch (source) {
    case PortSource::Option:
        return QStringLiteral("given with --port");
    case PortSource::Environment:
        return QStringLiteral("from PANELCONFIG_PORT");
    case PortSource::Remembered:
        return QStringLiteral("chosen in the window");
    case PortSource::OnlyAdapter:
        return QStringLiteral("the only USB serial adapter");
    case PortSource::FirstPort:
        break;
    }
    return QStringLiteral("the first serial port");
}

QString rememberedPort()
{
    return QSettings().value(kPortKey).toString();
}

void rememberPort(const QString &device)
{
    QSettings().setValue(kPortKey, device);
}

PortSurvey PortSurvey::ofThisMachine()
{
    return {[] { return qEnvironmentVariable("PANELCONFIG_PORT"); }, rememberedPort, deviceExists, presentSerialPorts};
}

PortCandidates portCandidates(const QString &option, const PortSurvey &survey)
{
    PortCandidates c;
    c.option = option;
    c.environment = survey.environment();
    c.remembered = survey.remembered();
    c.rememberedExists = !c.remembered.isEmpty() && survey.exists(c.remembered);
    // Listing the ports costs start-up time: only needed when nothing has named the port.
    if (c.option.isEmpty() && c.environment.isEmpty() && !c.rememberedExists)
        c.present = survey.present();
    c.firstPort = QtSerialLine::firstPortName();
    return c;
}

} // namespace panel
