#include "file/atomic_file.h"

#include "file/full_write.h"
#include "file/own_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace panel {

namespace {

QString systemError(const char *step, int error)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(step), QString::fromLocal8Bit(std::strerror(error)));
}

// A link is followed to the file it names, so that the link stays and its file is replaced.
QString resolvedTarget(const QString &path)
{
    const QFileInfo info(path);
    if (info.isSymLink() && info.exists())
        return info.canonicalFilePath();
    return info.absoluteFilePath();
}

// A hidden name beside the target, made with O_EXCL so that nothing already there is touched.
int createTemporary(const QString &folder, const QString &name, mode_t mode, QByteArray *tempPath)
{
    for (int attempt = 0; attempt < 16; ++attempt) {
        const QString candidate = QStringLiteral("%1/.%2.%3.tmp")
                                      .arg(folder, name.left(64))
                                      .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
        *tempPath = QFile::encodeName(candidate);
        const int fd = ::open(tempPath->constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

QString syncFolder(const QString &folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return systemError("open folder", errno);
    QString failure;
    if (::fsync(fd) != 0 && errno != EINVAL) // some file systems cannot sync a folder
        failure = systemError("fsync folder", errno);
    if (::close(fd) != 0 && failure.isEmpty())
        failure = systemError("close folder", errno);
    return failure;
}

// Puts the finished temporary file in the target's place. False with errno set when it did not.
bool putInPlace(const QByteArray &temp, const QByteArray &target, ExistingFile existing)
{
    if (existing == ExistingFile::Replace)
        return std::rename(temp.constData(), target.constData()) == 0;
    if (::renameat2(AT_FDCWD, temp.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // A file system without that rename: a hard link is just as exclusive.
    if (::link(temp.constData(), target.constData()) != 0)
        return false;
    ::unlink(temp.constData());
    return true;
}

} // namespace

QString notSavableReason(const QString &path)
{
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0 || S_ISREG(status.st_mode))
        return QString();
    return QStringLiteral("%1 is %2").arg(QDir::toNativeSeparators(path), kindOf(status.st_mode));
}

SaveOutcome saveAtomically(const QString &path, const QByteArray &bytes, ExistingFile existing, mode_t newMode)
{
    const QString target = resolvedTarget(path);
    const QByteArray targetName = QFile::encodeName(target);
    struct stat status {};
    const bool exists = ::lstat(targetName.constData(), &status) == 0;
    if (exists && existing == ExistingFile::Keep)
        return {SaveOutcome::Exists, QStringLiteral("FILE EXISTS: %1").arg(path)};
    if (exists && !S_ISREG(status.st_mode) && !S_ISLNK(status.st_mode))
        return {SaveOutcome::Failed, QStringLiteral("%1 is %2").arg(path, kindOf(status.st_mode))};

    const QFileInfo info(target);
    QByteArray temp;
    const int fd = createTemporary(info.absolutePath(), info.fileName(), newMode, &temp);
    if (fd < 0)
        return {SaveOutcome::Failed, systemError("create", errno)};

    QString failure = writeWhole(fd, bytes);
    if (!failure.isEmpty())
        failure = QStringLiteral("write: ") + failure;
    if (failure.isEmpty() && exists && S_ISREG(status.st_mode) && ::fchmod(fd, status.st_mode & 07777) != 0)
        failure = systemError("fchmod", errno);
    if (failure.isEmpty() && ::fsync(fd) != 0)
        failure = systemError("fsync", errno);
    if (::close(fd) != 0 && failure.isEmpty())
        failure = systemError("close", errno);
    if (failure.isEmpty() && !putInPlace(temp, targetName, existing)) {
        const int error = errno;
        ::unlink(temp.constData());
        if (error == EEXIST && existing == ExistingFile::Keep)
            return {SaveOutcome::Exists, QStringLiteral("FILE EXISTS: %1").arg(path)};
        return {SaveOutcome::Failed, systemError("rename", error)};
    }
    if (!failure.isEmpty()) {
        ::unlink(temp.constData());
        return {SaveOutcome::Failed, failure};
    }
    // The file is whole in its place; only whether the rename itself survives a crash is left.
    failure = syncFolder(info.absolutePath());
    if (!failure.isEmpty())
        return {SaveOutcome::SavedUnconfirmed, failure};
    return {};
}

} // namespace panel
