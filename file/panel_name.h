#pragma once

#include <QString>

namespace panel {

// The panel name box takes at most this many characters.
inline constexpr int kPanelNameLimit = 12;

// Why a name cannot be a panel's name in a file the window would save, or nothing: it must not be
// empty, longer than the name box takes, or hold a character a panel file cannot store (a double
// quote, a line end, one outside Windows-1252).
QString panelNameProblem(const QString &name);

// The file name a save proposes for a panel: its name with ".pnl", each "/" and NUL made "-" so that the
// name stays one file in the folder chosen.
QString proposedFileName(const QString &panelName);

} // namespace panel
