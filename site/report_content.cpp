#include "site/report_content.h"

#include "site/local_time.h"

#include <QCoreApplication>
#include <QDir>
#include <QSysInfo>

#include <pwd.h>
#include <unistd.h>

namespace panel {

namespace {

QString userName()
{
    if (const passwd *entry = ::getpwuid(::getuid()); entry && entry->pw_name)
        return QString::fromLocal8Bit(entry->pw_name);
    return qEnvironmentVariable("USER");
}

QString oneLine(QString text) { return text.replace(QChar(10), QStringLiteral(": ")); }

ReportPanel panelOf(const SiteRow &row)
{
    ReportPanel panel;
    const bool refused = !row.file.named && !row.file.path.isEmpty();
    panel.file = row.file.file;
    panel.panelName = refused ? QString() : row.panelName;
    panel.state = rowStateWords(row);
    if (!row.sameName.isEmpty())
        panel.state += QStringLiteral("; same panel name as ") + row.sameName.join(QStringLiteral(", "));
    const std::optional<NamedPanelConfig> named = row.file.named ? row.file.named : row.status.written;
    if (named) {
        panel.known = true;
        for (int k = 0; k < kButtons; ++k) {
            panel.designations[size_t(k)] = named->designation[size_t(k)];
            panel.assignments[size_t(k)] = assignmentWords(named->config.code[size_t(k)]);
        }
        panel.independentLighting = named->config.feature != 0 ? QStringLiteral("on") : QStringLiteral("off");
        panel.indicator = describeIntensity(named->config.indicator);
        panel.backlight = describeIntensity(named->config.backlight);
    }
    if (const std::optional<PanelOperation> &write = row.status.write) {
        panel.writtenAt = localTimeWithOffset(write->time);
        panel.writtenPort = write->port;
        panel.writeResult = oneLine(write->result);
    }
    if (const std::optional<PanelOperation> &check = row.status.check) {
        panel.check = QStringLiteral("%1 %2 (%3)")
                          .arg(check->command, row.status.checkMatched ? QStringLiteral("matched") : QStringLiteral("did not match"),
                               localTimeWithOffset(check->time));
    }
    return panel;
}

} // namespace

QString assignmentWords(qint16 code)
{
    if (code >= kNaCode)
        return QStringLiteral("N/A");
    if (code == kBlMrCode)
        return QStringLiteral("BL/MR");
    if (code < 0)
        return QStringLiteral("code %1").arg(code);
    return QStringLiteral("module %1, channel %2").arg(QChar('A' + code / 10)).arg(code % 10 + 1);
}

ReportContent reportContent(const SiteStates &states, const QString &site, const QDateTime &since, const QDateTime &now)
{
    ReportContent report;
    report.site = site.isEmpty() ? QStringLiteral("every panel in the history") : QDir(site).absolutePath();
    report.madeAt = localTimeWithOffset(now);
    report.machine = QSysInfo::machineHostName();
    report.user = userName();
    report.program = QStringLiteral("%1 %2").arg(QCoreApplication::applicationName(), QCoreApplication::applicationVersion());
    report.since = localTimeWithOffset(since);
    report.warning = states.warning;
    int written = 0;
    int verified = 0;
    int failed = 0;
    for (const SiteRow &row : states.rows) {
        report.panels << panelOf(row);
        if (row.file.named || row.file.path.isEmpty()) {
            written += row.status.state == PanelState::Written ? 1 : 0;
            verified += row.status.state == PanelState::Verified ? 1 : 0;
            failed += row.status.state == PanelState::Failed ? 1 : 0;
        }
    }
    const qsizetype panels = states.rows.size();
    report.summary = QStringList{QStringLiteral("Panels: %1").arg(panels), QStringLiteral("Written: %1").arg(written),
                                 QStringLiteral("Verified: %1").arg(verified),
                                 QStringLiteral("Not yet done: %1").arg(panels - written - verified - failed),
                                 QStringLiteral("Failed: %1").arg(failed)};
    return report;
}

} // namespace panel
