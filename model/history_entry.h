#pragma once

#include "model/panel_config.h"

#include <QDateTime>
#include <QString>
#include <array>
#include <optional>

namespace panel {

// One whole-panel operation as the history keeps it.
struct HistoryEntry {
    QDateTime time = QDateTime::currentDateTimeUtc();
    QString command; // read, write, verify or backup
    QString port;
    QString result; // in the window's words
    QString detail; // of a failure, what the line showed of it
    int exitCode = 0; // as the command line gives it
    SeenRegisters registers{};
    std::optional<std::array<qint16, kConfigRegisters>> intended;
    QString panelName; // the panel name and designations shown at that moment
    std::array<QString, kButtons> designations;
    // A configuration read, backed up or written, kept as a .pnl file beside the journal, byte for byte
    // what SAVE CONFIGURATION FILE would write for it.
    std::optional<NamedPanelConfig> snapshot;
};

class EditorModel;

// The panel name and designations an editor shows, for an entry.
void takeNamesShown(HistoryEntry &entry, const EditorModel &editor);

// A backup read before a write, as a read would keep it: a snapshot of the configuration it showed, or,
// when it could not be read whole, the write's failure.
HistoryEntry backupEntry(const QString &port, const SeenRegisters &registers, bool taken, EditorModel &shown,
                         const QString &failure, int exitCode);

} // namespace panel
