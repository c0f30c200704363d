#pragma once

#include "site/panel_trail.h"
#include "site/site_scan.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

namespace panel {

class History;

// One row of a site: a file and what the history tells of its panel.
struct SiteRow {
    SiteFile file;     // no path when the panel is known from the history alone
    QString panelName; // the file's, or the history's
    PanelStatus status;
    QStringList sameName; // the other files with this panel name: the history cannot tell them apart
};

struct SiteStates {
    QList<SiteRow> rows;
    QString warning; // the history could not be read: every state is unknown
    int unreadableLines = 0;
};

// The state of each file's panel, from the journal read once, newest line first, and only as far back as
// any file still needs. Operations before since (when valid) are not looked at.
SiteStates siteStates(const SiteScan &scan, const History &history, const QDateTime &since = QDateTime());
// Every panel name the history names, with its last write's configuration: the site of the whole history.
SiteStates historyStates(const History &history, const QDateTime &since = QDateTime());

// "12 panels: 9 verified, 2 written, 1 not written"; refused files and files sharing a name last.
QString siteSummary(const QList<SiteRow> &rows);
// The state as the site shows it: "refused: reason", or the state's words.
QString rowStateWords(const SiteRow &row);

} // namespace panel
