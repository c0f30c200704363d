#pragma once

#include "model/operation_report.h"
#include "model/panel_config.h"
#include "model/window_vars.h"

namespace panel {

// The one path from a switch code to the window, for the panel read and the file open: A takes the
// code, decode_switch_code turns it into positions, and the button's lists are set to them.
void show_switch_code(OperationReport &report, OperationVars &vars, int k, qint16 code);

// An opened file's configuration shown: the panel name, each button's designation and code, then
// the lighting settings. The box is ticked only for a flag of exactly 1.
void show_named_config(OperationReport &report, OperationVars &vars, const NamedPanelConfig &named);

} // namespace panel
