#include "site/site_scan.h"

#include "file/config_file_ops.h"
#include "model/collecting_view.h"
#include "model/editor_model.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <algorithm>

namespace panel {

namespace {

// What the window would write after opening the file (its rules may drop the independent lighting or
// lower the backlight): what a write of the file sends and what the history keeps of it.
NamedPanelConfig asWritten(const PanelFileRecord &record)
{
    CollectingView unseen;
    EditorModel opened(unseen);
    opened.runStartUpSteps();
    opened.show_named_config(named_config_of(record));
    return opened.gather_named_config().value_or(named_config_of(record));
}

} // namespace

SiteScan scanSite(const QString &folder)
{
    SiteScan scan;
    scan.folder = folder;
    const QFileInfo info(folder);
    if (!info.exists()) {
        scan.error = QStringLiteral("%1 does not exist").arg(folder);
        return scan;
    }
    if (!info.isDir()) {
        scan.error = QStringLiteral("%1 is not a folder").arg(folder);
        return scan;
    }
    const QDir root(folder);
    if (!info.isReadable() || !info.isExecutable() || !root.isReadable()) {
        scan.error = QStringLiteral("%1 cannot be read").arg(folder);
        return scan;
    }
    QDirIterator found(folder, {QStringLiteral("*.pnl")}, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot,
                       QDirIterator::Subdirectories);
    while (found.hasNext()) {
        const QString path = found.next();
        SiteFile file;
        file.path = path;
        file.file = root.relativeFilePath(path);
        const ConfigFileRead read = read_config_file(path);
        if (read.record)
            file.named = asWritten(*read.record);
        else
            file.refusal = read.reason;
        scan.files << file;
    }
    if (scan.files.isEmpty())
        scan.error = QStringLiteral("%1 holds no .pnl file").arg(folder);
    std::sort(scan.files.begin(), scan.files.end(),
              [](const SiteFile &a, const SiteFile &b) { return a.file < b.file; });
    return scan;
}

} // namespace panel
