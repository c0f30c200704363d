#include "headless/job_host.h"

namespace panel {

JobHost::JobHost(CollectingView &messages, const std::atomic<bool> *stop)
    : m_messages(messages)
    , m_stop(stop)
{
    m_timer.setTimerType(Qt::PreciseTimer);
}

void JobHost::registerSeen(int address, qint16 value)
{
    if (address >= 0 && address < kConfigRegisters)
        m_seen[address] = value;
}

void JobHost::reportStatus(const QString &text, std::optional<quint32>) { m_status = text; }

std::optional<PanelConfig> JobHost::seenConfig() const
{
    PanelConfig config;
    for (int k = 0; k < kButtons; ++k) {
        if (!m_seen[k])
            return std::nullopt;
        config.code[k] = *m_seen[k];
    }
    if (!m_seen[kFeatureRegister] || !m_seen[kIndicatorRegister] || !m_seen[kBacklightIntensityRegister])
        return std::nullopt;
    config.feature = *m_seen[kFeatureRegister];
    config.indicator = *m_seen[kIndicatorRegister];
    config.backlight = *m_seen[kBacklightIntensityRegister];
    return config;
}

} // namespace panel
