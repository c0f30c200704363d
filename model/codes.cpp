#include "model/codes.h"

namespace panel {

const std::array<ListRow, kModuleRowCount> &moduleRows()
{
    static const std::array<ListRow, kModuleRowCount> rows = {{
        {"N/A", kNaCode},
        {"A", 0}, {"B", 10}, {"C", 20}, {"D", 30}, {"E", 40}, {"F", 50}, {"G", 60}, {"H", 70},
        {"I", 80}, {"J", 90}, {"K", 100}, {"L", 110}, {"M", 120}, {"N", 130}, {"O", 140}, {"P", 150},
        {"BL/MR", kBlMrCode},
    }};
    return rows;
}

const std::array<ListRow, kChannelRowCount> &channelRows()
{
    static const std::array<ListRow, kChannelRowCount> rows = {{
        {"1", 0}, {"2", 1}, {"3", 2}, {"4", 3}, {"5", 4}, {"6", 5}, {"7", 6}, {"8", 7}, {"9", 8}, {"10", 9},
    }};
    return rows;
}

// The codes are not evenly spaced: 100 % is 10, not 8.
const std::array<ListRow, kIntensityRowCount> &intensityRows()
{
    static const std::array<ListRow, kIntensityRowCount> rows = {{
        {"100", 10}, {"90", 7}, {"80", 6}, {"70", 5}, {"60", 4}, {"50", 3}, {"40", 2}, {"30", 1},
    }};
    return rows;
}

void gather_switch_codes(const Selections &selections, std::array<ButtonCodes, kButtons> &button, qint16 &error_flag)
{
    for (int k = 0; k < kButtons; ++k) {
        const int p = selections[k].module;
        if (p == kModuleNaPosition || p == kModuleBlMrPosition) {
            button[k].w = moduleRows()[p].datum;
            continue;
        }
        const int q = selections[k].channel;
        if (p < 0 || p >= kModuleRowCount || q < 0 || q >= kChannelRowCount) {
            error_flag = 1;
            return;
        }
        button[k].w = qint16(moduleRows()[p].datum + channelRows()[q].datum);
    }
}

SwitchPositions decode_switch_code(qint16 A, int l_index)
{
    SwitchPositions decoded{1, l_index};
    if (A >= kNaCode) {
        decoded.h_index = kModuleNaPosition;
    } else if (A == kBlMrCode) {
        decoded.h_index = kModuleBlMrPosition;
    } else if (A > 9) {
        decoded.h_index = 1 + A / 10;
        decoded.l_index = A % 10;
    } else {
        // 0..9 is module "A"; a negative code gives a negative channel position, which no list takes.
        decoded.l_index = A;
    }
    return decoded;
}

int intensity_position(qint16 &code)
{
    if (code >= 1 && code <= 7)
        return 8 - code;
    code = kFullIntensityCode;
    return 0;
}

} // namespace panel
