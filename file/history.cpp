#include "file/history.h"

#include "file/append_log.h"
#include "file/config_file_ops.h"
#include "model/app_settings.h"
#include "model/editor_model.h"
#include "model/status_texts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace panel {

namespace {

const QString kJournal = QStringLiteral("journal.jsonl");
constexpr mode_t kFolderMode = 0700;
constexpr mode_t kFileMode = 0600;
const QString kHistoryKey = QStringLiteral("history/keep");
const QString kBackupKey = QStringLiteral("history/backup-before-write");

// Only files named as the history names its snapshots are ever removed.
const QRegularExpression kSnapshotPattern(QStringLiteral("^\\d{8}T\\d{6}Z-(read|write|backup)-.+\\.pnl$"));

// A part of a file name that any shell and file manager takes as it is.
QString fileNamePart(const QString &text)
{
    QString part;
    for (const QChar c : text)
        part += c.isLetterOrNumber() && c.unicode() < 128 ? c : QChar('_');
    return part;
}

QJsonObject journalLine(const HistoryEntry &entry, const QString &snapshot)
{
    QJsonArray designations;
    for (const QString &designation : entry.designations)
        designations.append(designation);
    QJsonObject line{{QStringLiteral("time"), entry.time.toUTC().toString(Qt::ISODateWithMs)},
                     {QStringLiteral("command"), entry.command},
                     {QStringLiteral("port"), entry.port},
                     {QStringLiteral("result"), entry.result},
                     {QStringLiteral("exit_code"), entry.exitCode},
                     {QStringLiteral("registers"), registersJson(entry.registers)},
                     {QStringLiteral("panel_name"), entry.panelName},
                     {QStringLiteral("designations"), designations},
                     {QStringLiteral("snapshot"), snapshot.isEmpty() ? QJsonValue() : QJsonValue(snapshot)}};
    if (entry.intended)
        line.insert(QStringLiteral("intended"), registersJson(*entry.intended));
    return line;
}

} // namespace

void takeNamesShown(HistoryEntry &entry, const EditorModel &editor)
{
    entry.panelName = editor.panelName();
    for (int k = 0; k < kButtons; ++k)
        entry.designations[size_t(k)] = editor.designation(k);
}

HistoryEntry backupEntry(const QString &port, const SeenRegisters &registers, bool taken, EditorModel &shown,
                         const QString &failure, int exitCode)
{
    HistoryEntry entry;
    entry.command = QStringLiteral("backup");
    entry.port = port;
    entry.registers = registers;
    takeNamesShown(entry, shown);
    if (taken) {
        entry.result = kReadSuccessful;
        entry.snapshot = shown.gather_named_config();
    } else {
        entry.result = failure;
        entry.exitCode = exitCode;
    }
    return entry;
}

History::History(const QString &folder, Retention retention)
    : m_folder(folder)
    , m_retention(retention)
{
}

QString History::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/history");
}

QString History::journalPath() const { return m_folder + QLatin1Char('/') + kJournal; }

QString History::snapshotName(const HistoryEntry &entry)
{
    const QString name = entry.panelName.isEmpty() ? QStringLiteral("unnamed") : fileNamePart(entry.panelName);
    return QStringLiteral("%1-%2-%3-%4.pnl")
        .arg(entry.time.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'")), entry.command, name,
             fileNamePart(QFileInfo(entry.port).fileName()));
}

// The folder and its parents; the folder itself is the user's alone.
QString History::makeFolder() const
{
    const QFileInfo info(m_folder);
    if (info.isDir())
        return QString();
    if (!QDir().mkpath(info.absolutePath()))
        return QStringLiteral("%1 cannot be made").arg(info.absolutePath());
    if (::mkdir(QFile::encodeName(m_folder).constData(), kFolderMode) != 0 && errno != EEXIST)
        return QStringLiteral("%1: %2").arg(m_folder, QString::fromLocal8Bit(std::strerror(errno)));
    return QFileInfo(m_folder).isDir() ? QString() : QStringLiteral("%1 is not a folder").arg(m_folder);
}

QString History::keep(const HistoryEntry &entry)
{
    if (QString failure = makeFolder(); !failure.isEmpty())
        return failure;
    QStringList failures;
    QString snapshot;
    if (entry.snapshot) {
        // Two operations of one second, port and name get names of their own.
        const QString base = snapshotName(entry);
        for (int n = 1; n < 100 && snapshot.isEmpty(); ++n) {
            const QString name = n == 1 ? base : QString(base).replace(QStringLiteral(".pnl"), QStringLiteral("-%1.pnl").arg(n));
            const SaveOutcome saved =
                save_named_config(m_folder + QLatin1Char('/') + name, *entry.snapshot, ExistingFile::Keep, kFileMode);
            if (saved.saved())
                snapshot = name;
            else if (saved.kind == SaveOutcome::Failed)
                break;
        }
        if (snapshot.isEmpty())
            failures << QStringLiteral("the snapshot could not be saved");
    }
    AppendLog journal;
    QString failure = journal.open(journalPath(), kFileMode);
    if (failure.isEmpty())
        failure = journal.append(QJsonDocument(journalLine(entry, snapshot)).toJson(QJsonDocument::Compact));
    if (!failure.isEmpty())
        failures << QStringLiteral("%1: %2").arg(journalPath(), failure);
    if (!snapshot.isEmpty()) {
        if (const QString pruned = prune(); !pruned.isEmpty())
            failures << pruned;
    }
    return failures.join(QStringLiteral("; "));
}

// The newest snapshots stay while both limits allow; the older ones go.
QString History::prune() const
{
    QDir folder(m_folder);
    QFileInfoList snapshots;
    for (const QFileInfo &info : folder.entryInfoList(QDir::Files | QDir::Hidden, QDir::Name | QDir::Reversed)) {
        if (kSnapshotPattern.match(info.fileName()).hasMatch() && !info.isSymLink())
            snapshots << info;
    }
    int kept = 0;
    qint64 bytes = 0;
    bool full = false;
    QStringList failed;
    for (const QFileInfo &info : snapshots) {
        full = full || kept >= m_retention.snapshots || bytes + info.size() > m_retention.bytes;
        if (!full) {
            ++kept;
            bytes += info.size();
        } else if (!QFile::remove(info.filePath())) {
            failed << info.fileName();
        }
    }
    return failed.isEmpty() ? QString() : QStringLiteral("old snapshots could not be removed: ") + failed.join(QStringLiteral(", "));
}

History::Listing History::entries(const QString &port) const
{
    Listing listing;
    QFile journal(journalPath());
    if (!journal.exists())
        return listing;
    if (!journal.open(QIODevice::ReadOnly)) {
        listing.error = QStringLiteral("%1: %2").arg(journalPath(), journal.errorString());
        return listing;
    }
    while (!journal.atEnd()) {
        const QJsonObject line = QJsonDocument::fromJson(journal.readLine()).object();
        if (line.isEmpty())
            continue; // a line cut short by a crash tells nothing
        if (port.isEmpty() || line.value(QStringLiteral("port")).toString() == port)
            listing.entries.prepend(line);
    }
    return listing;
}

QJsonArray registersJson(const SeenRegisters &registers)
{
    QJsonArray values;
    for (const std::optional<qint16> &value : registers)
        values.append(value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null));
    return values;
}

QJsonArray registersJson(const std::array<qint16, kConfigRegisters> &registers)
{
    QJsonArray values;
    for (qint16 value : registers)
        values.append(value);
    return values;
}

bool historyKept() { return openSettings()->value(kHistoryKey, true).toBool(); }

void setHistoryKept(bool kept)
{
    const auto settings = openSettings();
    settings->setValue(kHistoryKey, kept);
    settings->sync();
}

bool backupBeforeWrite() { return openSettings()->value(kBackupKey, false).toBool(); }

void setBackupBeforeWrite(bool backup)
{
    const auto settings = openSettings();
    settings->setValue(kBackupKey, backup);
    settings->sync();
}

} // namespace panel
