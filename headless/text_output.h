#pragma once

#include <QByteArray>
#include <QString>

#include <atomic>

namespace panel {

// Lines of text to a file descriptor (standard output or error), each written whole and checked.
// Once a line cannot be written (a closed pipe, a full disk) the output has failed and says why.
// A write held up by its reader gives up when a signal comes once stop is set.
class TextOutput
{
public:
    explicit TextOutput(int fd, const std::atomic<bool> *stop = nullptr);

    // The line and a line feed; false when not all of it was written.
    bool writeLine(const QString &line);
    bool failed() const { return !m_error.isEmpty(); }
    // Nothing written from here on reaches anyone: every line fails with this reason.
    void setUnusable(const QString &reason) { m_error = reason; }
    QString error() const { return m_error; }
    int fd() const { return m_fd; }

    // A line as it goes to the descriptor, line feed included.
    static QByteArray encodedLine(const QString &line);

private:
    int m_fd;
    const std::atomic<bool> *m_stop;
    QString m_error;
};

} // namespace panel
