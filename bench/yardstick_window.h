#pragma once

#include "ui/control_table.h"

#include <QSize>

// The size of panelconfig's window, which the yardstick windows take so that they paint as many pixels
// as it does.
inline constexpr QSize kPanelWindowSize(panel::kWindowWidth, panel::kWindowHeight);
