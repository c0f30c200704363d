#include "headless/site_listing.h"

#include "file/history.h"
#include "headless/terminal_text.h"
#include "headless/text_output.h"
#include "link/panel_operations.h"
#include "site/local_time.h"
#include "site/site_states.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace panel {

namespace {

QString describe(const SiteRow &row)
{
    QStringList fields{row.file.file};
    if (row.file.named)
        fields << QStringLiteral("\"%1\"").arg(row.panelName);
    fields << rowStateWords(row);
    if (row.status.seen)
        fields << localTimeWithOffset(row.status.seen->time) << row.status.seen->port;
    if (!row.sameName.isEmpty())
        fields << QStringLiteral("same panel name as ") + row.sameName.join(QStringLiteral(", "));
    return shownOnTerminal(fields.join(QStringLiteral("  ")));
}

QString asJson(const SiteRow &row)
{
    QJsonObject object{{QStringLiteral("file"), row.file.file}};
    if (row.file.named) {
        object.insert(QStringLiteral("panel_name"), row.panelName);
        object.insert(QStringLiteral("state"), stateWords(row.status.state));
    } else {
        object.insert(QStringLiteral("state"), QStringLiteral("refused"));
        object.insert(QStringLiteral("refusal"), row.file.refusal);
    }
    if (row.status.seen) {
        object.insert(QStringLiteral("time"), row.status.seen->time.toUTC().toString(Qt::ISODateWithMs));
        object.insert(QStringLiteral("port"), row.status.seen->port);
        object.insert(QStringLiteral("command"), row.status.seen->command);
        object.insert(QStringLiteral("result"), row.status.seen->result);
    }
    if (!row.sameName.isEmpty())
        object.insert(QStringLiteral("same_panel_name_as"), QJsonArray::fromStringList(row.sameName));
    // As --history does: no control character reaches a terminal, JSON escapes C0, this DEL and C1.
    return shownOnTerminal(QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)));
}

} // namespace

int listSite(const QString &folder, const History &history, bool json, const QDateTime &since, TextOutput &out,
             TextOutput &err)
{
    const SiteScan scan = scanSite(folder);
    if (!scan.error.isEmpty()) {
        err.writeLine(QStringLiteral("panelconfig: ") + shownOnTerminal(scan.error));
        return kExitFileFailure;
    }
    const SiteStates states = siteStates(scan, history, since);
    if (!states.warning.isEmpty())
        err.writeLine(QStringLiteral("panelconfig: warning: ") + shownOnTerminal(states.warning));
    if (states.unreadableLines > 0)
        err.writeLine(QStringLiteral("panelconfig: warning: %1 line%2 of the history's journal %3 could not be read")
                          .arg(states.unreadableLines)
                          .arg(states.unreadableLines == 1 ? "" : "s")
                          .arg(history.journalPath()));
    for (const SiteRow &row : states.rows) {
        if (!out.writeLine(json ? asJson(row) : describe(row)))
            break;
    }
    const QString summary = siteSummary(states.rows);
    out.writeLine(json ? QString::fromUtf8(QJsonDocument(QJsonObject{{QStringLiteral("summary"), summary}})
                                               .toJson(QJsonDocument::Compact))
                       : summary);
    if (out.failed()) {
        err.writeLine(QStringLiteral("panelconfig: the site could not be printed: ") + out.error());
        return kExitFileFailure;
    }
    return kExitDone;
}

} // namespace panel
