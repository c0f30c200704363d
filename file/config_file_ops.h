#pragma once

#include <QString>

namespace panel {

class ConfigFileWindow;

// Saves what the window shows as a .pnl file chosen in the window's file dialog.
void save_config_file(ConfigFileWindow &window);
// Opens a .pnl file into the window. All or nothing: a refused file changes no control and no variable.
void open_config_file(ConfigFileWindow &window);
// The same open for a file already chosen (a file given on the command line).
void open_config_file_named(ConfigFileWindow &window, const QString &path);

// The dialog filter "description|pattern" as Qt spells a name filter.
QString qtNameFilter(const QString &filter);

} // namespace panel
