#pragma once

#include "headless/panel_job.h"

#include <QElapsedTimer>
#include <QObject>
#include <atomic>
#include <functional>
#include <memory>

namespace panel {

class LineObserver;
class ResultQueue;
class SerialLine;
struct ProductionRun;

// Runs the jobs of one port, on the thread it is moved to, with its own serial line. With repeat it
// runs the job again each second until a panel answers its hail, waits for that panel to go, and
// tells of a port that cannot be opened at once and then at most once a minute.
class PortWorker : public QObject
{
    Q_OBJECT
public:
    // stop: abandon the panel under way. noMorePanels: finish it, but start no other. Each result
    // goes to results, and the port is marked done there at the end. trace, when given, sees every
    // byte of the jobs' operations.
    PortWorker(const ProductionRun &run, const QString &device, const std::atomic<bool> &stop,
               const std::atomic<bool> &noMorePanels, ResultQueue &results, LineObserver *trace = nullptr);

public slots:
    void run();

signals:
    // Emitted on the worker's thread once it has done: connected directly to its thread's quit().
    void finished();

private:
    enum class Presence { Panel, NoPanel, PortNotOpened };

    void repeatPanels(SerialLine &line);
    // One hail sequence, as a whole-panel operation opens with.
    Presence probe(SerialLine &line, QString *error);
    bool waitForPanelGone(SerialLine &line);
    void tellPortFailure(JobResult result);
    JobResult portFailure(const SerialLine &line, const QString &error) const;
    bool goOn() const { return !m_stop.load() && !m_noMorePanels.load(); }
    void pause(int milliseconds) const;

    JobRequest m_request;
    QString m_device;
    bool m_repeat;
    int m_presenceIntervalMs;
    std::function<std::unique_ptr<SerialLine>(const QString &device)> m_makeLine;
    const std::atomic<bool> &m_stop;
    const std::atomic<bool> &m_noMorePanels;
    ResultQueue &m_results;
    LineObserver *m_trace;
    QElapsedTimer m_sinceFailureTold;
};

} // namespace panel
