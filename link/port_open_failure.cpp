#include "link/port_open_failure.h"

#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <QStringList>

#include <cerrno>
#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

namespace panel {

namespace {

// Where QSerialPort looks for a port's lock file, in its order; it uses the first that has one.
QStringList lockFolders()
{
    return {QStringLiteral("/var/lock"),       QStringLiteral("/etc/locks"), QStringLiteral("/var/spool/locks"),
            QStringLiteral("/var/spool/uucp"), QStringLiteral("/tmp"),       QStringLiteral("/var/tmp"),
            QStringLiteral("/var/lock/lockdev"), QStringLiteral("/run/lock"),
            QStandardPaths::writableLocation(QStandardPaths::TempLocation)};
}

// LCK..ttyUSB0 for /dev/ttyUSB0, LCK..pts_3 for /dev/pts/3.
QString lockFileName(const QString &device)
{
    QString name = device.startsWith(QLatin1String("/dev/")) ? device.mid(5) : device;
    return QStringLiteral("LCK..") + name.replace(QLatin1Char('/'), QLatin1Char('_'));
}

bool processAlive(qint64 pid)
{
    return pid > 0 && (::kill(pid_t(pid), 0) == 0 || errno == EPERM);
}

QString processName(qint64 pid)
{
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    return comm.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(comm.readAll()).trimmed() : QString();
}

const QString kNoSuchDevice = QStringLiteral("No such device: check the cable and the device's name "
                                             "(ls /dev/ttyUSB* /dev/ttyS*).");

QString groupAdvice(const QString &device)
{
    const QString group = QFileInfo(device).group();
    return QStringLiteral("You must be a member of the group that owns the device (%1).")
        .arg(group.isEmpty() ? QStringLiteral("usually dialout") : group);
}

QString busyAdvice(const QString &device)
{
    return QStringLiteral("Another program is using the port: close it (fuser %1 shows which).").arg(device);
}

} // namespace

QString portLockHolder(const QString &device)
{
    for (const QString &folder : lockFolders()) {
        const QString path = folder + QLatin1Char('/') + lockFileName(device);
        if (!QFileInfo::exists(path))
            continue;
        qint64 pid = 0;
        QString host;
        QString application;
        if (!QLockFile(path).getLockInfo(&pid, &host, &application) || !processAlive(pid))
            return QString();
        const QString name = processName(pid);
        const QString holder = name.isEmpty() ? application : name;
        return holder.isEmpty() ? QStringLiteral("pid %1").arg(pid) : QStringLiteral("%1 (pid %2)").arg(holder).arg(pid);
    }
    return QString();
}

PortOpenFailure explainPortOpenFailure(const QString &device, QSerialPort::SerialPortError error,
                                       const QString &errorText)
{
    const QByteArray path = QFile::encodeName(device);
    struct stat info {};
    // Also a name too long for the file system (or for the lock file's name), which no device can have.
    if (::stat(path.constData(), &info) != 0 && errno != EACCES)
        return {qt_error_string(errno), kNoSuchDevice, true};
    if (const QString holder = portLockHolder(device); !holder.isEmpty()) {
        return {QStringLiteral("%1: held by %2").arg(qt_error_string(EBUSY), holder),
                QStringLiteral("The port is held by %1: close that program, or wait until it is done with the "
                               "port.")
                    .arg(holder)};
    }
    // Opened by a program that takes the device for itself (TIOCEXCL) but keeps no lock file.
    if (error == QSerialPort::OpenError || errorText == qt_error_string(EBUSY))
        return {errorText, busyAdvice(device)};
    if (::access(path.constData(), R_OK | W_OK) != 0 && errno == EACCES)
        return {errorText, groupAdvice(device)};
    if (error == QSerialPort::DeviceNotFoundError)
        return {errorText, kNoSuchDevice, true};
    if (error == QSerialPort::PermissionError) {
        return {errorText, QStringLiteral("The port's lock file could not be made (in /run/lock or /var/lock), "
                                          "or another program holds it.")};
    }
    return {errorText, QString()};
}

} // namespace panel
