#pragma once

#include <QString>

namespace panel {

class PanelWindow;
class SerialLine;
struct WindowVars;

// The register operations that a whole-panel read or write is made of. Every wait keeps the
// window's events flowing and sleeps until the next event: a reply byte or the timer's tick.
class PanelLink
{
public:
    PanelLink(PanelWindow &window, SerialLine &line);
    ~PanelLink(); // closes the port

    bool open_panel_port(QString *error);
    bool hail_panel();
    void pause_tick();
    // Reads register address_l into A. Returns whether a value was received at all: a reply too
    // short to hold one is a failure ("COMMUNICATIONS CORRUPTED") and leaves A as it was.
    bool read_register();
    void write_register();

private:
    void wait_for_reply();
    QByteArray takeReply();
    bool ended() const;

    PanelWindow &m_window;
    SerialLine &m_line;
    WindowVars &m_vars;
};

} // namespace panel
