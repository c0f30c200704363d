#pragma once

#include <QString>
#include <QStringList>

namespace panel {

// The configuration files last opened or saved, newest first, remembered in the settings.
inline constexpr int kRecentFileLimit = 8;

QStringList recentFiles();
// The file goes to the top of the list (once), the oldest beyond the limit off it.
void rememberRecentFile(const QString &path);
void forgetRecentFile(const QString &path);

} // namespace panel
