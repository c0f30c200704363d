#pragma once

#include "file/history.h"
#include "link/line_log.h"
#include "link/panel_host.h"
#include "model/operation_report.h"
#include "ui/dialogs.h"

#include <QPointer>
#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace panel {

class Dialogs;
class EditorModel;
class LineMonitor;
class SerialLine;
struct Form1Controls;
struct PanelResult;

// The window's four commands: read and write the panel, open and save a file. It runs them for the
// window, shows their status in the status box and their messages in boxes, lends them the timer and
// the file dialog, and lets one run at a time.
class WindowCommands : public OperationReport, public PanelHost
{
public:
    WindowCommands(QWidget &window, Form1Controls &controls, Dialogs &dialogs, SerialLine &line, EditorModel &editor,
                   int tickMilliseconds);
    ~WindowCommands() override;
    WindowCommands(const WindowCommands &) = delete;
    WindowCommands &operator=(const WindowCommands &) = delete;

    void readConfig();
    void writeConfig();
    void readFile();
    void writeFile();
    // Compare with panel: the panel read and told against the window, which keeps what it shows.
    void compareWithPanel();
    // OPEN CONFIGURATION FILE once the file is chosen (a file given on the command line).
    void openFile(const QString &path);

    // A site's file written to the panel as WRITE CONFIGURATION writes what the window shows, or verified as
    // the command line's --verify does; either kept in the history. What the window shows is not changed.
    void writeNamedConfig(const NamedPanelConfig &named);
    void verifyNamedConfig(const NamedPanelConfig &named);
    // Called once each command has ended (the site window shows the states it changed).
    void setCommandEnded(std::function<void()> ended) { m_commandEnded = std::move(ended); }

    // Whether the window may close now. While a command waits for the panel it may not: the command is
    // abandoned at its next wait, and the window closes right after it.
    bool allowClose();
    // SAVE CONFIGURATION FILE before the window closes: whether the file was saved.
    bool saveBeforeClosing();
    // A command is under way (waiting for the panel, or a dialog of its own open).
    bool busy() const { return m_busy; }
    // The window was closed while a command ran: it closes as soon as the command has stopped, asking nothing.
    bool closedDuringCommand() const { return m_closeRequested; }

    // OperationReport
    void reportStatus(const QString &text, std::optional<quint32> colour = std::nullopt) override;
    void hideStatus() override;
    void message(const QString &text, const QString &title) override;
    // PanelHost
    QTimer &timer() override;
    int tickMilliseconds() const override { return m_tick; }
    bool operationAbandoned() const override { return m_closeRequested; }

    // The status text, with what to do about a port that did not open in its tooltip, and what the
    // line shows of the last failure.
    void setStatusText(const QString &text);

    // The line's traffic of the last operations, and the window that shows it (made at its first showing).
    const LineLog &lineLog() const { return m_lineLog; }
    LineMonitor *showLineMonitor();

private:
    bool saveFile(const std::optional<NamedPanelConfig> &named);
    void openChosen(const QString &path);
    // The window's one file dialog, which keeps the last file name between uses; initialName replaces it
    // when given (a save proposes one, an open does not).
    std::optional<QString> chooseFile(FileRequest::Mode mode, const QString &title,
                                      const std::optional<QString> &initialName = std::nullopt);
    // What the line showed of a failure goes to the status's tooltip.
    void explain(const QString &explanation);
    // A second command clicked while the first waits is ignored.
    void run(const std::function<void()> &command);
    // Kept unless the user turned history off; what cannot be kept is said in the status's tooltip.
    void keepHistory(const QList<HistoryEntry> &entries);

    QWidget &m_window;
    Form1Controls &m_controls;
    Dialogs &m_dialogs;
    SerialLine &m_line;
    EditorModel &m_editor;
    int m_tick;
    QString m_dialogFileName; // what the file dialog keeps between uses
    QString m_historyProblem; // what the history could not keep of the last command
    QString m_explanation;    // what the line showed of the last command's failure
    LineLog m_lineLog;
    QPointer<LineMonitor> m_monitor;
    bool m_busy = false;
    bool m_closeRequested = false;
    std::function<void()> m_commandEnded;
};

} // namespace panel
