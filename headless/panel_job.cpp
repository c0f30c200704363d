#include "headless/panel_job.h"

#include "file/config_file_ops.h"
#include "file/panel_name.h"
#include "headless/file_name_fields.h"
#include "headless/job_host.h"
#include "link/panel_runs.h"
#include "link/panel_verify.h"
#include "link/serial_line.h"
#include "model/config_differences.h"
#include "model/editor_model.h"
#include "model/status_texts.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFileInfo>

namespace panel {

namespace {

// What the command line tells of a run: its result in the window's words, and what the history keeps.
void takeRun(JobResult &result, const PanelRun &run, const SerialLine &line)
{
    result.exitCode = exitCodeOf(run.done.outcome);
    result.registers = run.done.registers;
    result.result = run.words;
    result.detail = run.explanation;
    result.history = run.history;
    if (run.done.outcome == PanelOutcome::PortNotOpened) {
        result.portFailure = true;
        result.advice = line.openAdvice();
    }
}

// A verify that read the panel whole: its differences from the file.
void compareWithFile(JobResult &result, const PanelConfig &file)
{
    result.differences = describeDifferences(configSeen(result.registers).value_or(PanelConfig()), file);
    if (!result.differences.isEmpty()) {
        result.exitCode = kExitDifferences;
        result.result = kDiffersFromFile;
    } else {
        result.result = kMatchesFile;
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

WriteOrder writeOrderOf(const JobRequest &request)
{
    WriteOrder order;
    order.config = request.intended;
    if (request.fileNamed) {
        order.panelName = request.fileNamed->panel;
        order.designations = request.fileNamed->designation;
    }
    order.backup = request.backup;
    return order;
}

// A read or a verify, then what it ends with: the file saved, or the differences from the file. The
// history's entry tells that end too.
void readPanel(JobResult &result, const JobRequest &request, SerialLine &line, JobHost &host, CollectingView &messages,
               LineObserver *observer)
{
    EditorModel editor(messages); // the window as it starts, its messages kept as warnings
    editor.runStartUpSteps();
    takeRun(result, read_panel(host, host, line, editor, result.command, request.intended, observer), line);
    for (const QString &message : messages.messages())
        result.warnings << oneLine(message);
    if (result.exitCode == kExitDone && request.command == JobRequest::Command::Verify && request.intended)
        compareWithFile(result, *request.intended);
    else if (result.exitCode == kExitDone && request.command == JobRequest::Command::Read)
        saveRead(result, request.target, editor, result.device);
    result.history.last().result = result.result;
    result.history.last().exitCode = result.exitCode;
    // A verify is of the file's panel: the history names it so, as a write of that file does.
    if (request.command == JobRequest::Command::Verify && request.fileNamed) {
        result.history.last().panelName = request.fileNamed->panel;
        result.history.last().designations = request.fileNamed->designation;
    }
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
    return describeDifferences(wordsOf(panel), QStringLiteral("panel"), wordsOf(file), QStringLiteral("file"));
}

JobResult startedResult(const JobRequest &request, const SerialLine &line)
{
    JobResult result;
    result.device = line.deviceName();
    result.command = commandName(request.command);
    result.file = request.file;
    result.warnings = request.fileWarnings;
    if (request.intended)
        result.intended = request.intended->registers();
    return result;
}

JobResult runJob(const JobRequest &request, SerialLine &line, const std::atomic<bool> *stop, LineObserver *observer)
{
    QElapsedTimer clock;
    clock.start();
    JobResult result = startedResult(request, line);
    CollectingView messages;
    JobHost host(messages, stop, request.tickMilliseconds);
    if (request.command == JobRequest::Command::Write)
        takeRun(result, write_panel(host, host, line, writeOrderOf(request), observer), line);
    else
        readPanel(result, request, line, host, messages, observer);
    result.seconds = double(clock.nsecsElapsed()) / 1e9;
    return result;
}

} // namespace panel
