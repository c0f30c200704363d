#pragma once

#include <QDateTime>
#include <QString>

namespace panel {

class History;
class TextOutput;

struct ReportRequest {
    QString path;   // OUT.pdf, OUT.csv or OUT.html
    QString folder; // the site; empty: every panel of the history
    QDateTime since;
    bool force = false; // an existing OUT may be replaced
};

// What --report does: the site's states from the history alone (no panel is read), written to the file
// atomically, never over an existing one without force; the summary on out. A bad folder, an existing
// or unwritable file is exit code 4; a history that cannot be read is a warning, and a report of unknown
// states. Returns the exit code.
int writeReport(const ReportRequest &request, const History &history, TextOutput &out, TextOutput &err);

} // namespace panel
