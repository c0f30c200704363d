#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <deque>

class PseudoTerminal;

// Sends replies in order, each no earlier than asked, optionally one byte at a time
// at the pace of the serial line.
class ReplyWriter : public QObject
{
    Q_OBJECT

public:
    explicit ReplyWriter(PseudoTerminal *line, QObject *parent = nullptr);

    // 0 sends each reply in one go.
    void setByteTime(qint64 nanoseconds) { m_byteTime = nanoseconds; }

    void send(const QByteArray &reply, qint64 delayNanoseconds);
    void clear();
    bool isIdle() const { return m_queue.empty(); }

signals:
    void drained();

private:
    struct QueuedByte
    {
        qint64 due;
        char value;
    };

    void writeDueBytes();
    void scheduleNext();

    PseudoTerminal *m_line;
    std::deque<QueuedByte> m_queue;
    QElapsedTimer m_clock;
    QTimer m_timer;
    qint64 m_byteTime = 0;
    qint64 m_lastDue = 0;
};
