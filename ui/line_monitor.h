#pragma once

#include "link/line_trace.h"

#include <QWidget>

class QPlainTextEdit;

namespace panel {

class Dialogs;
class LineLog;

// A window of its own beside the main one, showing every byte on the panel's line during the last
// operations, live while one runs, with Copy and "Save as text".
class LineMonitor : public QWidget, public LineObserver
{
    Q_OBJECT
public:
    LineMonitor(LineLog &log, Dialogs &dialogs, QWidget *parent);
    ~LineMonitor() override;

    QString text() const;
    void copy();
    void saveAsText();

    void operationStarted(const QString &command, const QString &port) override;
    void traced(const TraceLine &line) override;

private:
    void showAll();

    LineLog &m_log;
    Dialogs &m_dialogs;
    QPlainTextEdit *m_text;
};

} // namespace panel
