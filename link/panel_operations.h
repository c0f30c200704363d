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

// Exit codes of the command line, one a kind of result; with several panels the highest one wins. The
// window's history keeps the same code for each operation.
enum ExitCode : int {
    kExitDone = 0,
    kExitDifferences = 1,
    kExitLineFailure = 2,
    kExitOtherPanel = 3,
    kExitFileFailure = 4,
    kExitPortFailure = 5,
    kExitUsage = 64, // EX_USAGE of sysexits.h: the command line could not be understood
};
int exitCodeOf(PanelOutcome outcome);

struct PanelResult {
    PanelOutcome outcome = PanelOutcome::Done;
    // Registers 0 to 9 as the panel was seen to hold them (read whole, or a write verified by reading it
    // back); nothing for a register the operation did not reach or never reads.
    SeenRegisters registers{};
    // A write's reading of the panel before its first write, when it was asked for one, and whether it
    // was read whole.
    std::optional<SeenRegisters> backup;
    bool backupTaken = false;
};

// Reads registers 63 and 0 to 9 of the panel and shows each in the editor as it comes; the status goes
// to the report.
PanelResult read_config(PanelHost &host, OperationReport &report, SerialLine &line, EditorModel &editor);
// Writes and verifies registers 0 to 9. No configuration means a button is incomplete: the port is
// opened and closed, and nothing is sent. With a backup editor, the panel is first read into it as a
// panel read shows it, after the identity check; a backup that fails ends the write before anything is
// written.
PanelResult write_config(PanelHost &host, OperationReport &report, SerialLine &line,
                         const std::optional<PanelConfig> &config, EditorModel *backup = nullptr);

} // namespace panel
