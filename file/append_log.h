#pragma once

#include <QByteArray>
#include <QString>

#include <sys/types.h>

namespace panel {

// A file of records, one a line (the production line's log, the history's journal): each line is
// appended with a single write, so that lines of several runs never mix and a line is there whole or
// not at all.
class AppendLog
{
public:
    AppendLog() = default;
    AppendLog(const AppendLog &) = delete;
    AppendLog &operator=(const AppendLog &) = delete;
    ~AppendLog();

    // Opens (or creates, with newMode less the umask) the file for appending without ever blocking: a
    // FIFO that nobody reads is refused. An empty string on success, else why not.
    QString open(const QString &path, mode_t newMode = 0666);
    bool isOpen() const { return m_fd >= 0; }
    // The record and a line feed in one write; an empty string on success, else why not.
    QString append(const QByteArray &record);

private:
    int m_fd = -1;
};

} // namespace panel
