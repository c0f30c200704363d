// The history's folder: what it keeps of an entry, its modes, and which snapshots retention removes.
#include "file/config_file_ops.h"
#include "file/history.h"
#include "file/pnl_codec.h"
#include "files.h"
#include "sample_record.h"

#include <QDir>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using namespace panel;

namespace {

HistoryEntry entryAt(int second, const QString &command = QStringLiteral("write"))
{
    HistoryEntry entry;
    entry.time = QDateTime(QDate(2026, 12, 8), QTime(21, 30, second), Qt::UTC);
    entry.command = command;
    entry.port = QStringLiteral("/dev/ttyUSB0");
    entry.result = QStringLiteral("SWITCH PANEL HAS BEEN PROGRAMMED");
    NamedPanelConfig named;
    named.panel = QStringLiteral("LOBBY");
    entry.panelName = named.panel;
    entry.snapshot = named;
    return entry;
}

unsigned modeOf(const QString &path)
{
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & 07777 : 0;
}

} // namespace

class TestHistory : public QObject
{
    Q_OBJECT

private slots:
    void keepsAnEntry()
    {
        QTemporaryDir home;
        History history(home.filePath(QStringLiteral("data/panelconfig/history")));
        HistoryEntry entry = entryAt(0);
        entry.registers[0] = 0;
        entry.intended = std::array<qint16, kConfigRegisters>{0, 12, 159, 160, 160, 160, 159, 1, 10, 3};
        entry.snapshot = named_config_of(test::lobbyRecord());
        QCOMPARE(history.keep(entry), QString());
        const QString snapshot = history.folder() + QStringLiteral("/20261208T213000Z-write-LOBBY-ttyUSB0.pnl");
        QCOMPARE(readAll(snapshot), test::kLobbyFields + "\r\n");
        QCOMPARE(modeOf(history.folder()), 0700u);
        QCOMPARE(modeOf(snapshot), 0600u);
        QCOMPARE(modeOf(history.journalPath()), 0600u);
        const QJsonObject line = history.entries().entries.value(0);
        QCOMPARE(line.value(QStringLiteral("snapshot")).toString(), QFileInfo(snapshot).fileName());
        QCOMPARE(line.value(QStringLiteral("time")).toString(), QStringLiteral("2026-12-08T21:30:00.000Z"));
        QCOMPARE(QJsonDocument(line.value(QStringLiteral("registers")).toArray()).toJson(QJsonDocument::Compact),
                 QByteArray("[0,null,null,null,null,null,null,null,null,null]"));
        QCOMPARE(line.value(QStringLiteral("intended")).toArray().size(), kConfigRegisters);
        // The same second, port and name again: a name of its own.
        QCOMPARE(history.keep(entry), QString());
        QVERIFY(QFile::exists(history.folder() + QStringLiteral("/20261208T213000Z-write-LOBBY-ttyUSB0-2.pnl")));
        QCOMPARE(history.entries().entries.size(), 2);
        QCOMPARE(history.entries(QStringLiteral("/dev/ttyUSB1")).entries.size(), 0);
    }

    void retention_data()
    {
        QTest::addColumn<int>("snapshots");
        QTest::addColumn<int>("fitInBytes"); // how many snapshots the byte limit holds
        QTest::addColumn<QStringList>("kept"); // seconds of the snapshots left
        QTest::newRow("the newest three") << 3 << 100 << QStringList{"05", "04", "03"};
        QTest::newRow("two fit the bytes") << 100 << 2 << QStringList{"05", "04"};
    }

    // Only the oldest of the history's own snapshots go: never the journal, nor anything else in the folder.
    void retention()
    {
        QFETCH(int, snapshots);
        QFETCH(int, fitInBytes);
        QFETCH(QStringList, kept);
        QTemporaryDir dir;
        const qint64 size = encodePanelFile(record_of(*entryAt(0).snapshot))->size();
        History history(dir.filePath(QStringLiteral("history")), Retention{snapshots, fitInBytes * size + size / 2});
        QVERIFY(history.keep(entryAt(0)).isEmpty());
        for (const char *foreign : {"notes.txt", "20261208T000000Z-mine.pnl", "LOBBY.pnl"})
            QVERIFY(writeAll(history.folder() + QLatin1Char('/') + QLatin1String(foreign), "mine"));
        for (int second = 1; second <= 5; ++second)
            QVERIFY(history.keep(entryAt(second)).isEmpty());
        QStringList left;
        for (const QString &name : QDir(history.folder()).entryList({QStringLiteral("20261208T2130*")}, QDir::Files, QDir::Name | QDir::Reversed))
            left << name.mid(13, 2);
        QCOMPARE(left, kept);
        for (const char *foreign : {"notes.txt", "20261208T000000Z-mine.pnl", "LOBBY.pnl", "journal.jsonl"})
            QVERIFY(QFile::exists(history.folder() + QLatin1Char('/') + QLatin1String(foreign)));
        QCOMPARE(history.entries().entries.size(), 6);
    }

    // A journal that cannot be written is said, and the snapshot is kept all the same.
    void unwritableJournal()
    {
        QTemporaryDir dir;
        History history(dir.filePath(QStringLiteral("history")));
        QVERIFY(QDir().mkpath(history.journalPath())); // a folder where the journal should be
        const QString failure = history.keep(entryAt(0));
        QVERIFY2(failure.contains(QStringLiteral("journal.jsonl")), qPrintable(failure));
        QCOMPARE(QDir(history.folder()).entryList({QStringLiteral("*.pnl")}).size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestHistory)
#include "tst_history.moc"
