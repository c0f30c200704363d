#pragma once

#include <QDateTime>
#include <QString>

namespace panel {

class History;
class TextOutput;

// What --site prints: one line per .pnl file of the folder and its sub-folders (file, panel name, state,
// and when and on which port the state was seen), or with json one JSON object each, then the summary.
// A folder that does not exist, cannot be read or holds no .pnl file is exit code 4; a history that
// cannot be read leaves every state unknown, with a warning. Operations before since (when valid) are not
// looked at. Returns the exit code.
int listSite(const QString &folder, const History &history, bool json, const QDateTime &since, TextOutput &out,
             TextOutput &err);

} // namespace panel
