#pragma once

#include <QByteArray>
#include <QString>

namespace panel {

// The --log file: every record one line, appended with a single write so that lines of several
// runs never mix and a line is there whole or not at all.
class RunLog
{
public:
    RunLog() = default;
    RunLog(const RunLog &) = delete;
    RunLog &operator=(const RunLog &) = delete;
    ~RunLog();

    // Opens (or creates) the file for appending without ever blocking: a FIFO that nobody reads is
    // refused. An empty string on success, else why not.
    QString open(const QString &path);
    bool isOpen() const { return m_fd >= 0; }
    // The record and a line feed in one write; an empty string on success, else why not.
    QString append(const QByteArray &record);

private:
    int m_fd = -1;
};

} // namespace panel
