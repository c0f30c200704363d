#include "link/line_log.h"

#include <QStringList>

namespace panel {

QString traceHeaderText(const QString &command, const QString &port, const QDateTime &started)
{
    return QStringLiteral("%1 on %2 at %3")
        .arg(command, port, started.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss 'UTC'")));
}

void LineLog::operationStarted(const QString &command, const QString &port)
{
    m_operations.push_back({command, port, QDateTime::currentDateTimeUtc(), {}});
    ++m_started;
    while (m_operations.size() > size_t(kOperationsKept))
        m_operations.pop_front();
    if (m_listener)
        m_listener->operationStarted(command, port);
}

void LineLog::traced(const TraceLine &line)
{
    if (m_operations.empty())
        return; // a line is traced only once its operation has opened it
    m_operations.back().lines.append(line);
    if (m_listener)
        m_listener->traced(line);
}

QString LineLog::text() const
{
    QStringList text;
    for (const TracedOperation &operation : m_operations) {
        text << traceHeaderText(operation.command, operation.port, operation.started);
        for (const TraceLine &line : operation.lines)
            text << traceLineText(line);
    }
    return text.join(QChar('\n'));
}

} // namespace panel
