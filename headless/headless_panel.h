#pragma once

#include "link/panel_host.h"
#include "model/operation_report.h"
#include "model/panel_config.h"

#include <QStringList>
#include <QTimer>
#include <array>
#include <atomic>
#include <optional>

namespace panel {

// The window without widgets: it keeps the selections a panel read or a file open shows, runs the
// selection rules on them as the window does, and gathers what the window would write. Its messages
// become warnings; its status is the last one reported. Lives on the thread that runs its operations.
class HeadlessPanel : public OperationReport, public PanelHost
{
public:
    // stop: set from anywhere (a signal handler) to abandon the operation under way.
    explicit HeadlessPanel(const std::atomic<bool> *stop = nullptr);

    // OperationReport
    void reportStatus(const QString &text, std::optional<quint32> colour = std::nullopt) override;
    void hideStatus() override {}
    void message(const QString &text, const QString &title) override;
    void showButton(int k, int modulePosition, int channelPosition) override;
    void showDesignation(int, const std::optional<QString> &) override {}
    void showPanelName(const QString &) override {}
    void showIndependentLighting(int state) override;
    void showIndicator(qint16 code) override;
    void showBacklight(qint16 code) override;

    // PanelHost
    OperationVars &operationVars() override { return m_vars; }
    void armTimer() override;
    bool operationAbandoned() const override { return m_stop && m_stop->load(); }
    void registerSeen(int address, qint16 value) override;

    // What the window would write now; nothing when a button is incomplete.
    std::optional<PanelConfig> gather();
    // The values as they were shown, before any rule corrected them: a panel read's registers.
    const PanelConfig &shown() const { return m_shown; }
    // Registers 0 to 9 as the panel was seen to hold them; nothing for one never read.
    const std::array<std::optional<qint16>, kConfigRegisters> &seen() const { return m_seen; }
    QString status() const { return m_status; }
    const QStringList &messages() const { return m_messages; }

private:
    void checkIndependentLighting();
    void indicatorRule();
    void backlightRule();

    const std::atomic<bool> *m_stop;
    WindowVars m_vars;
    QTimer m_timer;
    std::array<int, kButtons> m_module{-1, -1, -1, -1, -1, -1};
    std::array<int, kButtons> m_channel{-1, -1, -1, -1, -1, -1};
    int m_check = 0;
    int m_indicatorPosition = 0;
    int m_backlightPosition = 0;
    PanelConfig m_shown;
    std::array<std::optional<qint16>, kConfigRegisters> m_seen{};
    QString m_status;
    QStringList m_messages;
};

} // namespace panel
