#pragma once

#include <QString>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

namespace panel {

class TextOutput;

// Lines for standard output or error, written by a thread of their own: a reader that does not read
// (a pipe nobody empties, a terminal paused with Ctrl+S) holds up that thread only, never whoever has
// something to say.
class QueuedOutput
{
public:
    // Writes where output writes, and fails at once when it has failed already.
    explicit QueuedOutput(const TextOutput &output);
    // A thread still held up by its reader is left to end with the process.
    ~QueuedOutput();
    QueuedOutput(const QueuedOutput &) = delete;
    QueuedOutput &operator=(const QueuedOutput &) = delete;

    // Queues the line and returns at once.
    void writeLine(const QString &line);
    // Waits until every line queued has been written or has failed; once stop is set, for no longer
    // than grace. False when lines are left that the reader has not taken.
    bool waitUntilWritten(const std::atomic<bool> &stop, std::chrono::milliseconds grace);
    // Why a line could not be written, once one could not.
    QString error() const;

private:
    struct Queue;
    std::shared_ptr<Queue> m_queue; // shared with the thread, which may outlive this object
    std::thread m_thread;
};

} // namespace panel
