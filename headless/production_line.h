#pragma once

#include "headless/panel_job.h"

#include <QStringList>
#include <QTextStream>
#include <atomic>

namespace panel {

// A production-line run: one command on every port at once, each port on a thread of its own.
struct ProductionRun {
    JobRequest request;
    QStringList devices;
    bool json = false;
    bool repeat = false; // after each panel, wait for it to go and for the next one to answer
    QString logPath;     // every result appended as a JSON line; empty: no log
};

// Prints each result on out as it comes (one line, or one JSON object) and warnings on err. Ends when
// every port is done, or soon after stop is set. Returns the highest exit code of any panel.
int runProductionLine(const ProductionRun &run, QTextStream &out, QTextStream &err, const std::atomic<bool> &stop);

} // namespace panel
