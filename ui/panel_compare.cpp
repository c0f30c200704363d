// Compare with panel: the panel read as READ reads it, told against what the window shows.
#include "ui/window_commands.h"

#include "link/panel_runs.h"
#include "model/collecting_view.h"
#include "model/config_differences.h"
#include "model/editor_model.h"
#include "model/status_texts.h"
#include "ui/dialogs.h"

namespace panel {

namespace {

const QString kCompareTitle = QStringLiteral("Compare with panel");
const QString kTheyMatch = QStringLiteral("The panel holds what the window shows.");

} // namespace

// The panel goes into an editor nobody sees, so nothing the window shows changes but the status box, and
// no undo step is made. The status ends as --verify ends: green when they match, red when not.
void WindowCommands::compareWithPanel()
{
    run([this] {
        CollectingView unseen;
        EditorModel panelShown(unseen);
        panelShown.runStartUpSteps();
        PanelRun done = read_panel(*this, *this, m_line, panelShown, QStringLiteral("verify"),
                                   configShown(m_editor.state()));
        HistoryEntry &entry = done.history.last();
        if (done.done.outcome == PanelOutcome::Done) {
            const QStringList differences =
                describeDifferences(wordsShown(m_editor.state()), QStringLiteral("window"),
                                    wordsOf(configSeen(done.done.registers).value_or(PanelConfig())),
                                    QStringLiteral("panel"));
            entry.result = differences.isEmpty() ? kMatchesWindow : kDiffersFromWindow;
            entry.exitCode = differences.isEmpty() ? kExitDone : kExitDifferences;
            reportStatus(entry.result, differences.isEmpty() ? kGreen : kRed);
            message(differences.isEmpty() ? kTheyMatch : differences.join(QChar(10)), kCompareTitle);
        } else if (done.done.outcome == PanelOutcome::IdentityMismatch) {
            reportStatus(kMismatchTitle, kRed); // the message box said which; the read left it yellow
        }
        keepHistory(done.history);
    });
}

} // namespace panel
