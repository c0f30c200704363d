#include "site/legend_sources.h"

#include "file/config_file_ops.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <algorithm>

namespace panel {

namespace {

QStringList pnlFilesIn(const QString &folder)
{
    QStringList files;
    QDirIterator it(folder, {QStringLiteral("*.pnl")}, QDir::Files | QDir::Readable | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    std::sort(files.begin(), files.end());
    return files;
}

LegendSource read(const QString &path)
{
    LegendSource source{path, std::nullopt, QString()};
    const ConfigFileRead file = read_config_file(path);
    if (file.record)
        source.panel = legendOf(named_config_of(*file.record));
    else
        source.refusal = file.reason;
    return source;
}

} // namespace

LegendSources readLegendSources(const QStringList &arguments)
{
    LegendSources sources;
    for (const QString &argument : arguments) {
        const QFileInfo info(argument);
        const QString shown = QDir::toNativeSeparators(argument);
        if (!info.exists()) {
            sources.problems << QStringLiteral("%1: no such file or folder").arg(shown);
        } else if (!info.isDir()) {
            sources.files.push_back(read(argument));
        } else if (!info.isReadable() || !info.isExecutable()) {
            sources.problems << QStringLiteral("%1: the folder cannot be read").arg(shown);
        } else if (const QStringList files = pnlFilesIn(argument); files.isEmpty()) {
            sources.problems << QStringLiteral("%1: the folder holds no .pnl file").arg(shown);
        } else {
            for (const QString &file : files)
                sources.files.push_back(read(file));
        }
    }
    return sources;
}

} // namespace panel
