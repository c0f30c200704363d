#pragma once

#include "model/panel_config.h"

#include <QString>
#include <QStringList>
#include <array>
#include <atomic>
#include <optional>

namespace panel {

class SerialLine;

// Exit codes of the command line, one a kind of result; with several panels the highest one wins.
enum ExitCode : int {
    kExitDone = 0,
    kExitDifferences = 1,
    kExitLineFailure = 2,
    kExitOtherPanel = 3,
    kExitFileFailure = 4,
    kExitPortFailure = 5,
    kExitUsage = 64,
};

struct JobRequest {
    enum class Command { Write, Verify, Read };
    Command command = Command::Write;
    QString file;
    QString panelName; // --read: the name saved in the file; empty: the file's base name
};

struct JobResult {
    QString device;
    QString command;
    QString file;
    QString result;      // in the window's words where the window has them
    int exitCode = kExitDone;
    std::optional<std::array<qint16, kConfigRegisters>> registers; // written, read or compared
    QStringList differences; // --verify, in a person's words
    QStringList warnings;    // the messages the window would have shown
    double seconds = 0;
};

QString commandName(JobRequest::Command command);

// Runs one command against the panel on the line, with the window's own operations. Must run on a
// thread with an event loop's dispatcher (any Qt thread); stop abandons it at its next wait.
JobResult runJob(const JobRequest &request, SerialLine &line, const std::atomic<bool> *stop = nullptr);

// The differences between a panel's registers and what a file would write, in a person's words.
QStringList describeDifferences(const PanelConfig &panel, const PanelConfig &file);

} // namespace panel
