#pragma once

#include "link/line_trace.h"

#include <QString>

namespace panel {

class QueuedOutput;

// --trace: every byte on a port's line as it goes, one line each on standard error, with the port in
// front when several ports run at once.
class TracePrinter : public LineObserver
{
public:
    // prefix: the port, or nothing.
    TracePrinter(QueuedOutput &err, const QString &prefix);

    void operationStarted(const QString &command, const QString &port) override;
    void traced(const TraceLine &line) override;

private:
    void print(const QString &text);

    QueuedOutput &m_err;
    QString m_prefix;
};

} // namespace panel
