#pragma once

#include "headless/panel_job.h"

#include <QStringList>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>

namespace panel {

class SerialLine;
class TextOutput;

// A production-line run: one command on every port at once, each port on a thread of its own.
struct ProductionRun {
    JobRequest request;
    QStringList devices;
    bool json = false;
    bool repeat = false; // after each panel, wait for it to go and for the next one to answer
    QString logPath;     // every result appended as a JSON line; empty: no log
    std::optional<QString> historyFolder; // where the history is kept; nothing: no history
    // The line of a device, made on its port's thread; none: the device's serial port.
    std::function<std::unique_ptr<SerialLine>(const QString &device)> makeLine;
    int presenceIntervalMs = 1000; // --repeat: one hail sequence a second while waiting for a panel
    bool trace = false;            // every byte of the operations on err, the port first when several
};

// Prints each result on out as it comes (one line, or one JSON object) and warnings and advice on
// err, each from a thread of its own, once the result is kept in the history and the log. Ends when
// every port is done, or soon after stop is set whatever out and err do. Returns the highest exit code
// of the whole run; at least kExitFileFailure when a result could not be printed or logged.
// The run must have passed checkRun.
int runProductionLine(const ProductionRun &run, TextOutput &out, TextOutput &err, const std::atomic<bool> &stop);

} // namespace panel
