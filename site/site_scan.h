#pragma once

#include "model/panel_config.h"

#include <QList>
#include <QString>
#include <optional>

namespace panel {

// One .pnl file of a site: its configuration as the window would write it after opening the file, or why
// the reader refused it.
struct SiteFile {
    QString file; // relative to the site's folder, with '/' between folders
    QString path;
    std::optional<NamedPanelConfig> named;
    QString refusal;
};

struct SiteScan {
    QString folder;
    QString error; // the folder does not exist, cannot be read, or holds no .pnl file
    QList<SiteFile> files; // in the order of their relative names
};

// Every .pnl file in the folder and its sub-folders (floors, wings), each read with the checks of an open.
// Other files are passed over.
SiteScan scanSite(const QString &folder);

} // namespace panel
