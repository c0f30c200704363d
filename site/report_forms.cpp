#include "site/report_forms.h"

#include "site/report_content.h"

#include <QBuffer>
#include <algorithm>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>
#include <QGuiApplication>
#include <QScreen>

namespace panel {

namespace {

QString csvField(const QString &text)
{
    static const QString special = QStringLiteral(",\"\r\n");
    for (const QChar c : text) {
        if (special.contains(c))
            return QLatin1Char('"') + QString(text).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
    }
    return text;
}

QString csvRow(const QStringList &cells)
{
    QStringList fields;
    for (const QString &cell : cells)
        fields << csvField(cell);
    return fields.join(QLatin1Char(',')) + QStringLiteral("\r\n");
}

QStringList csvColumns()
{
    QStringList columns{QStringLiteral("file"), QStringLiteral("panel name"), QStringLiteral("state")};
    for (int k = 1; k <= kButtons; ++k)
        columns << QStringLiteral("SW%1 designation").arg(k) << QStringLiteral("SW%1 assignment").arg(k);
    columns << QStringLiteral("independent lighting") << QStringLiteral("indicator intensity")
            << QStringLiteral("backlight intensity") << QStringLiteral("last written") << QStringLiteral("port")
            << QStringLiteral("write result") << QStringLiteral("later verify or read");
    return columns;
}

QStringList csvCells(const ReportPanel &panel)
{
    QStringList cells{panel.file, panel.panelName, panel.state};
    for (int k = 0; k < kButtons; ++k)
        cells << panel.designations[size_t(k)] << panel.assignments[size_t(k)];
    cells << panel.independentLighting << panel.indicator << panel.backlight << panel.writtenAt << panel.writtenPort
          << panel.writeResult << panel.check;
    return cells;
}

// A table cell of lines, each escaped.
QString cell(const QString &tag, const QStringList &lines)
{
    QStringList escaped;
    for (const QString &line : lines)
        escaped << line.toHtmlEscaped();
    return QStringLiteral("<%1>%2</%1>").arg(tag, escaped.join(QStringLiteral("<br>")));
}

QString panelRow(const ReportPanel &panel)
{
    QStringList buttons;
    QStringList lighting;
    if (panel.known) {
        for (int k = 0; k < kButtons; ++k)
            buttons << QStringLiteral("SW%1 %2: %3").arg(k + 1).arg(panel.designations[size_t(k)], panel.assignments[size_t(k)]);
        lighting << QStringLiteral("independent lighting %1").arg(panel.independentLighting)
                 << QStringLiteral("indicator %1").arg(panel.indicator) << QStringLiteral("backlight %1").arg(panel.backlight);
    }
    QStringList written;
    if (!panel.writtenAt.isEmpty())
        written << panel.writtenAt << panel.writtenPort << panel.writeResult;
    const QString td = QStringLiteral("td");
    return QStringLiteral("<tr>") + cell(td, {panel.panelName, panel.file}) + cell(td, {panel.state}) + cell(td, buttons)
        + cell(td, lighting) + cell(td, written) + cell(td, {panel.check}) + QStringLiteral("</tr>\n");
}

} // namespace

QByteArray reportCsv(const ReportContent &report)
{
    QString csv = csvRow(csvColumns());
    for (const ReportPanel &panel : report.panels)
        csv += csvRow(csvCells(panel));
    return csv.toUtf8();
}

QString reportHtml(const ReportContent &report, int rowsPerTable)
{
    QString html = QStringLiteral("<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Handover report</title>\n"
                                  "<style>table { border-collapse: collapse; } td, th { padding: 2px 6px; "
                                  "vertical-align: top; text-align: left; } table.panels td, table.panels th "
                                  "{ border: 1px solid #777; } table.panels th { background: #ddd; }</style>"
                                  "</head><body>\n<h1>Handover report</h1>\n<table class=\"title\">\n");
    const auto titleRow = [&html](const QString &name, const QString &value) {
        if (!value.isEmpty())
            html += QStringLiteral("<tr>") + cell(QStringLiteral("th"), {name}) + cell(QStringLiteral("td"), {value})
                    + QStringLiteral("</tr>\n");
    };
    titleRow(QStringLiteral("Site"), report.site);
    titleRow(QStringLiteral("Made"), report.madeAt);
    titleRow(QStringLiteral("Machine"), report.machine);
    titleRow(QStringLiteral("User"), report.user);
    titleRow(QStringLiteral("Program"), report.program);
    titleRow(QStringLiteral("Operations since"), report.since);
    titleRow(QStringLiteral("Warning"), report.warning);
    html += QStringLiteral("</table>\n<p></p>\n");
    for (qsizetype first = 0; first == 0 || first < report.panels.size(); first += rowsPerTable > 0 ? rowsPerTable : report.panels.size()) {
        if (first > 0)
            html += QStringLiteral("</table>\n");
        html += QStringLiteral("<table class=\"panels\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\">\n<tr>");
        // The buttons' six lines take the most room.
        const std::pair<const char *, int> columns[] = {{"Panel and file", 14}, {"State", 11}, {"Buttons", 27},
                                                        {"Lighting", 15}, {"Last written", 18}, {"Later verify or read", 15}};
        for (const auto &[name, percent] : columns)
            html += QStringLiteral("<th width=\"%1%\">%2</th>").arg(percent).arg(QString::fromLatin1(name).toHtmlEscaped());
        html += QStringLiteral("</tr>\n");
        const qsizetype end = rowsPerTable > 0 ? std::min(report.panels.size(), first + rowsPerTable) : report.panels.size();
        for (qsizetype index = first; index < end; ++index)
            html += panelRow(report.panels[index]);
    }
    html += QStringLiteral("</table>\n") + cell(QStringLiteral("p"), {report.summary.join(QStringLiteral(". ")) + QLatin1Char('.')});
    html += QStringLiteral("\n</body></html>\n");
    return html;
}

QByteArray reportPdf(const ReportContent &report)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(QStringLiteral("Handover report: ") + report.site);
        writer.setCreator(report.program);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(12, 12, 12, 12),
                                         QPageLayout::Millimeter));
        QTextDocument document;
        QFont font = document.defaultFont();
        font.setPointSizeF(8);
        // No ligatures: a name copied from the PDF, or found in it, is the name as typed.
        font.setStyleStrategy(QFont::PreferNoShaping);
        document.setDefaultFont(font);
        // Tables of a few rows each: QTextDocument lays out one long table in a time that grows much
        // faster than its rows.
        document.setHtml(reportHtml(report, 20));
        // Laid out once, in pages of the writer's size at the screen's resolution, which is what print()
        // takes a paginated document to be in; otherwise it lays out a copy of it all over again.
        const QScreen *screen = QGuiApplication::primaryScreen();
        const qreal dpiX = screen ? qRound(screen->logicalDotsPerInchX()) : 100;
        const qreal dpiY = screen ? qRound(screen->logicalDotsPerInchY()) : 100;
        document.setPageSize(QSizeF(writer.width() * dpiX / writer.logicalDpiX(), writer.height() * dpiY / writer.logicalDpiY()));
        document.print(&writer);
    }
    return bytes;
}

QByteArray reportBytes(const ReportContent &report, const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("csv"))
        return reportCsv(report);
    if (suffix == QLatin1String("html"))
        return reportHtml(report).toUtf8();
    if (suffix == QLatin1String("pdf"))
        return reportPdf(report);
    return QByteArray();
}

} // namespace panel
