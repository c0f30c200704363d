#pragma once

#include "link/panel_runs.h"
#include "model/status_texts.h"

namespace panel {

// Reads the panel into an editor nobody sees and compares what it holds with the file's configuration:
// the words and exit code say whether it matches, and the history's entry names the file's panel.
PanelRun verify_panel(PanelHost &host, OperationReport &report, SerialLine &line, const NamedPanelConfig &file,
                      LineObserver *observer = nullptr);

} // namespace panel
