#pragma once

#include "model/codes.h"

#include <QString>

// What the selection rules decide, and what they say when they refuse a setting. The window's rules
// and the command line's stand-in for the window both decide with these.
namespace panel {

// Independent lighting needs a button on "BL/MR".
bool lightingAllowed(const std::array<int, kButtons> &modulePositions);
// The back-light may be as bright as the indicator, not brighter.
inline bool backlightAboveIndicator(qint16 indicator, qint16 backlight) { return indicator < backlight; }

QString indicatorMessage();
QString backlightMessage();
QString lightingMessage();
inline const QString kLightingTitle = QStringLiteral("INDEPENDENT LIGHTING SWITCH ASSIGNMENT");

} // namespace panel
