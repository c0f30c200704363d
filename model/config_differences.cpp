#include "model/config_differences.h"

namespace panel {

namespace {

QString onOff(qint16 flag) { return flag != 0 ? QStringLiteral("on") : QStringLiteral("off"); }

// A button as the lists show it: its code when both lists are chosen (or the module needs no channel).
QString buttonShown(int module, int channel)
{
    if (module < 0 || module >= kModuleRowCount)
        return QStringLiteral("no module");
    const ListRow &row = moduleRows()[size_t(module)];
    if (module == kModuleNaPosition || module == kModuleBlMrPosition)
        return describeSwitchCode(row.datum);
    if (channel < 0 || channel >= kChannelRowCount)
        return QStringLiteral("%1/no channel").arg(QLatin1String(row.text));
    return describeSwitchCode(qint16(row.datum + channelRows()[size_t(channel)].datum));
}

} // namespace

ConfigWords wordsOf(const PanelConfig &config)
{
    ConfigWords words;
    for (int k = 0; k < kButtons; ++k)
        words.button[size_t(k)] = describeSwitchCode(config.code[size_t(k)]);
    words.lighting = onOff(config.feature);
    words.indicator = describeIntensity(config.indicator);
    words.backlight = describeIntensity(config.backlight);
    return words;
}

ConfigWords wordsShown(const EditorState &state)
{
    ConfigWords words;
    for (int k = 0; k < kButtons; ++k)
        words.button[size_t(k)] = buttonShown(state.module[size_t(k)], state.channel[size_t(k)]);
    words.lighting = onOff(state.feature);
    words.indicator = describeIntensity(state.indpercent);
    words.backlight = describeIntensity(state.blpercent);
    return words;
}

std::optional<PanelConfig> configShown(const EditorState &state)
{
    Selections selections;
    for (int k = 0; k < kButtons; ++k)
        selections[size_t(k)] = {state.module[size_t(k)], state.channel[size_t(k)]};
    std::array<ButtonCodes, kButtons> gathered = state.button;
    qint16 error_flag = 0;
    gather_switch_codes(selections, gathered, error_flag);
    if (error_flag == 1)
        return std::nullopt;
    PanelConfig config;
    for (int k = 0; k < kButtons; ++k)
        config.code[size_t(k)] = gathered[size_t(k)].w;
    config.feature = state.feature;
    config.indicator = state.indpercent;
    config.backlight = state.blpercent;
    return config;
}

QStringList describeDifferences(const ConfigWords &first, const QString &firstName, const ConfigWords &second,
                                const QString &secondName)
{
    QStringList differences;
    const auto differ = [&](const QString &what, const QString &inFirst, const QString &inSecond) {
        if (inFirst != inSecond)
            differences << QStringLiteral("%1: %2 %3, %4 %5").arg(what, firstName, inFirst, secondName, inSecond);
    };
    for (int k = 0; k < kButtons; ++k)
        differ(QStringLiteral("SW%1").arg(k + 1), first.button[size_t(k)], second.button[size_t(k)]);
    differ(QStringLiteral("independent lighting"), first.lighting, second.lighting);
    differ(QStringLiteral("indicator"), first.indicator, second.indicator);
    differ(QStringLiteral("backlight"), first.backlight, second.backlight);
    return differences;
}

} // namespace panel
