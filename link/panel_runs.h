#pragma once

#include "link/panel_operations.h"
#include "model/history_entry.h"

#include <QList>
#include <QString>
#include <array>
#include <optional>

namespace panel {

class EditorModel;
class LineObserver;
class OperationReport;
class PanelHost;
class SerialLine;

// A whole-panel operation as the window and the command line run it: its result, in the words the
// window tells it, and what the history keeps of it.
struct PanelRun {
    PanelResult done;
    QString words;               // the last status, the mismatch message shown instead, or a stop
    QString explanation;         // of a failure, what the line shows of it; empty after success
    QList<HistoryEntry> history; // a backup's entry first, when there was one, then the operation's
};

// What to write, and the names shown beside it.
struct WriteOrder {
    std::optional<PanelConfig> config; // nothing: a button is incomplete
    QString panelName;
    std::array<QString, kButtons> designations;
    bool backup = false; // the panel read and kept first, as a read keeps it
};

// Reads the panel into the editor. command is "read", or "verify" for a read that only compares: it
// keeps no snapshot, and intended, when given, is what it compares with. The observer, when given,
// sees every byte on the line.
PanelRun read_panel(PanelHost &host, OperationReport &report, SerialLine &line, EditorModel &editor,
                    const QString &command = QStringLiteral("read"),
                    const std::optional<PanelConfig> &intended = std::nullopt, LineObserver *observer = nullptr);
// Writes the order to the panel, after its backup when it asks for one.
PanelRun write_panel(PanelHost &host, OperationReport &report, SerialLine &line, const WriteOrder &order,
                     LineObserver *observer = nullptr);

} // namespace panel
