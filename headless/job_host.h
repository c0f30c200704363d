#pragma once

#include "model/collecting_view.h"
#include "link/panel_host.h"
#include "link/protocol.h"
#include "model/operation_report.h"

#include <QTimer>
#include <atomic>
#include <optional>

namespace panel {

// What runs one panel operation for the command line: the timer, the stop, the status it ends with, and
// its messages, kept with the editor's in one order.
// Lives on the thread that runs the operation.
class JobHost : public PanelHost, public OperationReport
{
public:
    // stop: set from anywhere (a signal handler) to abandon the operation under way.
    JobHost(CollectingView &messages, const std::atomic<bool> *stop = nullptr, int tickMilliseconds = kTickMilliseconds);

    QTimer &timer() override { return m_timer; }
    int tickMilliseconds() const override { return m_tick; }
    bool operationAbandoned() const override { return m_stop && m_stop->load(); }

    void reportStatus(const QString &text, std::optional<quint32> colour = std::nullopt) override;
    void hideStatus() override {}
    void message(const QString &text, const QString &title) override { m_messages.message(text, title); }

    QString status() const { return m_status; }

private:
    CollectingView &m_messages;
    const std::atomic<bool> *m_stop;
    QTimer m_timer;
    int m_tick;
    QString m_status;
};

} // namespace panel
