#include "link/panel_verify.h"

#include "model/collecting_view.h"
#include "model/editor_model.h"
#include "model/operation_report.h"
#include "model/status_texts.h"

namespace panel {

PanelRun verify_panel(PanelHost &host, OperationReport &report, SerialLine &line, const NamedPanelConfig &file,
                      LineObserver *observer)
{
    CollectingView unseen;
    EditorModel editor(unseen);
    editor.runStartUpSteps();
    PanelRun run = read_panel(host, report, line, editor, QStringLiteral("verify"), file.config, observer);
    HistoryEntry &entry = run.history.last();
    entry.panelName = file.panel;
    entry.designations = file.designation;
    if (run.done.outcome != PanelOutcome::Done)
        return run;
    const bool matches = configSeen(run.done.registers) == file.config;
    run.words = matches ? kMatchesFile : kDiffersFromFile;
    report.reportStatus(run.words, matches ? kGreen : kRed);
    entry.result = run.words;
    entry.exitCode = matches ? kExitDone : kExitDifferences;
    return run;
}

} // namespace panel
