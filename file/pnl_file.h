#pragma once

#include "file/atomic_file.h"
#include "file/pnl_codec.h"

#include <QString>

namespace panel {

// The most bytes read from a panel file; a valid line is far shorter.
inline constexpr qint64 kPanelFileReadCap = qint64(64) * 1024;

// Refuses anything but a regular file, reads at most kPanelFileReadCap bytes and parses them.
PanelFileParse loadPanelFile(const QString &path);

// Writes the file as a whole or not at all (see saveAtomically).
SaveOutcome savePanelFile(const QString &path, const PanelFileRecord &record,
                          ExistingFile existing = ExistingFile::Replace, mode_t newMode = 0666);

} // namespace panel
