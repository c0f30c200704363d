#include "headless/result_queue.h"

namespace panel {

ResultQueue::ResultQueue(int ports)
    : m_running(ports)
{
}

void ResultQueue::put(const JobResult &result)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_results.append(result);
    m_changed.notify_all();
}

void ResultQueue::portDone()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    --m_running;
    m_changed.notify_all();
}

std::optional<JobResult> ResultQueue::take()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_results.isEmpty() || m_running == 0; });
    if (m_results.isEmpty())
        return std::nullopt;
    return m_results.takeFirst();
}

} // namespace panel
