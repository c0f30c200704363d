#pragma once

#include "file/journal_reader.h"
#include "model/history_entry.h"
#include "model/panel_config.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <array>
#include <functional>
#include <optional>

namespace panel {

// How many snapshots are kept: the newest ones, no more than either limit allows.
struct Retention {
    int snapshots = 10000;
    qint64 bytes = qint64(100) * 1000 * 1000;
};

// What keeping an entry left to say: what was not kept and why, and what was kept but is not sure.
struct HistoryKept {
    QString failure;
    QString warning; // a snapshot kept whose durability could not be confirmed
};

// The history of this machine's panel operations, in a folder of the user's own (mode 0700): the
// journal, one JSON line an operation, and the snapshots (mode 0600). Nothing outside the folder is
// ever written or removed, and the journal never is. A folder or journal that is a symbolic link, or
// another user's, is never used; one open to others is narrowed to its owner first.
class History
{
public:
    explicit History(const QString &folder = defaultFolder(), Retention retention = Retention());

    // $XDG_DATA_HOME/panelconfig/history (~/.local/share/panelconfig/history).
    static QString defaultFolder();
    QString folder() const { return m_folder; }
    QString journalPath() const;

    // Keeps the entry: its snapshot first, then its journal line naming it; after a snapshot the oldest
    // ones beyond the retention go.
    HistoryKept keep(const HistoryEntry &entry);

    // The journal's entries, newest first, each given to take until it returns false; only the lines
    // wanted, when a filter is given. No journal yet is no entry and no error.
    JournalRead readEntries(const std::function<bool(const QJsonObject &)> &take,
                            const JournalLineFilter &wanted = {}) const;

    // The snapshot's file name: 20261208T213000Z-write-LOBBY-ttyUSB0.pnl.
    static QString snapshotName(const HistoryEntry &entry);

private:
    QString makeFolder() const;
    QString folderRefusal() const;
    QString prune(const QString &justWritten) const;

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
