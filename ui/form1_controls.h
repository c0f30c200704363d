#pragma once

#include "model/codes.h"

#include <array>

class QGroupBox;
class QLabel;
class QTimer;

namespace panel {

class CaptionButton;
class Drawing;
class FacePlate;
class RuleCheckBox;
class SelectionList;
class StatusBox;
class TextBox;

// The window's controls by their designer names, for the parts of the window that show and run things.
struct Form1Controls {
    struct Button {
        SelectionList *module = nullptr;
        SelectionList *channel = nullptr;
        TextBox *desig = nullptr;
        QLabel *caption = nullptr;
    };

    FacePlate *Image1 = nullptr;
    std::array<Button, kButtons> button;
    CaptionButton *READ_CONFIG = nullptr;
    CaptionButton *WRITE_CONFIG = nullptr;
    CaptionButton *READ_FILE = nullptr;
    CaptionButton *WRITE_FILE = nullptr;
    StatusBox *Text1 = nullptr;
    TextBox *Text2 = nullptr;
    QGroupBox *Frame1 = nullptr;
    RuleCheckBox *Check1 = nullptr;
    SelectionList *List21 = nullptr;
    SelectionList *List22 = nullptr;
    QTimer *Timer1 = nullptr;
};

} // namespace panel
