#pragma once

#include "model/codes.h"

#include <QString>
#include <array>

namespace panel {

// Everything the editor holds at one moment: what it shows (the fourteen positions, the box, the
// texts, which lists and boxes are shown) and the codes its rules keep in step with that.
struct EditorState {
    std::array<int, kButtons> module{-1, -1, -1, -1, -1, -1};
    std::array<int, kButtons> channel{-1, -1, -1, -1, -1, -1};
    std::array<bool, kButtons> channelShown{true, true, true, true, true, true};
    std::array<bool, kButtons> designationShown{true, true, true, true, true, true};
    std::array<QString, kButtons> designation;
    QString panelName;
    int indicatorPosition = -1;
    int backlightPosition = -1;
    int check = 1;

    std::array<ButtonCodes, kButtons> button{};
    qint16 indpercent = 0;
    qint16 blpercent = 0;
    qint16 feature = 0;
    int l_index = 0; // the channel position of the last decode, kept for "N/A" and "BL/MR"

    // The configuration as a person sees it: the choices and the texts, not how they were reached.
    bool showsTheSameAs(const EditorState &other) const
    {
        return module == other.module && channel == other.channel && designation == other.designation
            && panelName == other.panelName && indicatorPosition == other.indicatorPosition
            && backlightPosition == other.backlightPosition && check == other.check;
    }
    bool operator==(const EditorState &other) const
    {
        const auto sameCodes = [](const ButtonCodes &a, const ButtonCodes &b) {
            return a.s == b.s && a.m == b.m && a.c == b.c && a.w == b.w;
        };
        for (int k = 0; k < kButtons; ++k) {
            if (!sameCodes(button[k], other.button[k]))
                return false;
        }
        return showsTheSameAs(other) && channelShown == other.channelShown
            && designationShown == other.designationShown && indpercent == other.indpercent
            && blpercent == other.blpercent && feature == other.feature && l_index == other.l_index;
    }
    bool operator!=(const EditorState &other) const { return !(*this == other); }
};

} // namespace panel
