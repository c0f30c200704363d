#pragma once

#include "site/site_states.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>

namespace panel {

// One panel of the report, in words.
struct ReportPanel {
    QString file;
    QString panelName;
    QString state;
    bool known = false; // its configuration is known (from its file, or what was last written)
    std::array<QString, kButtons> designations;
    std::array<QString, kButtons> assignments; // "module A, channel 1", "BL/MR" or "N/A"
    QString independentLighting;               // "on" or "off"
    QString indicator;                         // "100 %"
    QString backlight;
    QString writtenAt, writtenPort, writeResult; // the last write that succeeded
    QString check; // "verify matched (time)", "read did not match (time)"
};

// The handover report in words, ready for any of its forms: who made it, where and when, one entry per
// panel and the summary. Every text is from the site's files and the history.
struct ReportContent {
    QString site;    // the folder, or "every panel in the history"
    QString madeAt;  // local date and time with the offset
    QString machine;
    QString user;
    QString program; // "panelconfig 1.1.0"
    QString since;   // the operations looked at, when --since was given
    QString warning; // the history could not be read
    QList<ReportPanel> panels;
    QStringList summary; // "Panels: 12", "Written: 2", ...
};

ReportContent reportContent(const SiteStates &states, const QString &site, const QDateTime &since,
                            const QDateTime &now = QDateTime::currentDateTime());

// "module A, channel 1", "BL/MR" or "N/A".
QString assignmentWords(qint16 code);

} // namespace panel
