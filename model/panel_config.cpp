#include "model/panel_config.h"

namespace panel {

std::array<qint16, kConfigRegisters> PanelConfig::registers() const
{
    return {code[0], code[1], code[2], code[3], code[4], code[5], kBacklightCode, feature, indicator, backlight};
}

std::optional<PanelConfig> configSeen(const SeenRegisters &registers)
{
    for (int reg = 0; reg < kConfigRegisters; ++reg) {
        if (reg != kBacklightRegister && !registers[size_t(reg)])
            return std::nullopt;
    }
    PanelConfig config;
    for (int k = 0; k < kButtons; ++k)
        config.code[size_t(k)] = *registers[size_t(k)];
    config.feature = *registers[kFeatureRegister];
    config.indicator = *registers[kIndicatorRegister];
    config.backlight = *registers[kBacklightIntensityRegister];
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
