#pragma once

#include "model/codes.h"

#include <QString>
#include <array>
#include <optional>

namespace panel {

constexpr int kConfigRegisters = 10; // registers 0 to 9

// A panel's configuration as its registers 0 to 9 hold it: what a panel write sends, what a panel
// read brings back and what a configuration file stores.
struct PanelConfig {
    std::array<qint16, kButtons> code{kNaCode, kNaCode, kNaCode, kNaCode, kNaCode, kNaCode};
    qint16 feature = 0;
    qint16 indicator = kFullIntensityCode;
    qint16 backlight = kFullIntensityCode;

    // The values of registers 0 to 9, register 6 being the fixed backlighting code.
    std::array<qint16, kConfigRegisters> registers() const;

    friend bool operator==(const PanelConfig &a, const PanelConfig &b)
    {
        return a.code == b.code && a.feature == b.feature && a.indicator == b.indicator && a.backlight == b.backlight;
    }
    friend bool operator!=(const PanelConfig &a, const PanelConfig &b) { return !(a == b); }
};

// Registers 0 to 9 as a panel was seen to hold them; nothing for a register not seen.
using SeenRegisters = std::array<std::optional<qint16>, kConfigRegisters>;
// The configuration registers 0 to 5 and 7 to 9 hold, as read; nothing when one of them was not seen.
std::optional<PanelConfig> configSeen(const SeenRegisters &registers);

// A configuration with the names a file keeps beside it; the panel itself holds no names.
struct NamedPanelConfig {
    PanelConfig config;
    QString panel;
    std::array<QString, kButtons> designation;
};

// How a person names a button's code ("B/4", "BL/MR", "N/A") and an intensity code ("60 %").
QString describeSwitchCode(qint16 code);
QString describeIntensity(qint16 code);

} // namespace panel
