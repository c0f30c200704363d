#include "model/panel_config.h"

namespace panel {

std::array<qint16, kConfigRegisters> PanelConfig::registers() const
{
    return {code[0], code[1], code[2], code[3], code[4], code[5], kBacklightCode, feature, indicator, backlight};
}

PanelConfig PanelConfig::fromRegisters(const std::array<qint16, kConfigRegisters> &values)
{
    PanelConfig config;
    for (int k = 0; k < kButtons; ++k)
        config.code[k] = values[k];
    config.feature = values[kFeatureRegister];
    config.indicator = values[kIndicatorRegister];
    config.backlight = values[kBacklightIntensityRegister];
    return config;
}

std::optional<PanelConfig> gather_config(const Selections &selections, WindowVars &vars)
{
    vars.error_flag = 0;
    gather_switch_codes(selections, vars);
    if (vars.error_flag == 1)
        return std::nullopt;
    PanelConfig config;
    for (int k = 0; k < kButtons; ++k)
        config.code[k] = vars.button[k].w;
    config.feature = vars.feature;
    config.indicator = vars.indpercent;
    config.backlight = vars.blpercent;
    return config;
}

QString describeSwitchCode(qint16 code)
{
    if (code >= kNaCode)
        return QStringLiteral("N/A");
    if (code == kBlMrCode)
        return QStringLiteral("BL/MR");
    if (code < 0)
        return QString::number(code);
    return QStringLiteral("%1/%2").arg(QChar('A' + code / 10)).arg(code % 10 + 1);
}

QString describeIntensity(qint16 code)
{
    for (const ListRow &row : intensityRows()) {
        if (row.datum == code)
            return QStringLiteral("%1 %").arg(QLatin1String(row.text));
    }
    return QStringLiteral("code %1").arg(code);
}

} // namespace panel
