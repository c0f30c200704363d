#include "headless/port_worker.h"

#include "link/protocol.h"
#include "link/qt_serial_line.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

namespace panel {

namespace {

constexpr int kPresenceIntervalMs = 1000; // one hail, one byte, a second
constexpr int kAnswerWaitMs = 300;

// Runs the thread's events until done() or the time is up; a tick wakes it to look at the clock.
void waitUntil(const std::function<bool()> &done, int milliseconds)
{
    QTimer tick;
    tick.start(50);
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

} // namespace

bool panelAnswers(SerialLine &line)
{
    QString error;
    if (!line.open(kLineSettings, &error))
        return false;
    line.write(hailCommand());
    waitUntil([&] { return line.bytesWaiting() >= kReplyLength || line.isBroken(); }, kAnswerWaitMs);
    const bool answered = line.takeAll() == kAcknowledge;
    line.close();
    return answered;
}

PortWorker::PortWorker(const JobRequest &request, const QString &device, bool repeat, const std::atomic<bool> &stop)
    : m_request(request)
    , m_device(device)
    , m_repeat(repeat)
    , m_stop(stop)
{
}

bool PortWorker::waitForPresence(SerialLine &line, bool present)
{
    while (!m_stop.load()) {
        if (panelAnswers(line) == present)
            return true;
        waitUntil([this] { return m_stop.load(); }, kPresenceIntervalMs);
    }
    return false;
}

void PortWorker::run()
{
    QtSerialLine line(m_device);
    do {
        if (m_repeat && !waitForPresence(line, true))
            break;
        JobResult result = runJob(m_request, line, &m_stop);
        if (m_stop.load() && result.exitCode != kExitDone) {
            result.result = QStringLiteral("STOPPED BEFORE THE END: ") + result.result;
            result.exitCode = qMax(result.exitCode, int(kExitLineFailure));
        }
        emit panelDone(result);
        if (m_repeat && !waitForPresence(line, false))
            break;
    } while (m_repeat && !m_stop.load());
}

} // namespace panel
