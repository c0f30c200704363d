#pragma once

// The simulated panel as a child process, and readers for the files it writes. The including
// target defines PANELSIM_PATH.
#include <QDeadlineTimer>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QStringList>

// A running panelsim, known by the device path it printed.
class SimProcess
{
public:
    ~SimProcess() { stop(); }

    // False when the program ended or printed nothing within a few seconds.
    bool start(const QStringList &arguments)
    {
        m_devicePath.clear();
        m_process.start(QStringLiteral(PANELSIM_PATH), arguments);
        if (!m_process.waitForStarted(5000))
            return false;
        QDeadlineTimer deadline(5000);
        while (!m_process.canReadLine()) {
            if (deadline.hasExpired() || !m_process.waitForReadyRead(int(deadline.remainingTime())))
                return false;
        }
        m_devicePath = QString::fromLocal8Bit(m_process.readLine().trimmed());
        return !m_devicePath.isEmpty();
    }

    // Asks it to end (SIGTERM) and returns its exit code, or -1 when it did not exit cleanly.
    int stop()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.terminate();
            if (!m_process.waitForFinished(5000)) {
                m_process.kill();
                m_process.waitForFinished(5000);
                return -1;
            }
        }
        if (m_process.exitStatus() != QProcess::NormalExit)
            return -1;
        return m_process.exitCode();
    }

    bool isRunning() const { return m_process.state() != QProcess::NotRunning; }
    QString devicePath() const { return m_devicePath; }
    QProcess &process() { return m_process; }

private:
    QProcess m_process;
    QString m_devicePath;
};

// The registers kept in a --state file ("address value" lines); empty when there is no file.
inline QMap<int, int> readSimState(const QString &path)
{
    QMap<int, int> registers;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return registers;
    while (!file.atEnd()) {
        const QList<QByteArray> fields = file.readLine().simplified().split(' ');
        if (fields.size() == 2 && !fields[0].startsWith('#'))
            registers[fields[0].toInt()] = fields[1].toInt();
    }
    return registers;
}

// One --random-faults session line, "session=4 fault=garbage at=2 fired=1 commands=11", as its
// key=value words.
using FaultLine = QMap<QString, QString>;

inline FaultLine parseFaultLine(const QString &line)
{
    FaultLine words;
    for (const QString &word : line.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const qsizetype equals = word.indexOf(QLatin1Char('='));
        if (equals > 0)
            words.insert(word.left(equals), word.mid(equals + 1));
    }
    return words;
}

// The session lines of a --fault-log file from line `first` (0-based) on.
inline QList<FaultLine> readFaultLog(const QString &path, int first = 0)
{
    QList<FaultLine> lines;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return lines;
    int number = 0;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine());
        if (!line.endsWith(QLatin1Char('\n')))
            break; // still being written
        if (number++ >= first)
            lines.append(parseFaultLine(line.trimmed()));
    }
    return lines;
}
