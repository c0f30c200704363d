#pragma once

#include "model/codes.h"

#include <QString>
#include <array>
#include <optional>

namespace panel {

struct EditorState;
struct NamedPanelConfig;

// What a panel's legend shows: its name and each button's designation, nothing for a button on "N/A".
struct LegendPanel {
    QString name;
    std::array<std::optional<QString>, kButtons> designation;
};

LegendPanel legendOf(const NamedPanelConfig &named);
// The configuration the window shows; a button with no module chosen yet keeps its designation.
LegendPanel legendOf(const EditorState &shown);

} // namespace panel
