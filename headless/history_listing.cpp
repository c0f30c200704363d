#include "headless/history_listing.h"

#include "file/history.h"
#include "headless/terminal_text.h"
#include "headless/text_output.h"
#include "link/device_name.h"
#include "link/panel_operations.h"

#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>

namespace panel {

namespace {

QString describe(const QJsonObject &entry)
{
    const auto text = [&entry](const char *key) { return entry.value(QLatin1String(key)).toString(); };
    QString line = QStringLiteral("%1  %2  %3: %4 (exit %5)")
                       .arg(text("time"), text("command"), text("port"), text("result").replace(QChar(10), QStringLiteral(": ")))
                       .arg(entry.value(QStringLiteral("exit_code")).toInt());
    if (!text("panel_name").isEmpty())
        line += QStringLiteral("  \"%1\"").arg(text("panel_name"));
    if (!text("snapshot").isEmpty())
        line += QStringLiteral("  ") + text("snapshot");
    if (!text("detail").isEmpty())
        line += QStringLiteral("  ") + text("detail");
    return shownOnTerminal(line);
}

// The JSON line as kept, with DEL and the C1 controls escaped too: JSON leaves them as they are, and
// some terminals act on them.
QString asJson(const QJsonObject &entry)
{
    const QString json = QString::fromUtf8(QJsonDocument(entry).toJson(QJsonDocument::Compact));
    QString shown;
    shown.reserve(json.size());
    for (const QChar c : json) {
        if (c.unicode() >= 0x7F && c.unicode() <= 0x9F)
            shown += QStringLiteral("\\u%1").arg(uint(c.unicode()), 4, 16, QLatin1Char('0'));
        else
            shown += c;
    }
    return shown;
}

// The one name of each port the journal names, looked up once; a journal of many names cannot make
// the table grow without end.
class DeviceNames
{
public:
    QString of(const QString &port)
    {
        if (const auto known = m_names.constFind(port); known != m_names.cend())
            return *known;
        if (m_names.size() >= 1024)
            m_names.clear();
        return *m_names.insert(port, oneDeviceName(port));
    }

private:
    QHash<QString, QString> m_names;
};

} // namespace

int listHistory(const History &history, const QString &port, bool json, TextOutput &out, TextOutput &err)
{
    const QString wanted = oneDeviceName(port);
    DeviceNames names;
    const JournalRead read = history.readEntries([&](const QJsonObject &entry) {
        if (!wanted.isEmpty() && names.of(entry.value(QStringLiteral("port")).toString()) != wanted)
            return true;
        return out.writeLine(json ? asJson(entry) : describe(entry));
    });
    if (!read.error.isEmpty()) {
        err.writeLine(QStringLiteral("panelconfig: the history cannot be read: ") + read.error);
        return kExitFileFailure;
    }
    if (read.unreadable > 0) {
        err.writeLine(QStringLiteral("panelconfig: warning: %1 line%2 of the history's journal %3 could not be read")
                          .arg(read.unreadable)
                          .arg(read.unreadable == 1 ? "" : "s")
                          .arg(history.journalPath()));
    }
    if (out.failed()) {
        err.writeLine(QStringLiteral("panelconfig: the history could not be printed: ") + out.error());
        return kExitFileFailure;
    }
    return kExitDone;
}

} // namespace panel
