#include "headless/result_desk.h"

#include "file/append_log.h"
#include "file/history.h"
#include "headless/production_line.h"
#include "headless/queued_output.h"
#include "headless/result_json.h"
#include "headless/terminal_text.h"
#include "link/device_name.h"

#include <QDateTime>

namespace panel {

namespace {

// How long a stopped run still gives standard output, then standard error, to take what is left.
constexpr std::chrono::milliseconds kOutputGrace(300);

QString counted(int count, const char *what)
{
    return QStringLiteral("%1 %2%3").arg(count).arg(QLatin1String(what)).arg(count == 1 ? "" : "s");
}

} // namespace

void Tally::add(const JobResult &result)
{
    if (result.portFailure && result.exitCode == kExitPortFailure) {
        ++portFailures;
        return;
    }
    ++panels;
    done += result.exitCode == kExitDone ? 1 : 0;
}

QString Tally::describe() const
{
    QString text = QStringLiteral("%1, %2 done, %3 not done").arg(counted(panels, "panel")).arg(done).arg(panels - done);
    if (portFailures > 0)
        text += QStringLiteral(", ") + counted(portFailures, "port failure");
    return text;
}

QJsonObject Tally::json() const
{
    return {{QStringLiteral("panels"), panels},
            {QStringLiteral("done"), done},
            {QStringLiteral("not_done"), panels - done},
            {QStringLiteral("port_failures"), portFailures}};
}

ResultDesk::ResultDesk(const ProductionRun &run, QueuedOutput &out, QueuedOutput &err, AppendLog &log,
                       std::atomic<bool> &noMorePanels)
    : m_history(run.historyFolder ? std::make_unique<History>(*run.historyFolder) : nullptr)
    , m_run(run)
    , m_out(out)
    , m_err(err)
    , m_log(log)
    , m_noMore(noMorePanels)
{
    for (const QString &device : run.devices)
        m_ports.insert(oneDeviceName(device), Tally());
}

ResultDesk::~ResultDesk() = default;

void ResultDesk::take(const JobResult &result)
{
    m_total.add(result);
    m_ports[result.device].add(result);
    m_worst = qMax(m_worst, result.exitCode);
    const int count = m_run.repeat && !result.portFailure ? m_total.panels : 0;
    // Its records first: whatever happens to the printing, the panel's work is kept.
    keepHistory(result);
    log(result, count);
    // The file's own messages were said once at the start.
    for (const QString &warning : result.warnings.mid(m_run.request.fileWarnings.size()))
        m_err.writeLine(shownOnTerminal(QStringLiteral("panelconfig: %1: warning: %2").arg(result.device, warning)));
    if (!result.advice.isEmpty())
        m_err.writeLine(shownOnTerminal(QStringLiteral("panelconfig: %1: %2").arg(result.device, result.advice)));
    if (!result.detail.isEmpty())
        m_err.writeLine(shownOnTerminal(QStringLiteral("panelconfig: %1: %2").arg(result.device, result.detail)));
    print(result, count);
}

void ResultDesk::log(const JobResult &result, int count)
{
    if (!m_log.isOpen())
        return;
    QJsonObject entry = resultJson(result, count);
    entry.insert(QStringLiteral("time"), QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs));
    if (const QString failure = m_log.append(compactJson(entry)); !failure.isEmpty()) {
        m_err.writeLine(shownOnTerminal(
            QStringLiteral("panelconfig: the log %1 could not be written: %2").arg(m_run.logPath, failure)));
        m_worst = qMax(m_worst, int(kExitFileFailure));
        m_noMore.store(true);
    }
}

void ResultDesk::printTally()
{
    if (m_run.json) {
        QJsonObject tally = m_total.json();
        QJsonObject ports;
        for (auto port = m_ports.cbegin(); port != m_ports.cend(); ++port)
            ports.insert(port.key(), port.value().json());
        tally.insert(QStringLiteral("ports"), ports);
        writeOut(QString::fromUtf8(compactJson({{QStringLiteral("tally"), tally}})));
        return;
    }
    writeOut(QStringLiteral("tally: ") + m_total.describe());
    if (m_ports.size() > 1 || m_total.portFailures > 0) {
        for (auto port = m_ports.cbegin(); port != m_ports.cend(); ++port)
            writeOut(shownOnTerminal(QStringLiteral("tally %1: %2").arg(port.key(), port.value().describe())));
    }
}

void ResultDesk::finish(const std::atomic<bool> &stop)
{
    if (!m_out.waitUntilWritten(stop, kOutputGrace))
        sayOutputFailure(QStringLiteral("nothing reads standard output"));
    else if (const QString failure = m_out.error(); !failure.isEmpty())
        sayOutputFailure(failure);
    m_err.waitUntilWritten(stop, kOutputGrace);
}

void ResultDesk::print(const JobResult &result, int count)
{
    if (m_run.json) {
        writeOut(QString::fromUtf8(compactJson(resultJson(result, count))));
        return;
    }
    writeOut(shownOnTerminal(result.device + (count > 0 ? QStringLiteral(" #%1").arg(count) : QString())
                             + QStringLiteral(": ") + QString(result.result).replace(QChar(10), QStringLiteral(": ")))
             + QStringLiteral(" (%1 s)").arg(result.seconds, 0, 'f', 2));
    for (const QString &difference : result.differences)
        writeOut(shownOnTerminal(result.device + QStringLiteral(":   ") + difference));
}

// History never changes a result: what cannot be kept is said once.
void ResultDesk::keepHistory(const JobResult &result)
{
    if (!m_history)
        return;
    for (const HistoryEntry &entry : result.history) {
        const HistoryKept kept = m_history->keep(entry);
        if (!kept.failure.isEmpty() && !m_historyFailureSaid) {
            m_err.writeLine(shownOnTerminal(QStringLiteral("panelconfig: warning: the history could not be kept: ") + kept.failure));
            m_historyFailureSaid = true;
        }
        if (!kept.warning.isEmpty())
            m_err.writeLine(shownOnTerminal(QStringLiteral("panelconfig: warning: history: ") + kept.warning));
    }
}

// A result that cannot be printed is a failure of the run, said once; the panels go on.
void ResultDesk::writeOut(const QString &line)
{
    m_out.writeLine(line);
    if (const QString failure = m_out.error(); !failure.isEmpty())
        sayOutputFailure(failure);
}

void ResultDesk::sayOutputFailure(const QString &reason)
{
    m_worst = qMax(m_worst, int(kExitFileFailure));
    if (!m_outputFailureSaid)
        m_err.writeLine(QStringLiteral("panelconfig: the results could not be printed: ") + reason);
    m_outputFailureSaid = true;
}

} // namespace panel
