#pragma once

#include <QList>
#include <QString>
#include <functional>
#include <optional>

namespace panel {

// A serial port present on this machine, as the system describes it.
struct SerialPortEntry {
    QString device;        // e.g. /dev/ttyUSB0
    QString description;   // e.g. FT232R USB UART
    QString manufacturer;  // e.g. FTDI
    std::optional<quint16> vendorId;
    std::optional<quint16> productId;

    // A USB serial adapter reports its vendor and product ids.
    bool isUsbAdapter() const { return vendorId.has_value(); }
    // One line for a person: the device, then what is known of it.
    QString describe() const;
};

QList<SerialPortEntry> presentSerialPorts();

// Where the port of a session came from, in the order they are tried.
enum class PortSource { Option, Environment, Remembered, OnlyAdapter, FirstPort };

struct PortChoice {
    QString device;
    PortSource source = PortSource::FirstPort;
};

struct PortCandidates {
    QString option;       // --port
    QString environment;  // PANELCONFIG_PORT
    QString remembered;   // chosen in the window earlier
    bool rememberedExists = false;
    QList<SerialPortEntry> present;
    QString firstPort;
};

// The first of: the option, the environment, the remembered port while its device exists, the USB
// adapter when exactly one is present, the first serial port.
PortChoice choosePanelPort(const PortCandidates &candidates);
QString describePortSource(PortSource source);

// The port chosen in the window, kept between sessions.
QString rememberedPort();
void rememberPort(const QString &device);

// Where portCandidates reads the machine and the session; tests give their own.
struct PortSurvey {
    std::function<QString()> environment;                 // PANELCONFIG_PORT
    std::function<QString()> remembered;                  // rememberedPort
    std::function<bool(const QString &)> exists;          // whether a device is there
    std::function<QList<SerialPortEntry>()> present;      // presentSerialPorts

    static PortSurvey ofThisMachine();
};

// Everything choosePanelPort needs. The ports present are listed only when the option, the
// environment and a remembered device that exists all leave the choice open.
PortCandidates portCandidates(const QString &option, const PortSurvey &survey = PortSurvey::ofThisMachine());

} // namespace panel
