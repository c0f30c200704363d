#pragma once

#include <QByteArray>
#include <QString>

namespace panel {

struct ReportContent;

// RFC 4180: the column names first, then one row per panel; UTF-8, CR LF.
QByteArray reportCsv(const ReportContent &report);
// A page a customer can read: the title block, the table, the summary. rowsPerTable > 0 starts a new table,
// its column names first, after so many panels.
QString reportHtml(const ReportContent &report, int rowsPerTable = 0);
// The same page laid out on A4 landscape pages by QTextDocument and written by QPdfWriter.
QByteArray reportPdf(const ReportContent &report);

// The form the file name asks for: its suffix, "pdf", "csv" or "html"; an empty array for any other.
QByteArray reportBytes(const ReportContent &report, const QString &path);

} // namespace panel
