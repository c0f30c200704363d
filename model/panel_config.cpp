#include "model/panel_config.h"

namespace panel {

std::array<qint16, kConfigRegisters> PanelConfig::registers() const
{
    return {code[0], code[1], code[2], code[3], code[4], code[5], kBacklightCode, feature, indicator, backlight};
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
