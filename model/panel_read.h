#pragma once

#include "model/codes.h"

#include <QtGlobal>
#include <array>
#include <optional>

namespace panel {

class EditorModel;

// The registers a panel read reads, in this order: the six buttons, then the lighting. Register 6 holds
// the fixed backlighting code and is never read.
constexpr std::array<int, 9> kReadRegisters{0, 1, 2, 3, 4, 5, kFeatureRegister, kIndicatorRegister,
                                            kBacklightIntensityRegister};

// Shows one register's value in the editor as a panel read does. A value that did not come whole
// reaches no list; a button's designation is cleared either way, the panel holding no names.
void show_register(EditorModel &editor, int reg, std::optional<qint16> value);

} // namespace panel
