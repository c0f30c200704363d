#include "model/panel_read.h"

#include "model/editor_model.h"

namespace panel {

void show_register(EditorModel &editor, int reg, std::optional<qint16> value)
{
    if (reg < kButtons) {
        if (value)
            editor.show_switch_code(reg, *value);
        editor.clear_designation(reg);
        return;
    }
    if (!value)
        return;
    switch (reg) {
    case kFeatureRegister:
        editor.show_independent_lighting(*value == 0 ? 0 : 1);
        break;
    case kIndicatorRegister:
        editor.show_indicator_code(*value);
        break;
    case kBacklightIntensityRegister:
        editor.show_backlight_code(*value);
        break;
    default:
        break;
    }
}

} // namespace panel
