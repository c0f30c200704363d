#include "replywriter.h"

#include "pseudoterminal.h"

namespace {
// How long to wait before retrying when the client is not draining the line.
constexpr int kRetryMs = 10;
} // namespace

ReplyWriter::ReplyWriter(PseudoTerminal *line, QObject *parent)
    : QObject(parent)
    , m_line(line)
{
    m_clock.start();
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &ReplyWriter::writeDueBytes);
}

void ReplyWriter::send(const QByteArray &reply, qint64 delayNanoseconds)
{
    if (reply.isEmpty())
        return;
    qint64 due = m_clock.nsecsElapsed() + delayNanoseconds;
    if (!m_queue.empty())
        due = qMax(due, m_lastDue + m_byteTime);
    for (const char byte : reply) {
        m_queue.push_back({ due, byte });
        m_lastDue = due;
        due += m_byteTime;
    }
    writeDueBytes();
}

void ReplyWriter::clear()
{
    m_queue.clear();
    m_timer.stop();
}

void ReplyWriter::writeDueBytes()
{
    const qint64 now = m_clock.nsecsElapsed();
    QByteArray chunk;
    for (const QueuedByte &byte : m_queue) {
        if (byte.due > now)
            break;
        chunk.append(byte.value);
    }

    if (!chunk.isEmpty()) {
        const qsizetype written = m_line->write(chunk);
        if (written < 0) {
            clear(); // the line is gone
            emit drained();
            return;
        }
        m_queue.erase(m_queue.begin(), m_queue.begin() + written);
        if (written < chunk.size()) {
            m_timer.start(kRetryMs);
            return;
        }
    }

    if (m_queue.empty())
        emit drained();
    else
        scheduleNext();
}

void ReplyWriter::scheduleNext()
{
    const qint64 wait = m_queue.front().due - m_clock.nsecsElapsed();
    // Round up so the timer never fires just before the byte is due.
    m_timer.start(int(qMax<qint64>(0, (wait + 999'999) / 1'000'000)));
}
