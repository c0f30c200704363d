#pragma once

#include <QString>

namespace panel {

// Text from a file or a panel as a terminal may show it: every control character (C0, DEL and C1) is
// written as an escape such as \x1b, so that nothing it holds can move the cursor, set a title or ring.
QString shownOnTerminal(const QString &text);

} // namespace panel
