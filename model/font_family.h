#pragma once

#include <QString>

namespace panel {

// The panel's original face where it is installed, else the first metric-compatible stand-in that is
// (Liberation Sans, then DejaVu Sans); the original name when none is.
QString installedFamily(const QString &original);

// The family of the window's font (MS Sans Serif or its stand-in), looked up once.
const QString &windowFamily();

} // namespace panel
