#include "headless/port_worker.h"

#include "headless/job_host.h"
#include "headless/result_queue.h"
#include "link/panel_link.h"
#include "link/qt_serial_line.h"
#include "model/status_texts.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QTimer>

namespace panel {

namespace {

constexpr int kPresenceIntervalMs = 1000;      // one hail sequence a second
constexpr int kPortReportIntervalMs = 60 * 1000; // a port that stays closed is told of once a minute
constexpr int kWakeUpMs = 50;                   // how soon a wait sees the stop

} // namespace

PortWorker::PortWorker(const JobRequest &request, const QString &device, bool repeat, const std::atomic<bool> &stop,
                       const std::atomic<bool> &noMorePanels, ResultQueue &results)
    : m_request(request)
    , m_device(device)
    , m_repeat(repeat)
    , m_stop(stop)
    , m_noMorePanels(noMorePanels)
    , m_results(results)
{
}

// Runs the thread's events until the time is up or the run ends; a tick wakes it to look.
void PortWorker::pause(int milliseconds) const
{
    QTimer tick;
    tick.start(kWakeUpMs);
    const QDeadlineTimer deadline(milliseconds);
    while (goOn() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

PortWorker::Presence PortWorker::probe(SerialLine &line, QString *error)
{
    CollectingView messages;
    JobHost host(messages, &m_stop);
    PanelLink link(host, host, line); // closes the line when done
    if (!link.open_panel_port(error))
        return Presence::PortNotOpened;
    return link.hail_panel() ? Presence::Panel : Presence::NoPanel;
}

bool PortWorker::waitForPanel(SerialLine &line)
{
    QElapsedTimer sinceReport;
    while (goOn()) {
        QString error;
        const Presence presence = probe(line, &error);
        if (presence == Presence::Panel)
            return true;
        if (presence == Presence::PortNotOpened && (!sinceReport.isValid() || sinceReport.elapsed() >= kPortReportIntervalMs)) {
            sinceReport.start();
            JobResult result;
            result.device = m_device;
            result.command = commandName(m_request.command);
            result.file = m_request.file;
            result.result = portNotOpenedText(m_device, error);
            result.exitCode = kExitPortFailure;
            result.portFailure = true;
            result.advice = line.openAdvice();
            if (m_request.intended)
                result.intended = m_request.intended->registers();
            m_results.put(result);
        }
        pause(kPresenceIntervalMs);
    }
    return false;
}

bool PortWorker::waitForPanelGone(SerialLine &line)
{
    while (goOn()) {
        QString error;
        if (probe(line, &error) != Presence::Panel)
            return true;
        pause(kPresenceIntervalMs);
    }
    return false;
}

void PortWorker::run()
{
    {
        QtSerialLine line(m_device);
        do {
            if (m_repeat && !waitForPanel(line))
                break;
            m_results.put(runJob(m_request, line, &m_stop));
            if (m_repeat && !waitForPanelGone(line))
                break;
        } while (m_repeat && goOn());
    }
    m_results.portDone();
    emit finished();
}

} // namespace panel
