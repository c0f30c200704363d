#include "headless/queued_output.h"

#include "file/full_write.h"
#include "headless/text_output.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>

namespace panel {

struct QueuedOutput::Queue {
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<QByteArray> lines;
    bool writing = false;
    bool closing = false;
    int fd = -1;
    QString error;

    bool idle() const { return lines.empty() && !writing; }

    void writeEach()
    {
        std::unique_lock<std::mutex> lock(mutex);
        for (;;) {
            changed.wait(lock, [this] { return !lines.empty() || closing; });
            if (lines.empty())
                return;
            const QByteArray line = std::move(lines.front());
            lines.pop_front();
            if (error.isEmpty()) {
                writing = true;
                lock.unlock();
                const QString failure = writeWhole(fd, line);
                lock.lock();
                writing = false;
                error = failure;
            }
            changed.notify_all();
        }
    }
};

QueuedOutput::QueuedOutput(const TextOutput &output)
    : m_queue(std::make_shared<Queue>())
{
    m_queue->fd = output.fd();
    m_queue->error = output.error();
    m_thread = std::thread([queue = m_queue] { queue->writeEach(); });
}

QueuedOutput::~QueuedOutput()
{
    bool heldUp = false;
    {
        const std::lock_guard<std::mutex> lock(m_queue->mutex);
        m_queue->closing = true;
        heldUp = !m_queue->idle();
        m_queue->changed.notify_all();
    }
    if (heldUp)
        m_thread.detach();
    else
        m_thread.join();
}

void QueuedOutput::writeLine(const QString &line)
{
    QByteArray bytes = TextOutput::encodedLine(line);
    const std::lock_guard<std::mutex> lock(m_queue->mutex);
    m_queue->lines.push_back(std::move(bytes));
    m_queue->changed.notify_all();
}

bool QueuedOutput::waitUntilWritten(const std::atomic<bool> &stop, std::chrono::milliseconds grace)
{
    using Clock = std::chrono::steady_clock;
    constexpr std::chrono::milliseconds kLookAtTheStop(50);
    std::optional<Clock::time_point> giveUpAt;
    std::unique_lock<std::mutex> lock(m_queue->mutex);
    while (!m_queue->idle()) {
        if (stop.load() && !giveUpAt)
            giveUpAt = Clock::now() + grace;
        if (giveUpAt && Clock::now() >= *giveUpAt)
            return false;
        m_queue->changed.wait_for(lock, kLookAtTheStop);
    }
    return true;
}

QString QueuedOutput::error() const
{
    const std::lock_guard<std::mutex> lock(m_queue->mutex);
    return m_queue->error;
}

} // namespace panel
