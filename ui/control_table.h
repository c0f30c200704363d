#pragma once

#include <QRect>

class QWidget;

namespace panel {

struct Form1Controls;

// Every control of the window as the layout has it: its kind, designer name, text, place in twips,
// font and tooltip. The window is built by going down this table.
enum class ControlKind {
    Picture,       // the face plate
    Command,       // a command button
    ModuleList,    // a button's module list
    ChannelList,   // a button's channel list
    IntensityList, // List21, List22
    Designation,   // a button's designation box
    NameBox,       // the panel name
    Status,        // the status box
    Caption,       // a caption
    CentredCaption,
    ButtonCaption, // "SW1" to "SW6" on the picture
    Frame,         // the lighting frame
    CheckBox,      // independent lighting
    Line,          // the line from the caption to the marker
    Marker,        // the programming header
};

enum class ControlFont { Window, Plain, Arial13Bold, Arial11 };

// Where the window keeps a control it works with, in Form1Controls.
using KeepControl = void (*)(Form1Controls &controls, QWidget *control, int button);

struct ControlRow {
    ControlKind kind;
    ControlFont font;
    const char *name;
    const char *text;
    const char *tooltip;
    const char *accessibleName; // what a screen reader says; a command button says its caption
    QRect place; // twips, in the window, or in the frame for a control inside it
    int button;  // the button a per-button control belongs to, 0 to 5; -1 for the others
    int tab;     // its place in the order Tab moves through the controls; -1 for one that takes no focus
    bool inFrame;
    KeepControl keep; // nothing for a control only drawn
};

// In the order the controls are made, so that each lies over those made before it: the picture first.
const ControlRow *controlTable(int *count);

// The window's client area, in pixels (11040 x 5745 twips).
inline constexpr int kWindowWidth = 736;
inline constexpr int kWindowHeight = 383;

} // namespace panel
