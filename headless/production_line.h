#pragma once

#include "headless/panel_job.h"

#include <QStringList>
#include <atomic>
#include <optional>

namespace panel {

class TextOutput;

// A production-line run: one command on every port at once, each port on a thread of its own.
struct ProductionRun {
    JobRequest request;
    QStringList devices;
    bool json = false;
    bool repeat = false; // after each panel, wait for it to go and for the next one to answer
    QString logPath;     // every result appended as a JSON line; empty: no log
    std::optional<QString> historyFolder; // where the history is kept; nothing: no history
};

// Prints each result on out as it comes (one line, or one JSON object) and warnings and advice on
// err. Ends when every port is done, or soon after stop is set. Returns the highest exit code of the
// whole run; at least kExitFileFailure when a result could not be printed or logged.
// The run must have passed checkRun.
int runProductionLine(const ProductionRun &run, TextOutput &out, TextOutput &err, const std::atomic<bool> &stop);

} // namespace panel
