#pragma once

#include "link/panel_host.h"
#include "model/operation_report.h"

#include <QStringList>
#include <QTimer>
#include <functional>

// Runs panel operations for a test without a window: a tick of the test's choosing, every status and
// message kept in order, and an abandon switch.
class RecordingHost : public panel::PanelHost, public panel::OperationReport
{
public:
    explicit RecordingHost(int tickMilliseconds) : m_tick(tickMilliseconds) { m_timer.setTimerType(Qt::PreciseTimer); }

    QTimer &timer() override { return m_timer; }
    int tickMilliseconds() const override { return m_tick; }
    bool operationAbandoned() const override { return abandoned; }

    void reportStatus(const QString &text, std::optional<quint32> shown = std::nullopt) override
    {
        statuses << text;
        if (shown)
            colour = *shown;
        if (onStatus)
            onStatus(text);
    }
    void hideStatus() override {}
    void message(const QString &text, const QString &title) override { messages << title + QLatin1Char('|') + text; }

    QString status() const { return statuses.isEmpty() ? QString() : statuses.constLast(); }

    QStringList statuses;
    quint32 colour = 0;
    QStringList messages; // "title|text"
    bool abandoned = false;
    std::function<void(const QString &)> onStatus;

private:
    QTimer m_timer;
    int m_tick;
};
