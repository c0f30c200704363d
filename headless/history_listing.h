#pragma once

#include <QString>

namespace panel {

class History;
class TextOutput;

// What --history prints: the journal newest first, one line an operation with the texts it holds shown
// as a terminal may show them, or with json its JSON lines; only those of one device when a port is
// given, under whichever of its names it was written. How many lines could not be read is a warning.
// Returns the exit code.
int listHistory(const History &history, const QString &port, bool json, TextOutput &out, TextOutput &err);

} // namespace panel
