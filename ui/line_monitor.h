#pragma once

#include "link/line_trace.h"

#include <QTimer>
#include <QWidget>
#include <deque>

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

    // What it shows once the lines told so far are in.
    QString text();
    void copy();
    void saveAsText();

    void operationStarted(const QString &command, const QString &port) override;
    void traced(const TraceLine &line) override;

private:
    void refreshSoon();
    void refresh();

    LineLog &m_log;
    Dialogs &m_dialogs;
    QPlainTextEdit *m_text;
    QTimer m_quiet; // the line quiet for a moment: time to show what came
    qint64 m_firstShown = 0;      // the oldest operation shown, counted from the log's first
    std::deque<int> m_linesShown; // of each operation shown, its lines, heading included
};

} // namespace panel
