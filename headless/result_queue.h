#pragma once

#include "headless/panel_job.h"

#include <QList>
#include <condition_variable>
#include <mutex>
#include <optional>

namespace panel {

// The results of every port's thread, handed to the thread that prints and logs them. Waiting on it
// needs no event loop: nothing here depends on one thread waking another's event dispatcher. The
// standard library's mutex, whose every step ThreadSanitizer sees, guards it.
class ResultQueue
{
public:
    explicit ResultQueue(int ports);

    void put(const JobResult &result);
    // A port's thread has handed in its last result.
    void portDone();
    // The next result, waiting for it; nothing once every port is done and every result taken.
    std::optional<JobResult> take();

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    QList<JobResult> m_results;
    int m_running;
};

} // namespace panel
