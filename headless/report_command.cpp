#include "headless/report_command.h"

#include "file/atomic_file.h"
#include "file/history.h"
#include "headless/terminal_text.h"
#include "headless/text_output.h"
#include "link/panel_operations.h"
#include "site/report_content.h"
#include "site/report_forms.h"
#include "site/site_states.h"

namespace panel {

int writeReport(const ReportRequest &request, const History &history, TextOutput &out, TextOutput &err)
{
    const auto fail = [&err](const QString &why) {
        err.writeLine(QStringLiteral("panelconfig: ") + shownOnTerminal(why));
        return int(kExitFileFailure);
    };
    if (const QString refusal = notSavableReason(request.path); !refusal.isEmpty())
        return fail(refusal);
    SiteStates states;
    if (request.folder.isEmpty()) {
        states = historyStates(history, request.since);
    } else {
        const SiteScan scan = scanSite(request.folder);
        if (!scan.error.isEmpty())
            return fail(scan.error);
        states = siteStates(scan, history, request.since);
    }
    if (!states.warning.isEmpty())
        err.writeLine(QStringLiteral("panelconfig: warning: ") + shownOnTerminal(states.warning));
    const QByteArray bytes = reportBytes(reportContent(states, request.folder, request.since), request.path);
    if (bytes.isEmpty())
        return fail(QStringLiteral("%1: the report could not be made").arg(request.path));
    const SaveOutcome saved =
        saveAtomically(request.path, bytes, request.force ? ExistingFile::Replace : ExistingFile::Keep);
    if (saved.kind == SaveOutcome::Exists)
        return fail(saved.reason + QStringLiteral(" (--force replaces it)"));
    if (!saved.saved())
        return fail(QStringLiteral("%1 could not be written: %2").arg(request.path, saved.reason));
    if (saved.kind == SaveOutcome::SavedUnconfirmed)
        err.writeLine(QStringLiteral("panelconfig: warning: %1 written, but its durability could not be confirmed: %2")
                          .arg(shownOnTerminal(request.path), saved.reason));
    out.writeLine(shownOnTerminal(QStringLiteral("%1: %2").arg(request.path, siteSummary(states.rows))));
    return kExitDone;
}

} // namespace panel
