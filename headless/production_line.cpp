#include "headless/production_line.h"

#include "file/append_log.h"
#include "headless/port_worker.h"
#include "headless/queued_output.h"
#include "headless/result_desk.h"
#include "headless/result_queue.h"
#include "headless/terminal_text.h"
#include "headless/text_output.h"
#include "headless/trace_printer.h"

#include <QThread>
#include <memory>
#include <vector>

namespace panel {

int runProductionLine(const ProductionRun &run, TextOutput &out, TextOutput &err, const std::atomic<bool> &stop)
{
    AppendLog log;
    if (!run.logPath.isEmpty()) {
        if (const QString failure = log.open(run.logPath); !failure.isEmpty()) {
            err.writeLine(shownOnTerminal(QStringLiteral("panelconfig: the log %1 cannot be written: %2").arg(run.logPath, failure)));
            return kExitFileFailure;
        }
    }
    QueuedOutput printed(out);
    QueuedOutput said(err);
    for (const QString &warning : run.request.fileWarnings)
        said.writeLine(shownOnTerminal(QStringLiteral("panelconfig: %1: warning: %2").arg(run.request.file, warning)));

    std::atomic<bool> noMorePanels{false};
    ResultDesk desk(run, printed, said, log, noMorePanels);
    ResultQueue results(int(run.devices.size()));
    std::vector<std::unique_ptr<QThread>> threads;
    std::vector<std::unique_ptr<TracePrinter>> traces;
    for (const QString &device : run.devices) {
        threads.push_back(std::make_unique<QThread>());
        QThread *thread = threads.back().get();
        if (run.trace)
            traces.push_back(std::make_unique<TracePrinter>(said, run.devices.size() > 1 ? device : QString()));
        auto *worker = new PortWorker(run, device, stop, noMorePanels, results, run.trace ? traces.back().get() : nullptr);
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
    desk.finish(stop);
    return desk.exitCode();
}

} // namespace panel
