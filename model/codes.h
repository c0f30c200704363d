#pragma once

#include <QString>
#include <QtGlobal>
#include <array>

// The list tables of the window, the meaning of the switch and intensity codes, and the conversions
// between list positions and codes. Nothing here knows about widgets.
namespace panel {

constexpr int kButtons = 6;

struct ListRow {
    const char *text;
    qint16 datum;
};

constexpr int kModuleRowCount = 18;
constexpr int kChannelRowCount = 10;
constexpr int kIntensityRowCount = 8;

constexpr int kModuleNaPosition = 0;    // "N/A"
constexpr int kModuleBlMrPosition = 17; // "BL/MR"

constexpr qint16 kNaCode = 160;
constexpr qint16 kBlMrCode = 159;
constexpr qint16 kBacklightCode = 159; // BL, written to register 6 on every write
constexpr qint16 kFullIntensityCode = 10;
constexpr qint16 kPanelIdentity = 73;

constexpr int kIdentityRegister = 63;
constexpr int kBacklightRegister = 6;
constexpr int kFeatureRegister = 7;
constexpr int kIndicatorRegister = 8;
constexpr int kBacklightIntensityRegister = 9;

const std::array<ListRow, kModuleRowCount> &moduleRows();
const std::array<ListRow, kChannelRowCount> &channelRows();
const std::array<ListRow, kIntensityRowCount> &intensityRows();

// The text a designation box starts with (one trailing blank).
inline const QString kDesignationStart = QStringLiteral("DESIGNATION ");

// One button's codes as the rules keep them: switch code (s), module datum (m), channel datum (c), and
// the code last gathered for writing (w).
struct ButtonCodes {
    qint16 s = 0;
    qint16 m = 0;
    qint16 c = 0;
    qint16 w = 0;
};

// The selected positions of one button's module and channel lists (-1 when none).
struct ButtonSelection {
    int module = -1;
    int channel = -1;
};
using Selections = std::array<ButtonSelection, kButtons>;

// Sets button[k].w for SW1..SW6 in order. At the first incomplete button (a letter without a channel,
// or no module at all) it sets error_flag to 1 and stops: that button and the later ones keep their
// previous gathered codes. Callers set error_flag to 0 first.
void gather_switch_codes(const Selections &selections, std::array<ButtonCodes, kButtons> &button, qint16 &error_flag);

// The module (h_index) and channel (l_index) positions that show a switch code A. For "N/A" and
// "BL/MR" no channel is chosen: l_index is the one given, the previous decode's.
struct SwitchPositions {
    int h_index = 1;
    int l_index = 0;
};
SwitchPositions decode_switch_code(qint16 A, int l_index);

// The list position that shows an intensity code. Codes outside 1..7 are shown as "100": the code is
// replaced by 10 and position 0 is returned.
int intensity_position(qint16 &code);

} // namespace panel
