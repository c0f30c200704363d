#include "ui/control_table.h"

#include <iterator>

namespace panel {

namespace {

using K = ControlKind;
using F = ControlFont;

constexpr QRect at(int left, int top, int width, int height) { return QRect(left, top, width, height); }

const ControlSpec kControls[] = {
    {K::Picture, "Image1", nullptr, at(3120, 360, 4695, 5055), F::Window, nullptr, false, -1},
    {K::Command, "READ_CONFIG", "READ CONFIGURATION FROM SWITCH PANEL", at(8280, 600, 2535, 855), F::Arial13Bold,
     "LEFT CLICK TO READ CONFIG IN SWITCH PANEL", false, -1},
    {K::Command, "WRITE_CONFIG", "WRITE CONFIGURATION TO SWITCH PANEL", at(8280, 1920, 2535, 855), F::Arial13Bold,
     "LEFT CLICK TO SAVE CONFIG IN SWITCH PANEL", false, -1},
    {K::Command, "READ_FILE", "OPEN CONFIGURATION FILE", at(240, 600, 2415, 855), F::Arial13Bold,
     "LEFT CLICK TO OPEN CONFIG FILE", false, -1},
    {K::Command, "WRITE_FILE", "SAVE CONFIGURATION FILE", at(240, 1800, 2415, 855), F::Arial13Bold,
     "LEFT CLICK TO SAVE CONFIG FILE", false, -1},
    // Each button: module list 855 x 645, channel list 615 x 645, designation box 1455 x 285, caption 420 x 195.
    {K::ModuleList, "List1", nullptr, at(3840, 1560, 855, 645), F::Plain, "SW1 MODULE ASSIGNMENT", false, 0},
    {K::ChannelList, "List2", nullptr, at(4680, 1560, 615, 645), F::Plain, "SW1 CHANNEL ASSIGNMENT", false, 0},
    {K::Designation, "Text3", "DESIGNATION ", at(3840, 1320, 1455, 285), F::Window, "ENTER SW1 FUNCTION", false, 0},
    {K::ButtonCaption, "Label2", "SW1", at(3360, 1680, 420, 195), F::Window, nullptr, false, 0},
    {K::ModuleList, "List3", nullptr, at(5640, 1560, 855, 645), F::Plain, "SW2 MODULE ASSIGNMENT", false, 1},
    {K::ChannelList, "List4", nullptr, at(6480, 1560, 615, 645), F::Plain, "SW2 CHANNEL ASSIGNMENT", false, 1},
    {K::Designation, "Text4", "DESIGNATION ", at(5640, 1320, 1455, 285), F::Window, "ENTER SW2 FUNCTION", false, 1},
    {K::ButtonCaption, "Label3", "SW2", at(7200, 1680, 420, 195), F::Window, nullptr, false, 1},
    {K::ModuleList, "List5", nullptr, at(3840, 2640, 855, 645), F::Plain, "SW3 MODULE ASSIGNMENT", false, 2},
    {K::ChannelList, "List6", nullptr, at(4680, 2640, 615, 645), F::Plain, "SW3 CHANNEL ASSIGNMENT", false, 2},
    {K::Designation, "Text5", "DESIGNATION ", at(3840, 2400, 1455, 285), F::Window, "ENTER SW3 FUNCTION", false, 2},
    {K::ButtonCaption, "Label4", "SW3", at(3360, 2760, 420, 195), F::Window, nullptr, false, 2},
    {K::ModuleList, "List7", nullptr, at(5640, 2640, 855, 645), F::Plain, "SW4 MODULE ASSIGNMENT", false, 3},
    {K::ChannelList, "List8", nullptr, at(6480, 2640, 615, 645), F::Plain, "SW4 CHANNEL ASSIGNMENT", false, 3},
    {K::Designation, "Text6", "DESIGNATION ", at(5640, 2400, 1455, 285), F::Window, "ENTER SW4 FUNCTION", false, 3},
    {K::ButtonCaption, "Label5", "SW4", at(7200, 2760, 420, 195), F::Window, nullptr, false, 3},
    {K::ModuleList, "List9", nullptr, at(3840, 3720, 855, 645), F::Plain, "SW5 MODULE ASSIGNMENT", false, 4},
    {K::ChannelList, "List10", nullptr, at(4680, 3720, 615, 645), F::Plain, "SW5 CHANNEL ASSIGNMENT", false, 4},
    {K::Designation, "Text7", "DESIGNATION ", at(3840, 3480, 1455, 285), F::Window, "ENTER SW5 FUNCTION", false, 4},
    {K::ButtonCaption, "Label8", "SW5", at(3360, 3840, 420, 195), F::Window, nullptr, false, 4},
    {K::ModuleList, "List11", nullptr, at(5640, 3720, 855, 645), F::Plain, "SW6 MODULE ASSIGNMENT", false, 5},
    {K::ChannelList, "List12", nullptr, at(6480, 3720, 615, 645), F::Plain, "SW6 CHANNEL ASSIGNMENT", false, 5},
    {K::Designation, "Text8", "DESIGNATION ", at(5640, 3480, 1455, 285), F::Window, "ENTER SW6 FUNCTION", false, 5},
    {K::ButtonCaption, "Label9", "SW6", at(7200, 3840, 420, 195), F::Window, nullptr, false, 5},
    {K::Status, "Text1", nullptr, at(3840, 600, 3255, 615), F::Arial11, nullptr, false, -1},
    {K::NameBox, "Text2", nullptr, at(4800, 4800, 1455, 285), F::Plain, "ENTER IDENTITY FOR FILE NAME", false, -1},
    {K::CentredCaption, "Label6", "PANEL NAME", at(4800, 4560, 1455, 255), F::Plain, nullptr, false, -1},
    {K::Caption, "Label14", "PROGRAMMING       HEADER           LOCATION", at(840, 3600, 1455, 615), F::Window,
     nullptr, false, -1},
    {K::Line, "Line1", nullptr, at(2160, 3960, 1080, 0), F::Window, nullptr, false, -1},
    {K::Marker, "Shape1", nullptr, at(3240, 3480, 615, 855), F::Window, nullptr, false, -1},
    {K::Frame, "Frame1", "SPECIAL FEATURES:", at(8280, 3120, 2535, 2295), F::Arial13Bold, nullptr, false, -1},
    {K::CheckBox, "Check1", "INDEPENDENT LIGHTING", at(0, 360, 2415, 495), F::Arial13Bold, nullptr, true, -1},
    {K::IntensityList, "List21", nullptr, at(0, 960, 735, 450), F::Window, nullptr, true, -1},
    {K::Caption, "Label15", "INDICATOR INTENSITY (%)", at(840, 960, 1455, 495), F::Arial13Bold, nullptr, true, -1},
    {K::Caption, "Label16", "BACK-LIGHT INTENSITY (%)", at(840, 1560, 1455, 495), F::Arial13Bold, nullptr, true, -1},
    // The backlight list belongs to the window and lies over the frame beside its caption.
    {K::IntensityList, "List22", nullptr, at(8280, 4680, 735, 450), F::Window, nullptr, false, -1},
};

const char *const kFocusOrder[] = {
    "READ_CONFIG", "WRITE_CONFIG", "READ_FILE", "WRITE_FILE", "List2", "List4", "List8", "List10", "List12", "List6",
    "List1", "List11", "List9", "List7", "List5", "List3", "Text1", "Text2", "Text3", "Text4", "Text5", "Text6",
    "Text7", "Text8", "Check1", "List21", "List22",
};

} // namespace

const ControlSpec *controlTable(int *count)
{
    *count = int(std::size(kControls));
    return kControls;
}

const char *const *focusOrder(int *count)
{
    *count = int(std::size(kFocusOrder));
    return kFocusOrder;
}

} // namespace panel
