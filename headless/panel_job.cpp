#include "headless/panel_job.h"

#include "file/config_file_ops.h"
#include "headless/headless_panel.h"
#include "link/panel_operations.h"
#include "link/serial_line.h"
#include "model/config_display.h"
#include "model/status_texts.h"

#include <QElapsedTimer>
#include <QFileInfo>

namespace panel {

namespace {

int exitCodeOf(PanelOutcome outcome)
{
    switch (outcome) {
    case PanelOutcome::Done:
        return kExitDone;
    case PanelOutcome::PortNotOpened:
        return kExitPortFailure;
    case PanelOutcome::IdentityMismatch:
        return kExitOtherPanel;
    case PanelOutcome::NoResponse:
    case PanelOutcome::BadData:
    case PanelOutcome::Incomplete:
        break;
    }
    return kExitLineFailure;
}

// The result in the window's words: its status text, or the mismatch message it showed instead.
void takeOutcome(JobResult &result, PanelOutcome outcome, const HeadlessPanel &panel)
{
    result.exitCode = exitCodeOf(outcome);
    result.result = outcome == PanelOutcome::IdentityMismatch && !panel.messages().isEmpty()
        ? panel.messages().constLast()
        : panel.status();
}

QString oneLine(QString text) { return text.replace(QChar(10), QChar(' ')); }

// What the window would write after opening the file: the file shown through the rules, gathered.
std::optional<PanelConfig> configOfFile(const QString &path, JobResult &result)
{
    const ConfigFileRead read = read_config_file(path);
    if (!read.record) {
        result.exitCode = kExitFileFailure;
        result.result = QStringLiteral("FILE REFUSED: ") + read.reason;
        return std::nullopt;
    }
    HeadlessPanel opened;
    show_named_config(opened, opened.operationVars(), named_config_of(*read.record));
    for (const QString &message : opened.messages())
        result.warnings << oneLine(message);
    return opened.gather();
}

} // namespace

QString commandName(JobRequest::Command command)
{
    switch (command) {
    case JobRequest::Command::Write:
        return QStringLiteral("write");
    case JobRequest::Command::Verify:
        return QStringLiteral("verify");
    case JobRequest::Command::Read:
        break;
    }
    return QStringLiteral("read");
}

QStringList describeDifferences(const PanelConfig &panel, const PanelConfig &file)
{
    QStringList differences;
    const auto differ = [&](const QString &what, const QString &inPanel, const QString &inFile) {
        if (inPanel != inFile)
            differences << QStringLiteral("%1: panel %2, file %3").arg(what, inPanel, inFile);
    };
    for (int k = 0; k < kButtons; ++k)
        differ(QStringLiteral("SW%1").arg(k + 1), describeSwitchCode(panel.code[k]), describeSwitchCode(file.code[k]));
    const auto onOff = [](qint16 flag) { return flag != 0 ? QStringLiteral("on") : QStringLiteral("off"); };
    differ(QStringLiteral("independent lighting"), onOff(panel.feature), onOff(file.feature));
    differ(QStringLiteral("indicator"), describeIntensity(panel.indicator), describeIntensity(file.indicator));
    differ(QStringLiteral("back-light"), describeIntensity(panel.backlight), describeIntensity(file.backlight));
    return differences;
}

JobResult runJob(const JobRequest &request, SerialLine &line, const std::atomic<bool> *stop)
{
    QElapsedTimer clock;
    clock.start();
    JobResult result;
    result.device = line.deviceName();
    result.command = commandName(request.command);
    result.file = request.file;

    std::optional<PanelConfig> fromFile;
    if (request.command != JobRequest::Command::Read) {
        fromFile = configOfFile(request.file, result);
        if (result.exitCode != kExitDone) {
            result.seconds = double(clock.nsecsElapsed()) / 1e9;
            return result;
        }
    }

    HeadlessPanel panel(stop);
    if (request.command == JobRequest::Command::Write) {
        takeOutcome(result, write_config(panel, panel, line, fromFile), panel);
        if (fromFile)
            result.registers = fromFile->registers();
    } else {
        takeOutcome(result, read_config(panel, panel, line), panel);
        for (const QString &message : panel.messages())
            result.warnings << oneLine(message);
        if (result.exitCode == kExitDone)
            result.registers = panel.shown().registers();
    }

    if (result.exitCode == kExitDone && request.command == JobRequest::Command::Verify) {
        result.differences = describeDifferences(panel.shown(), *fromFile);
        if (!result.differences.isEmpty()) {
            result.exitCode = kExitDifferences;
            result.result = QStringLiteral("SWITCH PANEL DIFFERS FROM THE FILE");
        } else {
            result.result = QStringLiteral("SWITCH PANEL MATCHES THE FILE");
        }
    } else if (result.exitCode == kExitDone && request.command == JobRequest::Command::Read) {
        NamedPanelConfig named;
        named.config = panel.gather().value_or(panel.shown());
        named.panel = request.panelName.isEmpty() ? QFileInfo(request.file).completeBaseName() : request.panelName;
        const QString failure = save_named_config(request.file, named);
        if (!failure.isEmpty()) {
            result.exitCode = kExitFileFailure;
            result.result = QStringLiteral("THE CONFIGURATION FILE COULD NOT BE SAVED: ") + failure;
        }
    }
    result.seconds = double(clock.nsecsElapsed()) / 1e9;
    return result;
}

} // namespace panel
