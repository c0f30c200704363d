#pragma once

#include <QString>

namespace panel {

class OperationReport;
class PanelHost;
class SerialLine;
struct OperationVars;

// The register operations that a whole-panel read or write is made of. Every wait keeps the
// event loop running and sleeps until the next event: a reply byte or the timer's tick.
class PanelLink
{
public:
    enum class Read { Missing, NotFitting, Received };

    PanelLink(PanelHost &host, OperationReport &report, SerialLine &line);
    ~PanelLink(); // closes the port

    bool open_panel_port(QString *error);
    bool hail_panel();
    void pause_tick();
    // Reads register address_l into A. A reply too short to hold a value is a failure ("COMMUNICATIONS
    // CORRUPTED") and leaves A as it was; so does one whose value does not fit 16 bits.
    Read read_register();
    void write_register();

private:
    void sendCommand(const QByteArray &command);
    void wait_for_reply();
    QByteArray takeReply();
    QByteArray takeReadReply();
    bool ended() const;

    PanelHost &m_host;
    OperationReport &m_report;
    SerialLine &m_line;
    OperationVars &m_vars;
};

} // namespace panel
