#pragma once

#include "model/codes.h"
#include "model/editor_state.h"
#include "model/panel_config.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace panel {

// The nine settings of a configuration as a person names them, for telling two configurations apart.
struct ConfigWords {
    std::array<QString, kButtons> button; // "B/4", "BL/MR", "N/A"
    QString lighting;                     // "on", "off"
    QString indicator;                    // "60 %"
    QString backlight;
};

ConfigWords wordsOf(const PanelConfig &config);
// What the editor would write, in words; a button not chosen whole says what it lacks.
ConfigWords wordsShown(const EditorState &state);

// What the editor would write, as gather_switch_codes finds it, without changing the editor's codes:
// nothing when a button is incomplete.
std::optional<PanelConfig> configShown(const EditorState &state);

// Each setting the two say differently, in the order of the registers: "SW2: window B/4, panel B/3".
QStringList describeDifferences(const ConfigWords &first, const QString &firstName, const ConfigWords &second,
                                const QString &secondName);

} // namespace panel
