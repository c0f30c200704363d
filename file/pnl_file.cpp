#include "file/pnl_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace panel {

PanelFileParse loadPanelFile(const QString &path)
{
    // Checked before opening: opening a FIFO would block, and a device may never end.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return {std::nullopt, QStringLiteral("%1 is not a regular file.").arg(QDir::toNativeSeparators(path))};

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {std::nullopt, file.errorString()};
    const QByteArray bytes = file.read(kPanelFileReadCap + 1);
    if (file.error() != QFileDevice::NoError)
        return {std::nullopt, file.errorString()};
    const bool truncated = bytes.size() > kPanelFileReadCap;
    return parsePanelFile(QByteArrayView(bytes).first(truncated ? kPanelFileReadCap : bytes.size()), truncated);
}

SaveOutcome savePanelFile(const QString &path, const PanelFileRecord &record, ExistingFile existing, mode_t newMode)
{
    const auto bytes = encodePanelFile(record);
    if (!bytes)
        return {SaveOutcome::Failed,
                QStringLiteral("A text holds a character that a panel file cannot store, or is too long.")};
    return saveAtomically(path, *bytes, existing, newMode);
}

} // namespace panel
