#include "headless/production_line.h"

#include "headless/port_worker.h"
#include "headless/result_json.h"
#include "headless/result_queue.h"
#include "file/append_log.h"
#include "file/history.h"
#include "headless/text_output.h"

#include <QDateTime>
#include <QJsonObject>
#include <QMap>
#include <QThread>
#include <memory>
#include <vector>

namespace panel {

namespace {

struct Tally {
    int panels = 0;
    int done = 0;
    int portFailures = 0;

    QString describe() const
    {
        QString text = QStringLiteral("%1 panels, %2 done, %3 not done").arg(panels).arg(done).arg(panels - done);
        if (portFailures > 0)
            text += QStringLiteral(", %1 port failure%2").arg(portFailures).arg(portFailures == 1 ? "" : "s");
        return text;
    }
    QJsonObject json() const
    {
        return {{QStringLiteral("panels"), panels},
                {QStringLiteral("done"), done},
                {QStringLiteral("not_done"), panels - done},
                {QStringLiteral("port_failures"), portFailures}};
    }
    void add(const JobResult &result)
    {
        if (result.portFailure && result.exitCode == kExitPortFailure) {
            ++portFailures;
            return;
        }
        ++panels;
        done += result.exitCode == kExitDone ? 1 : 0;
    }
};

// Takes each result as it comes, on the thread that runs the event loop: prints it, logs it, counts it.
class ResultDesk
{
public:
    ResultDesk(const ProductionRun &run, TextOutput &out, TextOutput &err, AppendLog &log, std::atomic<bool> &noMore)
        : m_history(run.historyFolder ? std::make_unique<History>(*run.historyFolder) : nullptr)
        , m_run(run)
        , m_out(out)
        , m_err(err)
        , m_log(log)
        , m_noMore(noMore)
    {
        for (const QString &device : run.devices)
            m_ports.insert(device, Tally());
    }

    void take(const JobResult &result)
    {
        m_total.add(result);
        m_ports[result.device].add(result);
        m_worst = qMax(m_worst, result.exitCode);
        const int count = m_run.repeat && !result.portFailure ? m_total.panels : 0;
        // The file's own messages were said once at the start.
        for (const QString &warning : result.warnings.mid(m_run.request.fileWarnings.size()))
            m_err.writeLine(QStringLiteral("panelconfig: %1: warning: %2").arg(result.device, warning));
        if (!result.advice.isEmpty())
            m_err.writeLine(QStringLiteral("panelconfig: %1: %2").arg(result.device, result.advice));
        print(result, count);
        keepHistory(result);
        if (m_log.isOpen()) {
            QJsonObject entry = resultJson(result, count);
            entry.insert(QStringLiteral("time"), QDateTime::currentDateTime().toString(Qt::ISODateWithMs));
            if (const QString failure = m_log.append(compactJson(entry)); !failure.isEmpty()) {
                m_err.writeLine(QStringLiteral("panelconfig: the log %1 could not be written: %2").arg(m_run.logPath, failure));
                m_worst = qMax(m_worst, int(kExitFileFailure));
                m_noMore.store(true); // no panel goes on without its record
            }
        }
    }

    void printTally()
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
                writeOut(QStringLiteral("tally %1: %2").arg(port.key(), port.value().describe()));
        }
    }

    int exitCode() const { return m_worst; }

private:
    void print(const JobResult &result, int count)
    {
        if (m_run.json) {
            writeOut(QString::fromUtf8(compactJson(resultJson(result, count))));
            return;
        }
        writeOut(result.device + (count > 0 ? QStringLiteral(" #%1").arg(count) : QString()) + QStringLiteral(": ")
                 + QString(result.result).replace(QChar(10), QStringLiteral(": "))
                 + QStringLiteral(" (%1 s)").arg(result.seconds, 0, 'f', 2));
        for (const QString &difference : result.differences)
            writeOut(result.device + QStringLiteral(":   ") + difference);
    }

    // History never changes a result: what cannot be kept is said once.
    void keepHistory(const JobResult &result)
    {
        if (!m_history)
            return;
        for (const HistoryEntry &entry : result.history) {
            const HistoryKept kept = m_history->keep(entry);
            if (!kept.failure.isEmpty() && !m_historyFailureSaid) {
                m_err.writeLine(QStringLiteral("panelconfig: warning: the history could not be kept: ") + kept.failure);
                m_historyFailureSaid = true;
            }
            if (!kept.warning.isEmpty())
                m_err.writeLine(QStringLiteral("panelconfig: warning: history: ") + kept.warning);
        }
    }

    // A result that cannot be printed is a failure of the run, said once; the panels go on.
    void writeOut(const QString &line)
    {
        if (m_out.writeLine(line))
            return;
        m_worst = qMax(m_worst, int(kExitFileFailure));
        if (!m_outputFailureSaid)
            m_err.writeLine(QStringLiteral("panelconfig: the results could not be printed: ") + m_out.error());
        m_outputFailureSaid = true;
    }

    std::unique_ptr<History> m_history;
    const ProductionRun &m_run;
    TextOutput &m_out;
    TextOutput &m_err;
    AppendLog &m_log;
    std::atomic<bool> &m_noMore;
    Tally m_total;
    QMap<QString, Tally> m_ports;
    int m_worst = kExitDone;
    bool m_outputFailureSaid = false;
    bool m_historyFailureSaid = false;
};

} // namespace

int runProductionLine(const ProductionRun &run, TextOutput &out, TextOutput &err, const std::atomic<bool> &stop)
{
    AppendLog log;
    if (!run.logPath.isEmpty()) {
        if (const QString failure = log.open(run.logPath); !failure.isEmpty()) {
            err.writeLine(QStringLiteral("panelconfig: the log %1 cannot be written: %2").arg(run.logPath, failure));
            return kExitFileFailure;
        }
    }
    for (const QString &warning : run.request.fileWarnings)
        err.writeLine(QStringLiteral("panelconfig: %1: warning: %2").arg(run.request.file, warning));

    std::atomic<bool> noMorePanels{false};
    ResultDesk desk(run, out, err, log, noMorePanels);
    ResultQueue results(int(run.devices.size()));
    std::vector<std::unique_ptr<QThread>> threads;
    for (const QString &device : run.devices) {
        threads.push_back(std::make_unique<QThread>());
        QThread *thread = threads.back().get();
        auto *worker = new PortWorker(run.request, device, run.repeat, stop, noMorePanels, results);
        worker->moveToThread(thread);
        // Started from its own thread's event loop, and ended there: no thread waits on another's events.
        QObject::connect(thread, &QThread::started, worker, &PortWorker::run, Qt::QueuedConnection);
        QObject::connect(worker, &PortWorker::finished, thread, &QThread::quit, Qt::DirectConnection);
        QObject::connect(thread, &QThread::finished, worker, &QObject::deleteLater, Qt::DirectConnection);
        thread->start();
    }
    while (const std::optional<JobResult> result = results.take())
        desk.take(*result);
    for (const auto &thread : threads)
        thread->wait();

    if (run.repeat)
        desk.printTally();
    return desk.exitCode();
}

} // namespace panel
