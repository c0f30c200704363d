#include "model/app_settings.h"

namespace panel {

std::unique_ptr<QSettings> openSettings()
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("panelconfig"),
                                       QStringLiteral("panelconfig"));
}

} // namespace panel
