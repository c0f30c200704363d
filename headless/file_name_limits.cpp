#include "headless/file_name_limits.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <climits>
#include <unistd.h>

namespace panel {

namespace {

// The folder's own limit; the system's when the folder tells none.
long limitOf(const QByteArray &folder, int name, long fallback)
{
    errno = 0;
    const long limit = ::pathconf(folder.constData(), name);
    return limit > 0 ? limit : fallback;
}

} // namespace

QString nameTooLongReason(const QString &path)
{
    const QFileInfo info(path);
    const QByteArray folder = QFile::encodeName(info.absolutePath());
    const long nameMax = limitOf(folder, _PC_NAME_MAX, NAME_MAX);
    const long pathMax = limitOf(folder, _PC_PATH_MAX, PATH_MAX);
    const qsizetype nameBytes = QFile::encodeName(info.fileName()).size();
    if (nameBytes > nameMax) {
        return QStringLiteral("%1: %2 (its name has %3 bytes, the file system takes %4)")
            .arg(path, qt_error_string(ENAMETOOLONG))
            .arg(nameBytes)
            .arg(nameMax);
    }
    // PATH_MAX counts the terminating NUL.
    const qsizetype pathBytes = qMax(QFile::encodeName(path).size(), QFile::encodeName(info.absoluteFilePath()).size());
    if (pathBytes >= pathMax) {
        return QStringLiteral("%1: %2 (the path has %3 bytes, the system takes %4)")
            .arg(path, qt_error_string(ENAMETOOLONG))
            .arg(pathBytes)
            .arg(pathMax - 1);
    }
    return QString();
}

} // namespace panel
