#include "site/panel_trail.h"

#include "link/panel_operations.h"

namespace panel {

namespace {

bool isPanelOperation(const QString &command)
{
    return command == QLatin1String("write") || command == QLatin1String("verify") || command == QLatin1String("read");
}

// A verify that found differences did its job: the panel differs, the operation did not fail.
bool failed(const PanelOperation &operation)
{
    return operation.exitCode != kExitDone
        && !(operation.command == QLatin1String("verify") && operation.exitCode == kExitDifferences);
}

NamedPanelConfig writtenConfig(const PanelOperation &write)
{
    NamedPanelConfig named;
    const std::array<qint16, kConfigRegisters> &values = *write.intended;
    for (int k = 0; k < kButtons; ++k)
        named.config.code[size_t(k)] = values[size_t(k)];
    named.config.feature = values[kFeatureRegister];
    named.config.indicator = values[kIndicatorRegister];
    named.config.backlight = values[kBacklightIntensityRegister];
    named.panel = write.panelName;
    named.designation = write.designations;
    return named;
}

} // namespace

QString stateWords(PanelState state)
{
    switch (state) {
    case PanelState::NotWritten:
        return QStringLiteral("not written");
    case PanelState::Written:
        return QStringLiteral("written");
    case PanelState::Verified:
        return QStringLiteral("verified");
    case PanelState::ChangedSinceWritten:
        return QStringLiteral("changed since written");
    case PanelState::Differs:
        return QStringLiteral("differs");
    case PanelState::Failed:
        return QStringLiteral("failed");
    case PanelState::Unknown:
        break;
    }
    return QStringLiteral("unknown");
}

PanelTrail::PanelTrail(std::optional<NamedPanelConfig> file)
    : m_file(std::move(file))
{
}

bool PanelTrail::take(const PanelOperation &operation)
{
    if (settled() || !isPanelOperation(operation.command))
        return !settled();
    if (!m_last)
        m_last = operation;
    if (operation.command == QLatin1String("write")) {
        if (!failed(operation) && operation.intended)
            m_write = operation;
    } else if (!m_check && !failed(operation)) {
        m_check = operation;
    }
    return !settled();
}

PanelStatus PanelTrail::status() const
{
    PanelStatus status;
    status.write = m_write;
    status.check = m_check;
    if (m_write)
        status.written = writtenConfig(*m_write);
    const std::optional<NamedPanelConfig> meant = m_file ? m_file : status.written;
    if (m_check && meant)
        status.checkMatched = configSeen(m_check->registers) == meant->config;

    if (m_last && failed(*m_last)) {
        status.state = PanelState::Failed;
        status.seen = m_last;
    } else if (!m_write) {
        status.state = PanelState::NotWritten;
        status.check.reset();
    } else if (m_file && (m_write->intended != m_file->config.registers() || m_write->designations != m_file->designation)) {
        status.state = PanelState::ChangedSinceWritten;
        status.seen = m_write;
    } else if (m_check) {
        status.state = status.checkMatched ? PanelState::Verified : PanelState::Differs;
        status.seen = m_check;
    } else {
        status.state = PanelState::Written;
        status.seen = m_write;
    }
    return status;
}

} // namespace panel
