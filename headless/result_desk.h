#pragma once

#include "headless/panel_job.h"

#include <QJsonObject>
#include <QMap>
#include <atomic>
#include <memory>

namespace panel {

class AppendLog;
class History;
class QueuedOutput;
struct ProductionRun;

// The panels of a run, counted: those that were worked on and those done, and the ports that failed.
struct Tally {
    int panels = 0;
    int done = 0;
    int portFailures = 0;

    void add(const JobResult &result);
    QString describe() const;
    QJsonObject json() const;
};

// Takes each result as it comes, on the thread that runs the run: keeps it in the history and the log,
// then prints it, and counts it. Printing only queues: a reader that does not read delays no record.
class ResultDesk
{
public:
    // noMorePanels is set once a result cannot be logged: no panel goes on without its record.
    ResultDesk(const ProductionRun &run, QueuedOutput &out, QueuedOutput &err, AppendLog &log,
               std::atomic<bool> &noMorePanels);
    ~ResultDesk();

    void take(const JobResult &result);
    void printTally();
    // Waits for what was printed to be written (no longer than a moment once stop is set) and says
    // once on stderr when results could not be printed.
    void finish(const std::atomic<bool> &stop);

    int exitCode() const { return m_worst; }

private:
    void print(const JobResult &result, int count);
    void keepHistory(const JobResult &result);
    void log(const JobResult &result, int count);
    void writeOut(const QString &line);
    void sayOutputFailure(const QString &reason);

    std::unique_ptr<History> m_history;
    const ProductionRun &m_run;
    QueuedOutput &m_out;
    QueuedOutput &m_err;
    AppendLog &m_log;
    std::atomic<bool> &m_noMore;
    Tally m_total;
    QMap<QString, Tally> m_ports;
    int m_worst = kExitDone;
    bool m_outputFailureSaid = false;
    bool m_historyFailureSaid = false;
};

} // namespace panel
