#pragma once

#include "headless/collecting_view.h"
#include "link/panel_host.h"
#include "model/operation_report.h"
#include "model/panel_config.h"

#include <QTimer>
#include <array>
#include <atomic>
#include <optional>

namespace panel {

// What runs one panel operation for the command line: the timer, the stop, the status it ends with,
// the registers the panel was seen to hold, and its messages, kept with the editor's in one order.
// Lives on the thread that runs the operation.
class JobHost : public PanelHost, public OperationReport
{
public:
    // stop: set from anywhere (a signal handler) to abandon the operation under way.
    JobHost(CollectingView &messages, const std::atomic<bool> *stop = nullptr);

    QTimer &timer() override { return m_timer; }
    bool operationAbandoned() const override { return m_stop && m_stop->load(); }
    void registerSeen(int address, qint16 value) override;

    void reportStatus(const QString &text, std::optional<quint32> colour = std::nullopt) override;
    void hideStatus() override {}
    void message(const QString &text, const QString &title) override { m_messages.message(text, title); }

    QString status() const { return m_status; }
    // Registers 0 to 9 as the panel was seen to hold them; nothing for one never read.
    const std::array<std::optional<qint16>, kConfigRegisters> &seen() const { return m_seen; }
    // The panel's configuration as its registers were read, before any rule corrected it.
    std::optional<PanelConfig> seenConfig() const;

private:
    CollectingView &m_messages;
    const std::atomic<bool> *m_stop;
    QTimer m_timer;
    QString m_status;
    std::array<std::optional<qint16>, kConfigRegisters> m_seen{};
};

} // namespace panel
