#include "file/recent_files.h"

#include <QFileInfo>
#include <QSettings>

namespace panel {

namespace {

const QString kRecentKey = QStringLiteral("recentFiles");

void keep(const QStringList &files) { QSettings().setValue(kRecentKey, files); }

} // namespace

QStringList recentFiles() { return QSettings().value(kRecentKey).toStringList().mid(0, kRecentFileLimit); }

void rememberRecentFile(const QString &path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList files = recentFiles();
    files.removeAll(absolute);
    files.prepend(absolute);
    keep(files.mid(0, kRecentFileLimit));
}

void forgetRecentFile(const QString &path)
{
    QStringList files = recentFiles();
    files.removeAll(path);
    keep(files);
}

} // namespace panel
