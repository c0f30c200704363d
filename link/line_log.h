#pragma once

#include "link/line_trace.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <deque>

namespace panel {

// One whole-panel operation as the line saw it.
struct TracedOperation {
    QString command;
    QString port;
    QDateTime started;
    QList<TraceLine> lines;
};

// "read on /dev/ttyUSB0 at 2026-12-09 13:20:05 UTC": the line that heads an operation's trace.
QString traceHeaderText(const QString &command, const QString &port, const QDateTime &started);

// The line's traffic of the last operations, the one under way included, for the line monitor. A
// listener (at most one) hears of each operation and each line as it comes.
class LineLog : public LineObserver
{
public:
    static constexpr int kOperationsKept = 20;

    void operationStarted(const QString &command, const QString &port) override;
    void traced(const TraceLine &line) override;

    const std::deque<TracedOperation> &operations() const { return m_operations; }
    // How many operations were ever started: those let go are this less the ones kept.
    qint64 started() const { return m_started; }
    // Every operation kept, oldest first: its heading, then its lines.
    QString text() const;
    void setListener(LineObserver *listener) { m_listener = listener; }

private:
    std::deque<TracedOperation> m_operations;
    qint64 m_started = 0;
    LineObserver *m_listener = nullptr;
};

} // namespace panel
