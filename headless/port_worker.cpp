#include "headless/port_worker.h"

#include "headless/job_host.h"
#include "headless/production_line.h"
#include "headless/result_queue.h"
#include "headless/watched_line.h"
#include "link/panel_link.h"
#include "link/qt_serial_line.h"
#include "model/status_texts.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>

namespace panel {

namespace {

constexpr int kPortReportIntervalMs = 60 * 1000; // a port that stays closed is told of once a minute
constexpr int kWakeUpMs = 50;                   // how soon a wait sees the stop

} // namespace

PortWorker::PortWorker(const ProductionRun &run, const QString &device, const std::atomic<bool> &stop,
                       const std::atomic<bool> &noMorePanels, ResultQueue &results, LineObserver *trace)
    : m_request(run.request)
    , m_device(device)
    , m_repeat(run.repeat)
    , m_presenceIntervalMs(run.presenceIntervalMs)
    , m_makeLine(run.makeLine)
    , m_stop(stop)
    , m_noMorePanels(noMorePanels)
    , m_results(results)
    , m_trace(trace)
{
}

// Runs the thread's events until the time is up or the run ends; a tick wakes it to look for the stop.
void PortWorker::pause(int milliseconds) const
{
    QTimer tick;
    tick.start(kWakeUpMs);
    QTimer end;
    end.setSingleShot(true);
    end.start(milliseconds);
    const QDeadlineTimer deadline(milliseconds);
    while (goOn() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

PortWorker::Presence PortWorker::probe(SerialLine &line, QString *error)
{
    CollectingView messages;
    JobHost host(messages, &m_stop, m_request.tickMilliseconds);
    PanelLink link(host, host, line); // closes the line when done
    if (!link.open_panel_port(error))
        return Presence::PortNotOpened;
    return link.hail_panel() ? Presence::Panel : Presence::NoPanel;
}

JobResult PortWorker::portFailure(const SerialLine &line, const QString &error) const
{
    JobResult result = startedResult(m_request, line);
    result.warnings.clear(); // the file's were said at the start
    result.result = portNotOpenedText(result.device, error);
    result.exitCode = kExitPortFailure;
    result.portFailure = true;
    result.advice = line.openAdvice();
    return result;
}

// A port that does not open is said at once, then at most once a minute; it is no panel's operation,
// so the history keeps nothing of it.
void PortWorker::tellPortFailure(JobResult result)
{
    if (m_sinceFailureTold.isValid() && m_sinceFailureTold.elapsed() < kPortReportIntervalMs)
        return;
    m_sinceFailureTold.start();
    result.history.clear();
    m_results.put(result);
}

// The panel is gone once a hail sequence goes unanswered on the open port, or its device is gone. A
// port that does not open for a moment (another program holds it) tells nothing of the panel: that
// is said, and the wait goes on.
bool PortWorker::waitForPanelGone(SerialLine &line)
{
    while (goOn()) {
        QString error;
        switch (probe(line, &error)) {
        case Presence::Panel:
            break;
        case Presence::NoPanel:
            return true;
        case Presence::PortNotOpened:
            tellPortFailure(portFailure(line, error));
            if (line.deviceAbsent())
                return true;
            break;
        }
        pause(m_presenceIntervalMs);
    }
    return false;
}

// The next panel is found by its job's own hail sequence, so that a panel answering only some hails
// is worked on with the answer it gave, and not hailed again by another sequence first.
void PortWorker::repeatPanels(SerialLine &port)
{
    while (goOn()) {
        WatchedLine line(port);
        const JobResult result = runJob(m_request, line, &m_stop, m_trace);
        if (result.portFailure) {
            tellPortFailure(result);
        } else if (line.panelAnswered()) {
            m_results.put(result);
            if (!waitForPanelGone(port))
                return;
            continue;
        }
        pause(m_presenceIntervalMs);
    }
}

void PortWorker::run()
{
    {
        const std::unique_ptr<SerialLine> line =
            m_makeLine ? m_makeLine(m_device) : std::make_unique<QtSerialLine>(m_device);
        if (m_repeat)
            repeatPanels(*line);
        else
            m_results.put(runJob(m_request, *line, &m_stop, m_trace));
    }
    m_results.portDone();
    emit finished();
}

} // namespace panel
