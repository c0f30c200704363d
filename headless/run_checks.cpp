#include "headless/run_checks.h"

#include "file/atomic_file.h"
#include "file/config_file_ops.h"
#include "file/panel_name.h"
#include "headless/file_name_fields.h"
#include "headless/file_name_limits.h"
#include "link/device_name.h"
#include "model/collecting_view.h"
#include "headless/production_line.h"

#include <QDir>
#include <QFileInfo>

namespace panel {

namespace {

RunRefusal usage(const QString &message) { return {kExitUsage, message}; }
RunRefusal fileFailure(const QString &message) { return {kExitFileFailure, message}; }

// What the window would write after opening the file, and what it would say meanwhile.
std::optional<RunRefusal> checkFileToWrite(JobRequest &request)
{
    const ConfigFileRead read = read_config_file(request.file);
    if (!read.record)
        return fileFailure(QStringLiteral("%1: FILE REFUSED: %2").arg(request.file, read.reason));
    CollectingView messages;
    EditorModel opened(messages);
    opened.runStartUpSteps();
    opened.show_named_config(named_config_of(*read.record));
    for (const QString &message : messages.messages())
        request.fileWarnings << oneLine(message);
    request.fileNamed = opened.gather_named_config();
    if (request.fileNamed)
        request.intended = request.fileNamed->config;
    if (!request.intended)
        return fileFailure(QStringLiteral("%1: FILE REFUSED: a button has no channel").arg(request.file));
    return std::nullopt;
}

std::optional<RunRefusal> checkReadTarget(ProductionRun &run)
{
    ReadTarget &target = run.request.target;
    const FileNameFields fields = fileNameFields(target.pattern);
    if (run.devices.size() > 1 && !fields.namesEachPort())
        return usage(QStringLiteral("With several ports, the file of --read needs {port} or {n} in its name, "
                                    "so that each panel gets a file of its own (e.g. %1-{port}.pnl).")
                         .arg(QFileInfo(target.pattern).completeBaseName()));
    if (run.repeat && !fields.namesEachPanel())
        return usage(QStringLiteral("With --repeat, the file of --read needs {n} or {time} in its name, "
                                    "so that each panel gets a file of its own (e.g. %1-{n}.pnl).")
                         .arg(QFileInfo(target.pattern).completeBaseName()));

    const int taken = fields.n ? highestNumberTaken(target.pattern, run.devices) : 0;
    if (target.count)
        target.count->store(taken);
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (const QString &device : run.devices) {
        const QString path = expandFileName(target.pattern, device, taken + 1, now);
        const QString name = target.panelName.isEmpty() ? QFileInfo(path).completeBaseName() : target.panelName;
        if (const QString problem = panelNameProblem(name); !problem.isEmpty()) {
            return usage(target.panelName.isEmpty()
                             ? QStringLiteral("%1 (the panel name is the file's base name without --name).").arg(problem)
                             : problem + QLatin1Char('.'));
        }
        const QFileInfo folder(QFileInfo(path).absolutePath());
        if (!folder.isDir())
            return fileFailure(QStringLiteral("%1: no such folder").arg(QDir::toNativeSeparators(folder.filePath())));
        if (const QString reason = nameTooLongReason(path); !reason.isEmpty())
            return fileFailure(reason);
        if (const QString reason = notSavableReason(path); !reason.isEmpty())
            return fileFailure(reason);
        // A name that changes with each panel can only be found taken when it is written.
        const QFileInfo existing(path);
        if (!fields.n && !fields.time && !target.replace && (existing.exists() || existing.isSymLink()))
            return fileFailure(QStringLiteral("FILE EXISTS: %1").arg(path));
    }
    return std::nullopt;
}

} // namespace

std::optional<RunRefusal> sameDeviceTwice(const QStringList &devices)
{
    for (int i = 0; i < devices.size(); ++i) {
        for (int j = 0; j < i; ++j) {
            if (oneDeviceName(devices[i]) == oneDeviceName(devices[j]))
                return usage(QStringLiteral("%1 and %2 are the same device.").arg(devices[j], devices[i]));
        }
    }
    return std::nullopt;
}

std::optional<RunRefusal> checkRun(ProductionRun &run)
{
    if (auto twice = sameDeviceTwice(run.devices))
        return twice;
    if (run.request.command == JobRequest::Command::Read)
        return checkReadTarget(run);
    return checkFileToWrite(run.request);
}

} // namespace panel
