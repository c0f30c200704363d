#include "model/config_display.h"

namespace panel {

void show_switch_code(OperationReport &report, OperationVars &vars, int k, qint16 code)
{
    vars.A = code;
    decode_switch_code(vars);
    report.showButton(k, vars.h_index, vars.l_index);
}

void show_named_config(OperationReport &report, OperationVars &vars, const NamedPanelConfig &named)
{
    report.showPanelName(named.panel);
    for (int k = 0; k < kButtons; ++k) {
        report.showDesignation(k, named.designation[k]);
        show_switch_code(report, vars, k, named.config.code[k]);
    }
    report.showIndependentLighting(named.config.feature == 1 ? 1 : 0);
    report.showIndicator(named.config.indicator);
    report.showBacklight(named.config.backlight);
}

} // namespace panel
