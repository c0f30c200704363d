#pragma once

#include "file/history.h"
#include "link/panel_operations.h"
#include "link/protocol.h"
#include "model/panel_config.h"
#include "model/status_texts.h" // kStoppedText, the result of a stopped job

#include <QString>
#include <QStringList>
#include <array>
#include <atomic>
#include <optional>

namespace panel {

class LineObserver;
class SerialLine;

// Where --read saves each panel: a file name that may hold the fields {port}, {n} and {time}.
struct ReadTarget {
    QString pattern;
    QString panelName;                 // the name saved in the file; empty: the file's base name
    bool replace = false;              // --force: an existing file may be replaced
    std::atomic<int> *count = nullptr; // the last {n} given: the highest taken before the run, then each panel read
};

struct JobRequest {
    enum class Command { Write, Verify, Read };
    Command command = Command::Write;
    QString file;                       // as given on the command line
    std::optional<PanelConfig> intended; // --write, --verify: what the window would write for the file
    std::optional<NamedPanelConfig> fileNamed; // and with it the file's panel name and designations
    QStringList fileWarnings;            // the messages the window shows on opening the file
    ReadTarget target;                   // --read
    bool backup = false;                 // --write: the panel's configuration kept before writing
    int tickMilliseconds = kTickMilliseconds;
};

struct JobResult {
    QString device;
    QString command;
    QString file;        // the file read, compared or saved
    QString result;      // in the window's words where the window has them
    int exitCode = kExitDone;
    bool portFailure = false;  // the port could not be opened: no panel was reached
    SeenRegisters registers{}; // what the panel was seen to hold: read, or verified by read-back
    std::optional<std::array<qint16, kConfigRegisters>> intended;
    QStringList differences; // --verify, in a person's words
    QStringList warnings;    // the messages the window would have shown
    QString advice;          // what to do about a port that could not be opened
    QString detail;          // of a failure, what the line showed of it
    double seconds = 0;
    QList<HistoryEntry> history; // what the history keeps of it: a backup, then the operation
};

QString commandName(JobRequest::Command command);

// A message of several lines as one line, for a warning.
inline QString oneLine(QString text) { return text.replace(QChar(10), QChar(' ')); }

// A result as it starts: what the request and the line say of it, before anything reached the panel.
JobResult startedResult(const JobRequest &request, const SerialLine &line);

// Runs one command against the panel on the line, with the window's own operations. Must run on a
// thread with an event loop's dispatcher (any Qt thread); stop abandons it at its next wait. The
// observer, when given, sees every byte on the line.
JobResult runJob(const JobRequest &request, SerialLine &line, const std::atomic<bool> *stop = nullptr,
                 LineObserver *observer = nullptr);

// The differences between a panel's registers and what a file would write, in a person's words.
QStringList describeDifferences(const PanelConfig &panel, const PanelConfig &file);

} // namespace panel
