#pragma once

#include "file/atomic_file.h"
#include "file/pnl_record.h"
#include "model/panel_config.h"

#include <QString>
#include <optional>

namespace panel {

class EditorModel;
class OperationReport;

// A file read with every check of an open: readable, 21 fields, the model tag exactly, and codes the
// window can show. A refused file has no record and says why.
struct ConfigFileRead {
    std::optional<PanelFileRecord> record;
    QString reason;
};
ConfigFileRead read_config_file(const QString &path);
NamedPanelConfig named_config_of(const PanelFileRecord &record);
PanelFileRecord record_of(const NamedPanelConfig &named);
// Writes the file as a whole or not at all.
SaveOutcome save_named_config(const QString &path, const NamedPanelConfig &named,
                              ExistingFile existing = ExistingFile::Replace, mode_t newMode = 0666);

// Opens a chosen .pnl file into the editor. All or nothing: a refused file changes no control and no code,
// and is told in the open's message. Whether the file was opened.
bool open_config_file_named(OperationReport &report, EditorModel &editor, const QString &path);

// The file dialog's one filter: the description shown, "|", the pattern.
inline const QString kConfigFileFilter = QStringLiteral("TALMIRAX CONFIGURATION FILES (*.pnl)|*.pnl");

// The message of a refused open.
QString openRefusedText();
// The first line of a save's message when the new file is in place but the folder could not be synced:
// a crash soon after might still bring back the old file, or none.
QString savedUnconfirmedText();
// The dialog filter "description|pattern" as Qt spells a name filter.
QString qtNameFilter(const QString &filter);

} // namespace panel
