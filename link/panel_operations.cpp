#include "link/panel_operations.h"

#include "link/panel_link.h"
#include "link/panel_window.h"
#include "link/serial_line.h"
#include "model/status_texts.h"
#include "model/codes.h"

#include <array>

namespace panel {

namespace {

void showStatus(PanelWindow &window, quint32 colour, const QString &text)
{
    window.setStatusVisible(true);
    window.setStatusColour(colour);
    window.setStatusText(text);
}

bool openPort(PanelWindow &window, SerialLine &line, PanelLink &link)
{
    QString error;
    if (link.open_panel_port(&error))
        return true;
    showStatus(window, kRed, kPortNotOpened + QChar(10) + line.deviceName() + QStringLiteral(": ") + error);
    return false;
}

// Hails the panel and checks its identity register. False when the operation must end here.
bool reachPanel(PanelWindow &window, PanelLink &link, const QString &mismatchText)
{
    WindowVars &v = window.vars();
    if (!link.hail_panel()) {
        showStatus(window, kRed, kNoResponse);
        return false;
    }
    link.pause_tick();
    v.address_l = kIdentityRegister;
    if (!link.read_register()) {
        // Only a value actually received can prove the panel's identity.
        showStatus(window, kRed, kBadData);
        return false;
    }
    if (v.A != kPanelIdentity) {
        window.message(mismatchText, kMismatchTitle);
        return false;
    }
    return true;
}

// Register reads of a whole-panel read; false at the first failure.
bool readRegisters(PanelWindow &window, PanelLink &link)
{
    WindowVars &v = window.vars();
    for (int k = 0; k < kButtons; ++k) {
        link.pause_tick();
        v.address_l = qint16(k);
        // An out-of-range value still reaches the lists; a missing one does not.
        if (link.read_register()) {
            decode_switch_code(v);
            window.showDecodedButton(k);
        }
        window.clearDesignation(k);
        if (v.error_flag == 1)
            return false;
    }

    link.pause_tick();
    v.address_l = kFeatureRegister;
    const bool flagReceived = link.read_register();
    if (flagReceived)
        window.setIndependentLighting(v.A == 0 ? 0 : 1);
    if (v.error_flag == 1)
        return false;

    link.pause_tick();
    v.address_l = kIndicatorRegister;
    if (!link.read_register())
        return false;
    v.indpercent = v.A;
    window.show_indicator_code();
    if (v.error_flag == 1)
        return false;

    link.pause_tick();
    v.address_l = kBacklightIntensityRegister;
    if (!link.read_register())
        return false;
    v.blpercent = v.A;
    window.show_backlight_code();
    return v.error_flag != 1;
}

} // namespace

void read_config(PanelWindow &window, SerialLine &line)
{
    showStatus(window, kYellow, kStartingRead);
    window.setPanelName(QString());

    PanelLink link(window, line);
    if (!openPort(window, line, link))
        return;
    if (!reachPanel(window, link, kReadMismatch))
        return;
    if (!readRegisters(window, link)) {
        showStatus(window, kRed, kBadData);
        return;
    }
    link.pause_tick();
    showStatus(window, kGreen, kReadSuccessful);
}

void write_config(PanelWindow &window, SerialLine &line)
{
    WindowVars &v = window.vars();
    showStatus(window, kYellow, kStartingWrite);
    v.error_flag = 0;
    window.gather_switch_codes();
    v.BL = kBacklightCode;

    PanelLink link(window, line);
    if (!openPort(window, line, link))
        return;
    if (v.error_flag == 1) {
        showStatus(window, kRed, kIncompleteData);
        return;
    }
    if (!reachPanel(window, link, kWriteMismatch))
        return;

    const std::array<qint16, 10> values = {v.button[0].w, v.button[1].w, v.button[2].w, v.button[3].w,
                                           v.button[4].w, v.button[5].w, v.BL, v.feature,
                                           v.indpercent, v.blpercent};
    for (int reg = 0; reg < int(values.size()) && v.error_flag == 0; ++reg) {
        link.pause_tick();
        v.address_l = qint16(reg);
        v.data_l = values[reg];
        link.write_register();
    }
    if (v.error_flag != 0) {
        showStatus(window, kRed, kBadData);
        return;
    }
    link.pause_tick();
    showStatus(window, kGreen, kProgrammed);
}

} // namespace panel
