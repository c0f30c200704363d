#include "ui/control_table.h"

#include "ui/caption_button.h"
#include "ui/face_plate.h"
#include "ui/form1_controls.h"
#include "ui/rule_check_box.h"
#include "ui/selection_list.h"
#include "ui/status_box.h"
#include "ui/text_box.h"

#include <QGroupBox>
#include <QLabel>
#include <iterator>
#include <type_traits>

namespace panel {

namespace {

using K = ControlKind;
using F = ControlFont;

using C = Form1Controls;

constexpr QRect at(int left, int top, int width, int height) { return QRect(left, top, width, height); }

// The control as the kind of widget its member holds. A row whose kind makes another widget is a fault
// of this table, caught by the first start.
template <typename Control>
Control *as(QWidget *control, const char *name)
{
    auto *typed = dynamic_cast<Control *>(control);
    if (!typed)
        qFatal("The control table makes %s as another kind of widget than Form1Controls holds", name);
    return typed;
}

template <auto Member>
void keep(Form1Controls &controls, QWidget *control, int)
{
    auto &slot = controls.*Member;
    slot = as<std::remove_pointer_t<std::remove_reference_t<decltype(slot)>>>(control, control->objectName().toLatin1().constData());
}

template <auto Member>
void keepOfButton(Form1Controls &controls, QWidget *control, int button)
{
    auto &slot = controls.button[size_t(button)].*Member;
    slot = as<std::remove_pointer_t<std::remove_reference_t<decltype(slot)>>>(control, control->objectName().toLatin1().constData());
}

const ControlRow kControls[] = {
    {K::Picture, F::Window, "Image1", nullptr, nullptr, "Switch panel face plate", at(3120, 360, 4695, 5055), -1, -1, false, keep<&C::Image1>},
    {K::Command, F::Arial13Bold, "READ_CONFIG", "READ CONFIGURATION FROM SWITCH PANEL", "LEFT CLICK TO READ CONFIG IN SWITCH PANEL", nullptr, at(8280, 600, 2535, 855), -1, 0, false, keep<&C::READ_CONFIG>},
    {K::Command, F::Arial13Bold, "WRITE_CONFIG", "WRITE CONFIGURATION TO SWITCH PANEL", "LEFT CLICK TO SAVE CONFIG IN SWITCH PANEL", nullptr, at(8280, 1920, 2535, 855), -1, 1, false, keep<&C::WRITE_CONFIG>},
    {K::Command, F::Arial13Bold, "READ_FILE", "OPEN CONFIGURATION FILE", "LEFT CLICK TO OPEN CONFIG FILE", nullptr, at(240, 600, 2415, 855), -1, 2, false, keep<&C::READ_FILE>},
    {K::Command, F::Arial13Bold, "WRITE_FILE", "SAVE CONFIGURATION FILE", "LEFT CLICK TO SAVE CONFIG FILE", nullptr, at(240, 1800, 2415, 855), -1, 3, false, keep<&C::WRITE_FILE>},
    // Each button: module list 855 x 645, channel list 615 x 645, designation box 1455 x 285, caption 420 x 195.
    {K::ModuleList, F::Plain, "List1", nullptr, "SW1 MODULE ASSIGNMENT", "SW1 module", at(3840, 1560, 855, 645), 0, 10, false, keepOfButton<&C::Button::module>},
    {K::ChannelList, F::Plain, "List2", nullptr, "SW1 CHANNEL ASSIGNMENT", "SW1 channel", at(4680, 1560, 615, 645), 0, 4, false, keepOfButton<&C::Button::channel>},
    {K::Designation, F::Window, "Text3", "DESIGNATION ", "ENTER SW1 FUNCTION", "SW1 designation", at(3840, 1320, 1455, 285), 0, 25, false, keepOfButton<&C::Button::desig>},
    {K::ButtonCaption, F::Window, "Label2", "SW1", nullptr, nullptr, at(3360, 1680, 420, 195), 0, -1, false, keepOfButton<&C::Button::caption>},
    {K::ModuleList, F::Plain, "List3", nullptr, "SW2 MODULE ASSIGNMENT", "SW2 module", at(5640, 1560, 855, 645), 1, 15, false, keepOfButton<&C::Button::module>},
    {K::ChannelList, F::Plain, "List4", nullptr, "SW2 CHANNEL ASSIGNMENT", "SW2 channel", at(6480, 1560, 615, 645), 1, 5, false, keepOfButton<&C::Button::channel>},
    {K::Designation, F::Window, "Text4", "DESIGNATION ", "ENTER SW2 FUNCTION", "SW2 designation", at(5640, 1320, 1455, 285), 1, 26, false, keepOfButton<&C::Button::desig>},
    {K::ButtonCaption, F::Window, "Label3", "SW2", nullptr, nullptr, at(7200, 1680, 420, 195), 1, -1, false, keepOfButton<&C::Button::caption>},
    {K::ModuleList, F::Plain, "List5", nullptr, "SW3 MODULE ASSIGNMENT", "SW3 module", at(3840, 2640, 855, 645), 2, 14, false, keepOfButton<&C::Button::module>},
    {K::ChannelList, F::Plain, "List6", nullptr, "SW3 CHANNEL ASSIGNMENT", "SW3 channel", at(4680, 2640, 615, 645), 2, 9, false, keepOfButton<&C::Button::channel>},
    {K::Designation, F::Window, "Text5", "DESIGNATION ", "ENTER SW3 FUNCTION", "SW3 designation", at(3840, 2400, 1455, 285), 2, 27, false, keepOfButton<&C::Button::desig>},
    {K::ButtonCaption, F::Window, "Label4", "SW3", nullptr, nullptr, at(3360, 2760, 420, 195), 2, -1, false, keepOfButton<&C::Button::caption>},
    {K::ModuleList, F::Plain, "List7", nullptr, "SW4 MODULE ASSIGNMENT", "SW4 module", at(5640, 2640, 855, 645), 3, 13, false, keepOfButton<&C::Button::module>},
    {K::ChannelList, F::Plain, "List8", nullptr, "SW4 CHANNEL ASSIGNMENT", "SW4 channel", at(6480, 2640, 615, 645), 3, 6, false, keepOfButton<&C::Button::channel>},
    {K::Designation, F::Window, "Text6", "DESIGNATION ", "ENTER SW4 FUNCTION", "SW4 designation", at(5640, 2400, 1455, 285), 3, 28, false, keepOfButton<&C::Button::desig>},
    {K::ButtonCaption, F::Window, "Label5", "SW4", nullptr, nullptr, at(7200, 2760, 420, 195), 3, -1, false, keepOfButton<&C::Button::caption>},
    {K::ModuleList, F::Plain, "List9", nullptr, "SW5 MODULE ASSIGNMENT", "SW5 module", at(3840, 3720, 855, 645), 4, 12, false, keepOfButton<&C::Button::module>},
    {K::ChannelList, F::Plain, "List10", nullptr, "SW5 CHANNEL ASSIGNMENT", "SW5 channel", at(4680, 3720, 615, 645), 4, 7, false, keepOfButton<&C::Button::channel>},
    {K::Designation, F::Window, "Text7", "DESIGNATION ", "ENTER SW5 FUNCTION", "SW5 designation", at(3840, 3480, 1455, 285), 4, 29, false, keepOfButton<&C::Button::desig>},
    {K::ButtonCaption, F::Window, "Label8", "SW5", nullptr, nullptr, at(3360, 3840, 420, 195), 4, -1, false, keepOfButton<&C::Button::caption>},
    {K::ModuleList, F::Plain, "List11", nullptr, "SW6 MODULE ASSIGNMENT", "SW6 module", at(5640, 3720, 855, 645), 5, 11, false, keepOfButton<&C::Button::module>},
    {K::ChannelList, F::Plain, "List12", nullptr, "SW6 CHANNEL ASSIGNMENT", "SW6 channel", at(6480, 3720, 615, 645), 5, 8, false, keepOfButton<&C::Button::channel>},
    {K::Designation, F::Window, "Text8", "DESIGNATION ", "ENTER SW6 FUNCTION", "SW6 designation", at(5640, 3480, 1455, 285), 5, 30, false, keepOfButton<&C::Button::desig>},
    {K::ButtonCaption, F::Window, "Label9", "SW6", nullptr, nullptr, at(7200, 3840, 420, 195), 5, -1, false, keepOfButton<&C::Button::caption>},
    {K::Status, F::Arial11, "Text1", nullptr, nullptr, "Status", at(3840, 600, 3255, 615), -1, 16, false, keep<&C::Text1>},
    {K::NameBox, F::Plain, "Text2", nullptr, "ENTER IDENTITY FOR FILE NAME", "Panel name", at(4800, 4800, 1455, 285), -1, 17, false, keep<&C::Text2>},
    {K::CentredCaption, F::Plain, "Label6", "PANEL NAME", nullptr, nullptr, at(4800, 4560, 1455, 255), -1, -1, false, nullptr},
    {K::Caption, F::Window, "Label14", "PROGRAMMING       HEADER           LOCATION", nullptr, nullptr, at(840, 3600, 1455, 615), -1, -1, false, nullptr},
    {K::Line, F::Window, "Line1", nullptr, nullptr, nullptr, at(2160, 3960, 1080, 0), -1, -1, false, nullptr},
    {K::Marker, F::Window, "Shape1", nullptr, nullptr, nullptr, at(3240, 3480, 615, 855), -1, -1, false, nullptr},
    {K::Frame, F::Arial13Bold, "Frame1", "SPECIAL FEATURES:", nullptr, "Special features", at(8280, 3120, 2535, 2295), -1, -1, false, keep<&C::Frame1>},
    {K::CheckBox, F::Arial13Bold, "Check1", "INDEPENDENT LIGHTING", nullptr, "Independent lighting", at(0, 360, 2415, 495), -1, 33, true, keep<&C::Check1>},
    {K::IntensityList, F::Window, "List21", nullptr, nullptr, "Indicator intensity (%)", at(0, 960, 735, 450), -1, 35, true, keep<&C::List21>},
    {K::Caption, F::Arial13Bold, "Label15", "INDICATOR INTENSITY (%)", nullptr, nullptr, at(840, 960, 1455, 495), -1, -1, true, nullptr},
    {K::Caption, F::Arial13Bold, "Label16", "BACK-LIGHT INTENSITY (%)", nullptr, nullptr, at(840, 1560, 1455, 495), -1, -1, true, nullptr},
    // The backlight list belongs to the window and lies over the frame beside its caption.
    {K::IntensityList, F::Window, "List22", nullptr, nullptr, "Back-light intensity (%)", at(8280, 4680, 735, 450), -1, 36, false, keep<&C::List22>},
};

} // namespace

const ControlRow *controlTable(int *count)
{
    *count = int(std::size(kControls));
    return kControls;
}

} // namespace panel
