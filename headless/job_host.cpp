#include "headless/job_host.h"

namespace panel {

JobHost::JobHost(CollectingView &messages, const std::atomic<bool> *stop, int tickMilliseconds)
    : m_messages(messages)
    , m_stop(stop)
    , m_tick(tickMilliseconds)
{
    m_timer.setTimerType(Qt::PreciseTimer);
}

void JobHost::reportStatus(const QString &text, std::optional<quint32>) { m_status = text; }

} // namespace panel
