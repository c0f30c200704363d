#include "ui/control_table.h"

#include <iterator>

namespace panel {

namespace {

using K = ControlKind;
using F = ControlFont;

constexpr QRect at(int left, int top, int width, int height) { return QRect(left, top, width, height); }

const ControlRow kControls[] = {
    {K::Picture, F::Window, "Image1", nullptr, nullptr, at(3120, 360, 4695, 5055), -1, false},
    {K::Command, F::Arial13Bold, "READ_CONFIG", "READ CONFIGURATION FROM SWITCH PANEL", "LEFT CLICK TO READ CONFIG IN SWITCH PANEL", at(8280, 600, 2535, 855), -1, false},
    {K::Command, F::Arial13Bold, "WRITE_CONFIG", "WRITE CONFIGURATION TO SWITCH PANEL", "LEFT CLICK TO SAVE CONFIG IN SWITCH PANEL", at(8280, 1920, 2535, 855), -1, false},
    {K::Command, F::Arial13Bold, "READ_FILE", "OPEN CONFIGURATION FILE", "LEFT CLICK TO OPEN CONFIG FILE", at(240, 600, 2415, 855), -1, false},
    {K::Command, F::Arial13Bold, "WRITE_FILE", "SAVE CONFIGURATION FILE", "LEFT CLICK TO SAVE CONFIG FILE", at(240, 1800, 2415, 855), -1, false},
    // Each button: module list 855 x 645, channel list 615 x 645, designation box 1455 x 285, caption 420 x 195.
    {K::ModuleList, F::Plain, "List1", nullptr, "SW1 MODULE ASSIGNMENT", at(3840, 1560, 855, 645), 0, false},
    {K::ChannelList, F::Plain, "List2", nullptr, "SW1 CHANNEL ASSIGNMENT", at(4680, 1560, 615, 645), 0, false},
    {K::Designation, F::Window, "Text3", "DESIGNATION ", "ENTER SW1 FUNCTION", at(3840, 1320, 1455, 285), 0, false},
    {K::ButtonCaption, F::Window, "Label2", "SW1", nullptr, at(3360, 1680, 420, 195), 0, false},
    {K::ModuleList, F::Plain, "List3", nullptr, "SW2 MODULE ASSIGNMENT", at(5640, 1560, 855, 645), 1, false},
    {K::ChannelList, F::Plain, "List4", nullptr, "SW2 CHANNEL ASSIGNMENT", at(6480, 1560, 615, 645), 1, false},
    {K::Designation, F::Window, "Text4", "DESIGNATION ", "ENTER SW2 FUNCTION", at(5640, 1320, 1455, 285), 1, false},
    {K::ButtonCaption, F::Window, "Label3", "SW2", nullptr, at(7200, 1680, 420, 195), 1, false},
    {K::ModuleList, F::Plain, "List5", nullptr, "SW3 MODULE ASSIGNMENT", at(3840, 2640, 855, 645), 2, false},
    {K::ChannelList, F::Plain, "List6", nullptr, "SW3 CHANNEL ASSIGNMENT", at(4680, 2640, 615, 645), 2, false},
    {K::Designation, F::Window, "Text5", "DESIGNATION ", "ENTER SW3 FUNCTION", at(3840, 2400, 1455, 285), 2, false},
    {K::ButtonCaption, F::Window, "Label4", "SW3", nullptr, at(3360, 2760, 420, 195), 2, false},
    {K::ModuleList, F::Plain, "List7", nullptr, "SW4 MODULE ASSIGNMENT", at(5640, 2640, 855, 645), 3, false},
    {K::ChannelList, F::Plain, "List8", nullptr, "SW4 CHANNEL ASSIGNMENT", at(6480, 2640, 615, 645), 3, false},
    {K::Designation, F::Window, "Text6", "DESIGNATION ", "ENTER SW4 FUNCTION", at(5640, 2400, 1455, 285), 3, false},
    {K::ButtonCaption, F::Window, "Label5", "SW4", nullptr, at(7200, 2760, 420, 195), 3, false},
    {K::ModuleList, F::Plain, "List9", nullptr, "SW5 MODULE ASSIGNMENT", at(3840, 3720, 855, 645), 4, false},
    {K::ChannelList, F::Plain, "List10", nullptr, "SW5 CHANNEL ASSIGNMENT", at(4680, 3720, 615, 645), 4, false},
    {K::Designation, F::Window, "Text7", "DESIGNATION ", "ENTER SW5 FUNCTION", at(3840, 3480, 1455, 285), 4, false},
    {K::ButtonCaption, F::Window, "Label8", "SW5", nullptr, at(3360, 3840, 420, 195), 4, false},
    {K::ModuleList, F::Plain, "List11", nullptr, "SW6 MODULE ASSIGNMENT", at(5640, 3720, 855, 645), 5, false},
    {K::ChannelList, F::Plain, "List12", nullptr, "SW6 CHANNEL ASSIGNMENT", at(6480, 3720, 615, 645), 5, false},
    {K::Designation, F::Window, "Text8", "DESIGNATION ", "ENTER SW6 FUNCTION", at(5640, 3480, 1455, 285), 5, false},
    {K::ButtonCaption, F::Window, "Label9", "SW6", nullptr, at(7200, 3840, 420, 195), 5, false},
    {K::Status, F::Arial11, "Text1", nullptr, nullptr, at(3840, 600, 3255, 615), -1, false},
    {K::NameBox, F::Plain, "Text2", nullptr, "ENTER IDENTITY FOR FILE NAME", at(4800, 4800, 1455, 285), -1, false},
    {K::CentredCaption, F::Plain, "Label6", "PANEL NAME", nullptr, at(4800, 4560, 1455, 255), -1, false},
    {K::Caption, F::Window, "Label14", "PROGRAMMING       HEADER           LOCATION", nullptr, at(840, 3600, 1455, 615), -1, false},
    {K::Line, F::Window, "Line1", nullptr, nullptr, at(2160, 3960, 1080, 0), -1, false},
    {K::Marker, F::Window, "Shape1", nullptr, nullptr, at(3240, 3480, 615, 855), -1, false},
    {K::Frame, F::Arial13Bold, "Frame1", "SPECIAL FEATURES:", nullptr, at(8280, 3120, 2535, 2295), -1, false},
    {K::CheckBox, F::Arial13Bold, "Check1", "INDEPENDENT LIGHTING", nullptr, at(0, 360, 2415, 495), -1, true},
    {K::IntensityList, F::Window, "List21", nullptr, nullptr, at(0, 960, 735, 450), -1, true},
    {K::Caption, F::Arial13Bold, "Label15", "INDICATOR INTENSITY (%)", nullptr, at(840, 960, 1455, 495), -1, true},
    {K::Caption, F::Arial13Bold, "Label16", "BACK-LIGHT INTENSITY (%)", nullptr, at(840, 1560, 1455, 495), -1, true},
    // The backlight list belongs to the window and lies over the frame beside its caption.
    {K::IntensityList, F::Window, "List22", nullptr, nullptr, at(8280, 4680, 735, 450), -1, false},
};

const char *const kFocusOrder[] = {
    "READ_CONFIG", "WRITE_CONFIG", "READ_FILE", "WRITE_FILE", "List2", "List4", "List8", "List10", "List12", "List6",
    "List1", "List11", "List9", "List7", "List5", "List3", "Text1", "Text2", "Text3", "Text4", "Text5", "Text6",
    "Text7", "Text8", "Check1", "List21", "List22",
};

} // namespace

const ControlRow *controlTable(int *count)
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
