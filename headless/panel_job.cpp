#include "headless/panel_job.h"

#include "file/config_file_ops.h"
#include "file/panel_name.h"
#include "headless/file_name_fields.h"
#include "headless/job_host.h"
#include "link/device_name.h"
#include "link/panel_operations.h"
#include "link/serial_line.h"
#include "model/editor_model.h"
#include "model/status_texts.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFileInfo>

namespace panel {

namespace {

// The result in the window's words: its status text, or the mismatch message it showed instead.
void takeOutcome(JobResult &result, const PanelResult &done, const JobHost &host, const CollectingView &messages,
                 const SerialLine &line)
{
    const PanelOutcome outcome = done.outcome;
    result.exitCode = exitCodeOf(outcome);
    result.registers = done.registers;
    if (outcome == PanelOutcome::Stopped)
        result.result = kStoppedText;
    else if (outcome == PanelOutcome::IdentityMismatch && !messages.messages().isEmpty())
        result.result = messages.messages().constLast();
    else
        result.result = host.status();
    if (outcome == PanelOutcome::PortNotOpened) {
        result.portFailure = true;
        result.advice = line.openAdvice();
    }
}

// A panel read whole goes to the file its target names for it, never over a file it must keep.
void saveRead(JobResult &result, const ReadTarget &target, EditorModel &editor, const QString &device)
{
    const int n = target.count ? target.count->fetch_add(1) + 1 : 1;
    const QString path = expandFileName(target.pattern, device, n, QDateTime::currentDateTimeUtc());
    result.file = path;
    NamedPanelConfig named;
    named.config = editor.gather_config().value_or(configSeen(result.registers).value_or(PanelConfig()));
    named.panel = target.panelName.isEmpty() ? QFileInfo(path).completeBaseName() : target.panelName;
    if (const QString problem = panelNameProblem(named.panel); !problem.isEmpty()) {
        result.exitCode = kExitFileFailure;
        result.result = QStringLiteral("THE CONFIGURATION FILE COULD NOT BE SAVED: ") + problem;
        return;
    }
    const SaveOutcome saved =
        save_named_config(path, named, target.replace ? ExistingFile::Replace : ExistingFile::Keep);
    if (saved.kind == SaveOutcome::Exists) {
        result.exitCode = kExitFileFailure;
        result.result = saved.reason;
    } else if (!saved.saved()) {
        result.exitCode = kExitFileFailure;
        result.result = QStringLiteral("THE CONFIGURATION FILE COULD NOT BE SAVED: ") + saved.reason;
    } else if (saved.kind == SaveOutcome::SavedUnconfirmed) {
        // The new file is in place: the read is done, only a crash right now could still undo it.
        result.warnings << QStringLiteral("%1 saved, but its durability could not be confirmed: %2").arg(path, saved.reason);
    }
}

// Taken once the result is known, with the device's one name.
HistoryEntry entryOf(const JobResult &result)
{
    HistoryEntry entry;
    entry.command = result.command;
    entry.port = oneDeviceName(result.device);
    entry.result = result.result;
    entry.exitCode = result.exitCode;
    entry.registers = result.registers;
    entry.intended = result.intended;
    return entry;
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
    result.warnings = request.fileWarnings;
    if (request.intended)
        result.intended = request.intended->registers();

    // The window as it starts, its messages kept as warnings.
    CollectingView messages;
    EditorModel editor(messages);
    editor.runStartUpSteps();
    JobHost host(messages, stop);
    // The panel read before writing, as the window would show it (its messages are not the write's).
    CollectingView backupMessages;
    EditorModel backup(backupMessages);
    backup.runStartUpSteps();
    PanelResult done;
    if (request.command == JobRequest::Command::Write) {
        done = write_config(host, host, line, request.intended, request.backup ? &backup : nullptr);
        takeOutcome(result, done, host, messages, line);
    } else {
        done = read_config(host, host, line, editor);
        takeOutcome(result, done, host, messages, line);
        for (const QString &message : messages.messages())
            result.warnings << oneLine(message);
    }

    if (result.exitCode == kExitDone && request.command == JobRequest::Command::Verify && request.intended) {
        result.differences = describeDifferences(configSeen(result.registers).value_or(PanelConfig()), *request.intended);
        if (!result.differences.isEmpty()) {
            result.exitCode = kExitDifferences;
            result.result = QStringLiteral("SWITCH PANEL DIFFERS FROM THE FILE");
        } else {
            result.result = QStringLiteral("SWITCH PANEL MATCHES THE FILE");
        }
    } else if (result.exitCode == kExitDone && request.command == JobRequest::Command::Read) {
        saveRead(result, request.target, editor, result.device);
    }

    if (done.backup)
        result.history << backupEntry(oneDeviceName(result.device), *done.backup, done.backupTaken, backup, result.result, result.exitCode);
    HistoryEntry entry = entryOf(result);
    if (request.command == JobRequest::Command::Write) {
        if (request.fileNamed) {
            entry.panelName = request.fileNamed->panel;
            entry.designations = request.fileNamed->designation;
        }
        if (done.outcome == PanelOutcome::Done)
            entry.snapshot = request.fileNamed;
    } else {
        takeNamesShown(entry, editor);
        if (request.command == JobRequest::Command::Read && done.outcome == PanelOutcome::Done)
            entry.snapshot = editor.gather_named_config();
    }
    result.history << entry;
    result.seconds = double(clock.nsecsElapsed()) / 1e9;
    return result;
}

} // namespace panel
