#pragma once

#include <QByteArray>
#include <QString>

#include <sys/types.h>

namespace panel {

// A file of records, one a line (the production line's log, the history's journal): each line is
// appended with a single write, so that lines of several runs never mix, and each starts a line of
// its own whatever the last write left: a short write is taken back, and a file that does not end in
// a line feed (a line cut short by a full disk or a crash) gets one first.
class AppendLog
{
public:
    // What open takes at the path: any file a line can be appended to (a FIFO that is read, a device),
    // or only a regular file of the user's own, never through a link, with group and other access
    // taken away.
    enum class Accept { AnyFile, OwnRegularFile };

    AppendLog() = default;
    AppendLog(const AppendLog &) = delete;
    AppendLog &operator=(const AppendLog &) = delete;
    ~AppendLog();

    // Opens (or creates, with newMode less the umask) the file for appending without ever blocking: a
    // FIFO that nobody reads is refused. An empty string on success, else why not.
    QString open(const QString &path, mode_t newMode = 0666, Accept accept = Accept::AnyFile);
    bool isOpen() const { return m_fd >= 0; }
    // The record and a line feed in one write; an empty string on success, else why not.
    QString append(const QByteArray &record);

private:
    bool endsInLineFeed() const;
    void takeBack(qint64 written);

    int m_fd = -1;
    int m_readFd = -1; // the same file for reading its last byte; -1 for what is not a regular file
};

} // namespace panel
