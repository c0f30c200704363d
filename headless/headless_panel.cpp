#include "headless/headless_panel.h"

#include "model/selection_rules.h"

namespace panel {

namespace {

qint16 intensityAt(int position) { return intensityRows()[position].datum; }

} // namespace

HeadlessPanel::HeadlessPanel(const std::atomic<bool> *stop)
    : m_stop(stop)
{
    m_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { m_vars.timer_flag = 1; });
    // The window's start-up state: box unticked, both intensities "100".
    m_vars.indpercent = kFullIntensityCode;
    m_vars.blpercent = kFullIntensityCode;
}

void HeadlessPanel::armTimer()
{
    m_timer.setInterval(100);
    m_vars.timer_flag = 0;
    m_timer.start();
}

void HeadlessPanel::registerSeen(int address, qint16 value)
{
    if (address >= 0 && address < kConfigRegisters)
        m_seen[address] = value;
}

void HeadlessPanel::reportStatus(const QString &text, std::optional<quint32>) { m_status = text; }

void HeadlessPanel::message(const QString &text, const QString &) { m_messages << text; }

// The module rule checks the lighting with the new module; the channel rule only takes its datum.
void HeadlessPanel::showButton(int k, int modulePosition, int channelPosition)
{
    m_module[k] = modulePosition;
    checkIndependentLighting();
    m_channel[k] = channelPosition;
    const qint16 module = modulePosition >= 0 && modulePosition < kModuleRowCount ? moduleRows()[modulePosition].datum : 0;
    m_shown.code[k] = modulePosition == kModuleNaPosition || modulePosition == kModuleBlMrPosition
        ? module
        : qint16(module + channelPosition);
}

void HeadlessPanel::showIndependentLighting(int state)
{
    m_shown.feature = qint16(state);
    if (state == m_check)
        return; // setting the state the box has runs no rule
    m_check = state;
    checkIndependentLighting();
    m_vars.feature = qint16(m_check);
}

void HeadlessPanel::checkIndependentLighting()
{
    if (m_check == 1 && !lightingAllowed(m_module)) {
        message(lightingMessage(), kLightingTitle);
        m_check = 0; // the nested rule finds the box unticked and says nothing
    }
    m_vars.feature = qint16(m_check);
}

void HeadlessPanel::showIndicator(qint16 code)
{
    m_shown.indicator = code;
    m_vars.indpercent = code;
    m_vars.blpercent = m_vars.indpercent;
    m_indicatorPosition = intensity_position(m_vars.indpercent);
    indicatorRule();
}

void HeadlessPanel::showBacklight(qint16 code)
{
    m_shown.backlight = code;
    m_vars.blpercent = code;
    m_backlightPosition = intensity_position(m_vars.blpercent);
    backlightRule();
}

void HeadlessPanel::indicatorRule()
{
    m_vars.indpercent = intensityAt(m_indicatorPosition);
    if (backlightAboveIndicator(m_vars.indpercent, m_vars.blpercent)) {
        message(indicatorMessage(), QString());
        m_backlightPosition = m_indicatorPosition;
        backlightRule();
        m_vars.indpercent = intensityAt(m_indicatorPosition);
    }
}

void HeadlessPanel::backlightRule()
{
    m_vars.blpercent = intensityAt(m_backlightPosition);
    if (backlightAboveIndicator(m_vars.indpercent, m_vars.blpercent)) {
        message(backlightMessage(), QString());
        m_backlightPosition = m_indicatorPosition;
        m_vars.blpercent = intensityAt(m_backlightPosition); // the nested run finds them equal
    }
}

std::optional<PanelConfig> HeadlessPanel::gather()
{
    Selections selections;
    for (int k = 0; k < kButtons; ++k)
        selections[k] = {m_module[k], m_channel[k]};
    return gather_config(selections, m_vars);
}

} // namespace panel
