#include "ui/window_commands.h"

#include "file/config_file_ops.h"
#include "file/panel_name.h"
#include "file/recent_files.h"
#include "link/panel_runs.h"
#include "link/panel_verify.h"
#include "link/serial_line.h"
#include "model/editor_model.h"
#include "model/status_texts.h"
#include "ui/dialogs.h"
#include "ui/form1_controls.h"
#include "ui/line_monitor.h"
#include "ui/status_box.h"

#include <QTimer>
#include <QWidget>

namespace panel {

WindowCommands::WindowCommands(QWidget &window, Form1Controls &controls, Dialogs &dialogs, SerialLine &line,
                               EditorModel &editor, int tickMilliseconds)
    : m_window(window)
    , m_controls(controls)
    , m_dialogs(dialogs)
    , m_line(line)
    , m_editor(editor)
    , m_tick(tickMilliseconds)
{
}

// The monitor watches the log, which goes with these commands, before the window's children go.
WindowCommands::~WindowCommands() { delete m_monitor.data(); }

void WindowCommands::readConfig()
{
    run([this] {
        m_editor.beginStep(QStringLiteral("READ"));
        const PanelRun done = read_panel(*this, *this, m_line, m_editor, QStringLiteral("read"), std::nullopt, &m_lineLog);
        m_editor.endStep();
        if (done.done.outcome == PanelOutcome::Done)
            m_editor.markUnchanged();
        explain(done.explanation);
        keepHistory(done.history);
    });
}

void WindowCommands::writeConfig()
{
    run([this] {
        WriteOrder order;
        if (const std::optional<NamedPanelConfig> named = m_editor.gather_named_config())
            order.config = named->config;
        order.panelName = m_editor.panelName();
        for (int k = 0; k < kButtons; ++k)
            order.designations[size_t(k)] = m_editor.designation(k);
        order.backup = backupBeforeWrite();
        const PanelRun done = write_panel(*this, *this, m_line, order, &m_lineLog);
        if (done.done.outcome == PanelOutcome::Done)
            m_editor.markUnchanged();
        explain(done.explanation);
        keepHistory(done.history);
    });
}

void WindowCommands::writeNamedConfig(const NamedPanelConfig &named)
{
    run([this, named] {
        WriteOrder order;
        order.config = named.config;
        order.panelName = named.panel;
        order.designations = named.designation;
        order.backup = backupBeforeWrite();
        const PanelRun done = write_panel(*this, *this, m_line, order, &m_lineLog);
        explain(done.explanation);
        keepHistory(done.history);
    });
}

void WindowCommands::verifyNamedConfig(const NamedPanelConfig &named)
{
    run([this, named] {
        const PanelRun done = verify_panel(*this, *this, m_line, named, &m_lineLog);
        explain(done.explanation);
        keepHistory(done.history);
    });
}

void WindowCommands::explain(const QString &explanation)
{
    m_explanation = explanation;
    if (!explanation.isEmpty())
        setStatusText(m_controls.Text1->text());
}

LineMonitor *WindowCommands::showLineMonitor()
{
    if (!m_monitor)
        m_monitor = new LineMonitor(m_lineLog, m_dialogs, &m_window);
    m_monitor->show();
    m_monitor->raise();
    m_monitor->activateWindow();
    return m_monitor;
}

void WindowCommands::keepHistory(const QList<HistoryEntry> &entries)
{
    if (!historyKept())
        return;
    History history;
    QStringList failures;
    QStringList warnings;
    for (const HistoryEntry &entry : entries) {
        const HistoryKept kept = history.keep(entry);
        if (!kept.failure.isEmpty())
            failures << kept.failure;
        if (!kept.warning.isEmpty())
            warnings << kept.warning;
    }
    QStringList problems;
    if (!failures.isEmpty())
        problems << QStringLiteral("The history could not be kept: ") + failures.join(QStringLiteral("; "));
    if (!warnings.isEmpty())
        problems << QStringLiteral("History: ") + warnings.join(QStringLiteral("; "));
    if (problems.isEmpty())
        return;
    m_historyProblem = problems.join(QChar(10));
    setStatusText(m_controls.Text1->text());
}

void WindowCommands::readFile()
{
    run([this] {
        hideStatus();
        const std::optional<QString> path = chooseFile(FileRequest::Open, QStringLiteral("READ CONFIGURATION FILE"));
        if (path && !path->isEmpty())
            openChosen(*path);
    });
}

// OPEN CONFIGURATION FILE once a file is chosen: one step, whatever it showed on the way.
void WindowCommands::openChosen(const QString &path)
{
    m_editor.beginStep(QStringLiteral("OPEN"));
    const bool opened = open_config_file_named(*this, m_editor, path);
    m_editor.endStep();
    if (opened) {
        m_editor.markUnchanged();
        rememberRecentFile(path);
    }
}

void WindowCommands::writeFile()
{
    run([this] { saveFile(m_editor.gather_named_config()); });
}

bool WindowCommands::saveBeforeClosing()
{
    bool saved = false;
    run([this, &saved] { saved = saveFile(m_editor.gather_named_config()); });
    return saved;
}

// SAVE CONFIGURATION FILE: no configuration means a button is incomplete. Whether the file was saved.
bool WindowCommands::saveFile(const std::optional<NamedPanelConfig> &named)
{
    hideStatus();
    if (!named) {
        reportStatus(kIncompleteData, kRed);
        return false;
    }
    if (named->panel.isEmpty()) {
        message(QStringLiteral("Name must be entered in PANEL NAME field"), QString());
        return false;
    }
    const std::optional<QString> path =
        chooseFile(FileRequest::Save, QStringLiteral("WRITE CONFIGURATION FILE"), proposedFileName(named->panel));
    if (!path || path->isEmpty())
        return false;
    const SaveOutcome saved = save_named_config(*path, *named);
    if (saved.saved()) {
        m_editor.markUnchanged();
        rememberRecentFile(*path);
    }
    if (saved.kind == SaveOutcome::SavedUnconfirmed) {
        message(savedUnconfirmedText() + QChar(10) + *path + QStringLiteral(": ") + saved.reason, QString());
    } else if (!saved.saved()) {
        message(QStringLiteral("THE CONFIGURATION FILE COULD NOT BE SAVED") + QChar(10) + *path + QStringLiteral(": ")
                    + saved.reason,
                QString());
    }
    return saved.saved();
}

void WindowCommands::openFile(const QString &path)
{
    m_dialogFileName = path; // the open dialog starts from the file last opened
    run([this, path] { openChosen(path); });
}

void WindowCommands::run(const std::function<void()> &command)
{
    if (m_busy)
        return;
    m_busy = true;
    m_historyProblem.clear();
    m_explanation.clear();
    command();
    m_busy = false;
    if (m_commandEnded)
        m_commandEnded();
    if (m_closeRequested) {
        // clang-analyzer reports a leak inside qtimer.h, out of reach of a NOLINT: it loses the slot object
        // that Qt's timer takes over and deletes once it has called it. Hidden from the analyzer only.
#ifndef __clang_analyzer__
        QTimer::singleShot(0, &m_window, &QWidget::close);
#endif
    }
}

bool WindowCommands::allowClose()
{
    if (!m_busy)
        return true;
    m_closeRequested = true;
    return false;
}

void WindowCommands::reportStatus(const QString &text, std::optional<quint32> colour)
{
    m_controls.Text1->setVisible(true);
    // A status told again as it stands changes nothing on the screen (nor for a screen reader).
    if (colour && *colour != m_controls.Text1->colour())
        m_controls.Text1->setColour(*colour);
    if (text != m_controls.Text1->text())
        setStatusText(text);
}

void WindowCommands::hideStatus() { m_controls.Text1->setVisible(false); }

void WindowCommands::setStatusText(const QString &text)
{
    m_controls.Text1->setText(text);
    QString tip;
    if (text.startsWith(kPortNotOpened)) {
        tip = text + QChar(10);
        const QString advice = m_line.openAdvice();
        if (!advice.isEmpty())
            tip += advice + QChar(10);
        tip += QStringLiteral("Right-click the window's background (or press Shift+F10) to choose another serial port.");
    }
    for (const QString &more : {m_explanation, m_historyProblem}) {
        if (!more.isEmpty())
            tip += (tip.isEmpty() ? QString() : QStringLiteral("\n")) + more;
    }
    m_controls.Text1->setToolTip(tip);
    m_controls.Text1->setAccessibleDescription(tip);
}

void WindowCommands::message(const QString &text, const QString &title)
{
    m_dialogs.message(&m_window, text, title);
}

QTimer &WindowCommands::timer() { return *m_controls.Timer1; }

std::optional<QString> WindowCommands::chooseFile(FileRequest::Mode mode, const QString &title,
                                                  const std::optional<QString> &initialName)
{
    if (initialName)
        m_dialogFileName = *initialName;
    FileRequest request;
    request.mode = mode;
    request.title = title;
    request.filter = qtNameFilter(kConfigFileFilter);
    request.defaultSuffix = QStringLiteral("pnl");
    request.fileName = m_dialogFileName;
    std::optional<QString> chosen = m_dialogs.chooseFile(&m_window, request);
    if (chosen)
        m_dialogFileName = *chosen;
    return chosen;
}

} // namespace panel
