#include "site/site_states.h"

#include "file/history.h"

#include <QHash>
#include <QMap>
#include <QSet>

#include <array>

namespace panel {

namespace {

constexpr int kStateCount = int(PanelState::Unknown) + 1;

// The panel name of a journal line as the history writes it (compact, the name plain between quotes), read
// without parsing the line; nothing when it is not plainly there.
std::optional<QByteArrayView> plainPanelName(QByteArrayView line)
{
    static constexpr QByteArrayView key("\"panel_name\":\"");
    const qsizetype at = line.indexOf(key);
    if (at < 0)
        return std::nullopt;
    const qsizetype start = at + key.size();
    const qsizetype end = line.indexOf('"', start);
    if (end < 0)
        return std::nullopt;
    const QByteArrayView name = line.sliced(start, end - start);
    if (name.contains('\\'))
        return std::nullopt;
    return name;
}

// Operations of one panel name before since are not looked at; nothing older is wanted once every
// trail is settled. wanted passes over the lines of names no trail needs before they are parsed.
template<typename Take>
JournalRead readOperations(const History &history, const QDateTime &since, Take take, const JournalLineFilter &wanted = {})
{
    return history.readEntries([&](const QJsonObject &line) {
        const QString name = line.value(QLatin1String("panel_name")).toString();
        if (name.isEmpty())
            return true;
        const PanelOperation operation = operationOf(line);
        if (since.isValid() && operation.time.isValid() && operation.time < since)
            return true;
        return take(name, operation);
    }, wanted);
}

void markUnknown(SiteStates &states, const JournalRead &read)
{
    states.unreadableLines = read.unreadable;
    if (read.error.isEmpty())
        return;
    states.warning = QStringLiteral("the history cannot be read, every state is unknown: ") + read.error;
    for (SiteRow &row : states.rows) {
        row.status = PanelStatus();
        row.status.state = PanelState::Unknown;
    }
}

} // namespace

SiteStates siteStates(const SiteScan &scan, const History &history, const QDateTime &since)
{
    SiteStates states;
    QHash<QString, QList<int>> rowsOfName;
    QList<PanelTrail> trails;
    for (const SiteFile &file : scan.files) {
        SiteRow row;
        row.file = file;
        if (file.named) {
            row.panelName = file.named->panel;
            rowsOfName[row.panelName] << int(states.rows.size());
        }
        trails << PanelTrail(file.named);
        states.rows << row;
    }
    for (const QList<int> &rows : std::as_const(rowsOfName)) {
        for (int index : rows) {
            for (int other : rows) {
                if (other != index)
                    states.rows[index].sameName << states.rows[other].file.file;
            }
        }
    }
    QSet<QByteArray> unsettled; // the names whose trail still needs older lines, as the journal spells them
    for (auto name = rowsOfName.cbegin(); name != rowsOfName.cend(); ++name)
        unsettled.insert(name.key().toUtf8());
    const auto wanted = [&unsettled](QByteArrayView line) {
        const std::optional<QByteArrayView> name = plainPanelName(line);
        return !name || unsettled.contains(QByteArray::fromRawData(name->data(), name->size()));
    };
    const JournalRead read = readOperations(history, since, [&](const QString &name, const PanelOperation &operation) {
        const auto rows = rowsOfName.constFind(name);
        if (rows == rowsOfName.cend() || trails[rows->constFirst()].settled())
            return true;
        for (int index : *rows)
            trails[index].take(operation);
        if (trails[rows->constFirst()].settled())
            unsettled.remove(name.toUtf8());
        return !unsettled.isEmpty();
    }, wanted);
    for (qsizetype index = 0; index < states.rows.size(); ++index) {
        if (states.rows[index].file.named)
            states.rows[index].status = trails[index].status();
    }
    markUnknown(states, read);
    return states;
}

SiteStates historyStates(const History &history, const QDateTime &since)
{
    QMap<QString, PanelTrail> trails; // by name, so that the report's order is the names'
    const JournalRead read = readOperations(history, since, [&](const QString &name, const PanelOperation &operation) {
        trails[name].take(operation);
        return true;
    });
    SiteStates states;
    for (auto trail = trails.cbegin(); trail != trails.cend(); ++trail) {
        SiteRow row;
        row.panelName = trail.key();
        row.status = trail->status();
        states.rows << row;
    }
    markUnknown(states, read);
    return states;
}

QString rowStateWords(const SiteRow &row)
{
    if (!row.file.named && !row.file.path.isEmpty())
        return QStringLiteral("refused: ") + row.file.refusal;
    return stateWords(row.status.state);
}

QString siteSummary(const QList<SiteRow> &rows)
{
    std::array<int, kStateCount> counts{};
    int refused = 0;
    int sharing = 0;
    for (const SiteRow &row : rows) {
        if (!row.file.named && !row.file.path.isEmpty())
            ++refused;
        else
            ++counts[size_t(row.status.state)];
        sharing += row.sameName.isEmpty() ? 0 : 1;
    }
    // The states in the order a site moves towards its end.
    const PanelState order[] = {PanelState::Verified, PanelState::Written, PanelState::NotWritten,
                                PanelState::ChangedSinceWritten, PanelState::Differs, PanelState::Failed,
                                PanelState::Unknown};
    QStringList parts;
    for (PanelState state : order) {
        if (counts[size_t(state)] > 0)
            parts << QStringLiteral("%1 %2").arg(counts[size_t(state)]).arg(stateWords(state));
    }
    if (refused > 0)
        parts << QStringLiteral("%1 refused").arg(refused);
    if (sharing > 0)
        parts << QStringLiteral("%1 sharing a panel name").arg(sharing);
    const qsizetype total = rows.size();
    return QStringLiteral("%1 panel%2: %3").arg(total).arg(total == 1 ? "" : "s", parts.join(QStringLiteral(", ")));
}

} // namespace panel
