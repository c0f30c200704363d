// The four command buttons: read and write the panel, open and save a configuration file.
#include "ui/form1.h"

#include "file/config_file_ops.h"
#include "file/pnl_codec.h"
#include "link/panel_operations.h"
#include "ui/selection_list.h"
#include "ui/text_box.h"

namespace panel {

void Form1::readConfig()
{
    // A read that fails after the indicator has left the back-light code at the indicator's: the code
    // must be the one the list shows, or the next write would send a value the window does not show.
    if (read_config(*this, *this, m_line) != PanelOutcome::Done)
        m_vars.blpercent = qint16(List22->itemDatum(List22->position()));
}

void Form1::writeConfig()
{
    const std::optional<PanelConfig> config = gather_switch_codes();
    m_vars.BL = kBacklightCode;
    write_config(*this, *this, m_line, config);
}

void Form1::readFile() { open_config_file(*this, *this); }

void Form1::writeFile()
{
    const std::optional<PanelConfig> config = gather_switch_codes();
    m_vars.wmodel = QString::fromLatin1(kModelTag);
    m_vars.BL = kBacklightCode;
    std::optional<NamedPanelConfig> named;
    if (config) {
        named = NamedPanelConfig{*config, Text2->text(), {}};
        for (int k = 0; k < kButtons; ++k)
            named->designation[k] = m_buttons[k].desig->text();
    }
    save_config_file(*this, *this, named);
}

} // namespace panel
