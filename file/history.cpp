#include "file/history.h"

#include "file/append_log.h"
#include "file/config_file_ops.h"
#include "file/own_files.h"
#include "model/editor_model.h"
#include "model/status_texts.h"
#include "model/time_stamp.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QSet>
#include <QSettings>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
    if (!entry.detail.isEmpty())
        line.insert(QStringLiteral("detail"), entry.detail);
    return line;
}

} // namespace

History::History(const QString &folder, Retention retention)
    : m_folder(folder)
    , m_retention(retention)
{
}

QString History::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/panelconfig/history");
}

QString History::journalPath() const { return m_folder + QLatin1Char('/') + kJournal; }

QString History::snapshotName(const HistoryEntry &entry)
{
    const QString name = entry.panelName.isEmpty() ? QStringLiteral("unnamed") : fileNamePart(entry.panelName);
    return QStringLiteral("%1-%2-%3-%4.pnl")
        .arg(fileNameTime(entry.time), entry.command, name,
             fileNamePart(QFileInfo(entry.port).fileName()));
}

// The folder and its parents; the folder itself is the user's alone: made 0700, or narrowed to it.
QString History::makeFolder() const
{
    OwnFile folder = openOwn(m_folder, O_RDONLY | O_DIRECTORY, OwnFile::Folder, true);
    if (folder.missing) {
        const QString parent = QFileInfo(m_folder).absolutePath();
        if (!QDir().mkpath(parent))
            return QStringLiteral("%1 cannot be made").arg(parent);
        if (::mkdir(QFile::encodeName(m_folder).constData(), kFolderMode) != 0 && errno != EEXIST)
            return QStringLiteral("%1: %2").arg(m_folder, QString::fromLocal8Bit(std::strerror(errno)));
        folder = openOwn(m_folder, O_RDONLY | O_DIRECTORY, OwnFile::Folder, true);
    }
    if (folder.fd < 0)
        return folder.refusal;
    ::close(folder.fd);
    return QString();
}

// Why the folder may not be read as the history, or nothing (no folder yet included).
QString History::folderRefusal() const
{
    const OwnFile folder = openOwn(m_folder, O_RDONLY | O_DIRECTORY, OwnFile::Folder, false);
    if (folder.fd >= 0)
        ::close(folder.fd);
    return folder.missing ? QString() : folder.refusal;
}

HistoryKept History::keep(const HistoryEntry &entry)
{
    HistoryKept kept;
    kept.failure = makeFolder();
    if (!kept.failure.isEmpty())
        return kept;
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
            if (saved.kind == SaveOutcome::SavedUnconfirmed)
                kept.warning = QStringLiteral("the snapshot %1 was kept, but its durability could not be confirmed: %2")
                                   .arg(name, saved.reason);
            if (saved.kind == SaveOutcome::Failed)
                break;
        }
        if (snapshot.isEmpty())
            failures << QStringLiteral("the snapshot could not be saved");
    }
    AppendLog journal;
    QString failure = journal.open(journalPath(), kFileMode, AppendLog::Accept::OwnRegularFile);
    if (failure.isEmpty())
        failure = journal.append(QJsonDocument(journalLine(entry, snapshot)).toJson(QJsonDocument::Compact));
    if (!failure.isEmpty())
        failures << (failure.startsWith(journalPath()) ? failure : QStringLiteral("%1: %2").arg(journalPath(), failure));
    if (!snapshot.isEmpty()) {
        if (const QString pruned = prune(snapshot); !pruned.isEmpty())
            failures << pruned;
    }
    kept.failure = failures.join(QStringLiteral("; "));
    return kept;
}

// While either limit is passed, the snapshots go that the newest journal lines do not name: they are
// taken newest first in the order the journal recorded them (whatever the clock said, so the names'
// times tell nothing), the one just written before all, and those the journal does not name at all last.
QString History::prune(const QString &justWritten) const
{
    QHash<QString, qint64> sizes;
    qint64 total = 0;
    for (const QFileInfo &info : QDir(m_folder).entryInfoList(QDir::Files | QDir::Hidden)) {
        if (kSnapshotPattern.match(info.fileName()).hasMatch() && !info.isSymLink()) {
            sizes.insert(info.fileName(), info.size());
            total += info.size();
        }
    }
    if (sizes.size() <= m_retention.snapshots && total <= m_retention.bytes)
        return QString();

    QSet<QString> kept;
    qint64 bytes = 0;
    bool full = false;
    const auto keepNamed = [&](const QString &name) {
        if (full || kept.contains(name) || !sizes.contains(name))
            return;
        const qint64 size = sizes.value(name);
        if (!kept.isEmpty() && (kept.size() >= m_retention.snapshots || bytes + size > m_retention.bytes)) {
            full = true;
            return;
        }
        kept.insert(name);
        bytes += size;
    };
    keepNamed(justWritten);
    const JournalRead read = readEntries([&](const QJsonObject &line) {
        keepNamed(line.value(QStringLiteral("snapshot")).toString());
        return !full;
    });
    // Without the journal's order nothing can be told old.
    if (!read.error.isEmpty())
        return QStringLiteral("old snapshots were not removed: ") + read.error;
    QStringList failed;
    for (auto snapshot = sizes.cbegin(); snapshot != sizes.cend(); ++snapshot) {
        if (!kept.contains(snapshot.key()) && !QFile::remove(m_folder + QLatin1Char('/') + snapshot.key()))
            failed << snapshot.key();
    }
    failed.sort();
    return failed.isEmpty() ? QString() : QStringLiteral("old snapshots could not be removed: ") + failed.join(QStringLiteral(", "));
}

JournalRead History::readEntries(const std::function<bool(const QJsonObject &)> &take, const JournalLineFilter &wanted) const
{
    JournalRead read;
    read.error = folderRefusal();
    if (!read.error.isEmpty())
        return read;
    const OwnFile journal = openOwn(journalPath(), O_RDONLY, OwnFile::Regular, false);
    if (journal.missing)
        return read;
    if (journal.fd < 0) {
        read.error = journal.refusal;
        return read;
    }
    read = readNewestFirst(journal.fd, take, wanted);
    ::close(journal.fd);
    if (!read.error.isEmpty())
        read.error = QStringLiteral("%1: %2").arg(journalPath(), read.error);
    return read;
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

bool historyKept() { return QSettings().value(kHistoryKey, true).toBool(); }

void setHistoryKept(bool kept) { QSettings().setValue(kHistoryKey, kept); }

bool backupBeforeWrite() { return QSettings().value(kBackupKey, false).toBool(); }

void setBackupBeforeWrite(bool backup) { QSettings().setValue(kBackupKey, backup); }

} // namespace panel
