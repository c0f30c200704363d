#include "link/panel_runs.h"

#include "link/device_name.h"
#include "link/failure_explanation.h"
#include "link/traced_line.h"
#include "link/serial_line.h"
#include "model/collecting_view.h"
#include "model/editor_model.h"
#include "model/operation_report.h"
#include "model/status_texts.h"

#include <memory>

namespace panel {

namespace {

// Passes every status and message on, keeping the last of each.
class WordsKept : public OperationReport
{
public:
    explicit WordsKept(OperationReport &report) : m_report(report) {}

    void reportStatus(const QString &text, std::optional<quint32> colour) override
    {
        m_status = text;
        m_report.reportStatus(text, colour);
    }
    void hideStatus() override { m_report.hideStatus(); }
    void message(const QString &text, const QString &title) override
    {
        m_message = text;
        m_report.message(text, title);
    }

    // A stopped operation is told as stopped, not by the failure it showed on the way; a panel of
    // another kind by the message shown instead of a status.
    QString words(PanelOutcome outcome) const
    {
        if (outcome == PanelOutcome::Stopped)
            return kStoppedText;
        return outcome == PanelOutcome::IdentityMismatch && !m_message.isEmpty() ? m_message : m_status;
    }

private:
    OperationReport &m_report;
    QString m_status;
    QString m_message;
};

HistoryEntry entryOf(const QString &command, const QString &port, const PanelRun &run)
{
    HistoryEntry entry;
    entry.command = command;
    entry.port = port;
    entry.result = run.words;
    entry.exitCode = exitCodeOf(run.done.outcome);
    entry.registers = run.done.registers;
    entry.detail = run.explanation;
    return entry;
}

} // namespace

PanelRun read_panel(PanelHost &host, OperationReport &report, SerialLine &line, EditorModel &editor,
                    const QString &command, const std::optional<PanelConfig> &intended, LineObserver *observer)
{
    const QString port = oneDeviceName(line.deviceName()); // the line may be given another meanwhile
    WordsKept told(report);
    TracedLine traced(line, command, observer);
    PanelRun run;
    run.done = read_config(host, told, traced, editor);
    run.words = told.words(run.done.outcome);
    run.explanation = explainFailure(command, run.done.outcome, traced.lines());
    HistoryEntry entry = entryOf(command, port, run);
    if (intended)
        entry.intended = intended->registers();
    takeNamesShown(entry, editor);
    if (command == QLatin1String("read") && run.done.outcome == PanelOutcome::Done)
        entry.snapshot = editor.gather_named_config();
    run.history << entry;
    return run;
}

PanelRun write_panel(PanelHost &host, OperationReport &report, SerialLine &line, const WriteOrder &order,
                     LineObserver *observer)
{
    const QString port = oneDeviceName(line.deviceName());
    WordsKept told(report);
    // The panel read before writing, as a read would show it, in an editor nobody sees.
    CollectingView unseen;
    std::unique_ptr<EditorModel> backup;
    if (order.backup) {
        backup = std::make_unique<EditorModel>(unseen);
        backup->runStartUpSteps();
    }
    const QString command = QStringLiteral("write");
    TracedLine traced(line, command, observer);
    PanelRun run;
    run.done = write_config(host, told, traced, order.config, backup.get());
    run.words = told.words(run.done.outcome);
    run.explanation = explainFailure(command, run.done.outcome, traced.lines());
    if (run.done.backup) {
        run.history << backupEntry(port, *run.done.backup, run.done.backupTaken, *backup, run.words,
                                   exitCodeOf(run.done.outcome));
        if (!run.done.backupTaken)
            run.history.last().detail = run.explanation;
    }
    HistoryEntry entry = entryOf(command, port, run);
    if (order.config)
        entry.intended = order.config->registers();
    entry.panelName = order.panelName;
    entry.designations = order.designations;
    if (run.done.outcome == PanelOutcome::Done && order.config)
        entry.snapshot = NamedPanelConfig{*order.config, order.panelName, order.designations};
    run.history << entry;
    return run;
}

} // namespace panel
