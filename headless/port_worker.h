#pragma once

#include "headless/panel_job.h"

#include <QThread>
#include <atomic>

namespace panel {

class SerialLine;

// Runs the jobs of one port on a thread of its own, with its own event loop and serial line. With
// repeat it waits for a panel to answer before each job and for it to go after.
class PortWorker : public QThread
{
    Q_OBJECT
public:
    PortWorker(const JobRequest &request, const QString &device, bool repeat, const std::atomic<bool> &stop);

signals:
    void panelDone(const panel::JobResult &result);

protected:
    void run() override;

private:
    // Hails once, at a calm rate, until the panel's presence is `present`. False when stopped.
    bool waitForPresence(SerialLine &line, bool present);

    JobRequest m_request;
    QString m_device;
    bool m_repeat;
    const std::atomic<bool> &m_stop;
};

// One hail on its own: whether a panel answers "D000D" within a short wait. Opens and closes the line.
bool panelAnswers(SerialLine &line);

} // namespace panel

Q_DECLARE_METATYPE(panel::JobResult)
