#pragma once

#include "model/panel_config.h"

#include <optional>

namespace panel {

class EditorModel;
class OperationReport;
class PanelHost;
class SerialLine;

// How a whole-panel operation ended, for whoever must tell a person or a script.
// Stopped: it failed because it was being abandoned.
enum class PanelOutcome { Done, PortNotOpened, NoResponse, IdentityMismatch, BadData, Incomplete, Stopped };

// Reads registers 63 and 0 to 9 of the panel and shows each in the editor as it comes; the status goes
// to the report.
PanelOutcome read_config(PanelHost &host, OperationReport &report, SerialLine &line, EditorModel &editor);
// Writes and verifies registers 0 to 9. No configuration means a button is incomplete: the port is
// opened and closed, and nothing is sent.
PanelOutcome write_config(PanelHost &host, OperationReport &report, SerialLine &line,
                          const std::optional<PanelConfig> &config);

} // namespace panel
