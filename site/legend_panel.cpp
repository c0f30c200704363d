#include "site/legend_panel.h"

#include "model/editor_state.h"
#include "model/panel_config.h"

namespace panel {

LegendPanel legendOf(const NamedPanelConfig &named)
{
    LegendPanel legend;
    legend.name = named.panel;
    for (int k = 0; k < kButtons; ++k) {
        // As the window shows the file: every code from 160 up is "N/A".
        if (decode_switch_code(named.config.code[size_t(k)], 0).h_index != kModuleNaPosition)
            legend.designation[size_t(k)] = named.designation[size_t(k)];
    }
    return legend;
}

LegendPanel legendOf(const EditorState &shown)
{
    LegendPanel legend;
    legend.name = shown.panelName;
    for (int k = 0; k < kButtons; ++k) {
        if (shown.module[size_t(k)] != kModuleNaPosition)
            legend.designation[size_t(k)] = shown.designation[size_t(k)];
    }
    return legend;
}

} // namespace panel
