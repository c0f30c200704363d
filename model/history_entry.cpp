#include "model/history_entry.h"

#include "model/editor_model.h"
#include "model/status_texts.h"

namespace panel {

void takeNamesShown(HistoryEntry &entry, const EditorModel &editor)
{
    entry.panelName = editor.panelName();
    for (int k = 0; k < kButtons; ++k)
        entry.designations[size_t(k)] = editor.designation(k);
}

HistoryEntry backupEntry(const QString &port, const SeenRegisters &registers, bool taken, EditorModel &shown,
                         const QString &failure, int exitCode)
{
    HistoryEntry entry;
    entry.command = QStringLiteral("backup");
    entry.port = port;
    entry.registers = registers;
    takeNamesShown(entry, shown);
    if (taken) {
        entry.result = kReadSuccessful;
        entry.snapshot = shown.gather_named_config();
    } else {
        entry.result = failure;
        entry.exitCode = exitCode;
    }
    return entry;
}

} // namespace panel
