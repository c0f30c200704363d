#pragma once

#include <QSettings>
#include <memory>

namespace panel {

// The program's settings, ~/.config/panelconfig/panelconfig.conf: the port chosen in the window and the
// history's two choices.
std::unique_ptr<QSettings> openSettings();

} // namespace panel
