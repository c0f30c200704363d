#pragma once

#include "model/panel_config.h"

#include <QByteArray>
#include <QMetaObject>
#include <QString>
#include <functional>

namespace panel {

class OperationReport;
class PanelHost;
class SerialLine;

// The register operations that a whole-panel read or write is made of, and the working values of that
// one operation. Every wait keeps the event loop running and sleeps until the next event: a reply byte
// or the timer's tick.
class PanelLink
{
public:
    enum class Read { Missing, NotFitting, Received };

    PanelLink(PanelHost &host, OperationReport &report, SerialLine &line);
    ~PanelLink(); // closes the port
    PanelLink(const PanelLink &) = delete;
    PanelLink &operator=(const PanelLink &) = delete;

    bool open_panel_port(QString *error);
    bool hail_panel();
    void pause_tick();
    // Reads register address_l into A. A reply too short to hold a value is a failure ("COMMUNICATIONS
    // CORRUPTED") and leaves A as it was; so does one whose value does not fit 16 bits.
    Read read_register();
    // Writes data_l to register address_l and reads it back into A.
    void write_register();

    qint16 error_flag = 0; // 1 after a failure of the last register operation
    qint16 address_l = 0;  // the register of the next operation
    qint16 data_l = 0;     // the value of the next write
    qint16 A = 0;          // the value last read
    SeenRegisters seen{};  // registers 0 to 9 read whole, or written and read back

private:
    bool waitFor(const std::function<bool()> &done);
    bool replyWaiting() const;
    void see();
    void sendCommand(const QByteArray &command);
    QByteArray takeAcknowledgement();
    QByteArray takeReadReply();
    Read receiveValue();
    bool ended() const;

    PanelHost &m_host;
    OperationReport &m_report;
    SerialLine &m_line;
    qint16 timer_flag = 0; // set by every tick of the timer
    QMetaObject::Connection m_tick;
};

} // namespace panel
