#include "headless/trace_printer.h"

#include "headless/queued_output.h"
#include "headless/terminal_text.h"
#include "link/line_log.h"

namespace panel {

TracePrinter::TracePrinter(QueuedOutput &err, const QString &prefix)
    : m_err(err)
    , m_prefix(prefix)
{
}

void TracePrinter::print(const QString &text)
{
    m_err.writeLine(shownOnTerminal(m_prefix.isEmpty() ? text : m_prefix + QStringLiteral(": ") + text));
}

void TracePrinter::operationStarted(const QString &command, const QString &port)
{
    print(traceHeaderText(command, port, QDateTime::currentDateTimeUtc()));
}

void TracePrinter::traced(const TraceLine &line) { print(traceLineText(line)); }

} // namespace panel
