#pragma once

#include "model/panel_config.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>
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

// How many snapshots are kept: the newest ones, no more than either limit allows.
struct Retention {
    int snapshots = 10000;
    qint64 bytes = qint64(100) * 1000 * 1000;
};

// The history of this machine's panel operations, in a folder of the user's own (mode 0700): the
// journal, one JSON line an operation, and the snapshots (mode 0600). Nothing outside the folder is
// ever written or removed, and the journal never is.
class History
{
public:
    explicit History(const QString &folder = defaultFolder(), Retention retention = Retention());

    // $XDG_DATA_HOME/panelconfig/history (~/.local/share/panelconfig/history).
    static QString defaultFolder();
    QString folder() const { return m_folder; }
    QString journalPath() const;

    // Keeps the entry: its snapshot first, then its journal line naming it; after a snapshot the oldest
    // ones beyond the retention go. An empty string when everything was kept, else what was not, and why.
    QString keep(const HistoryEntry &entry);

    // The journal's entries, newest first; those of one port only, when given.
    struct Listing {
        QList<QJsonObject> entries;
        QString error; // the journal could not be read
    };
    Listing entries(const QString &port = QString()) const;

    // The snapshot's file name: 20261208T213000Z-write-LOBBY-ttyUSB0.pnl.
    static QString snapshotName(const HistoryEntry &entry);

private:
    QString makeFolder() const;
    QString prune() const;

    QString m_folder;
    Retention m_retention;
};

// Registers as the command line's JSON and the journal tell them: ten values, null for one not seen.
QJsonArray registersJson(const SeenRegisters &registers);
QJsonArray registersJson(const std::array<qint16, kConfigRegisters> &registers);

// Whether history is kept, and whether a write first keeps the panel's configuration: remembered in the
// settings, on and off at first.
bool historyKept();
void setHistoryKept(bool kept);
bool backupBeforeWrite();
void setBackupBeforeWrite(bool backup);

} // namespace panel
