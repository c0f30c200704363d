// The history's folder: what it keeps of an entry, its modes, which snapshots retention removes, and
// what it makes of a journal that was cut short, mixed or swapped for something else.
#include "file/config_file_ops.h"
#include "file/history.h"
#include "file/pnl_codec.h"
#include "file_size_limit.h"
#include "files.h"
#include "journal_entries.h"
#include "sample_record.h"

#include <QDir>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace panel;

namespace {

const QDateTime kStart(QDate(2026, 12, 8), QTime(21, 30, 0), Qt::UTC);

HistoryEntry entryAt(qint64 second, const QString &command = QStringLiteral("write"))
{
    HistoryEntry entry;
    entry.time = kStart.addSecs(second);
    entry.command = command;
    entry.port = QStringLiteral("/dev/ttyUSB0");
    entry.result = QStringLiteral("SWITCH PANEL HAS BEEN PROGRAMMED");
    NamedPanelConfig named;
    named.panel = QStringLiteral("LOBBY");
    entry.panelName = named.panel;
    entry.snapshot = named;
    return entry;
}

// A verify's entry: a journal line and no snapshot.
HistoryEntry lineOnly(qint64 second)
{
    HistoryEntry entry = entryAt(second, QStringLiteral("verify"));
    entry.snapshot.reset();
    return entry;
}

unsigned modeOf(const QString &path)
{
    struct stat status {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & 07777 : 0;
}

qint64 sizeOf(const QString &path) { return QFileInfo(path).size(); }

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
        QCOMPARE(history.keep(entry).failure, QString());
        const QString snapshot = history.folder() + QStringLiteral("/20261208T213000Z-write-LOBBY-ttyUSB0.pnl");
        QCOMPARE(readAll(snapshot), test::kLobbyFields + "\r\n");
        QCOMPARE(modeOf(history.folder()), 0700u);
        QCOMPARE(modeOf(snapshot), 0600u);
        QCOMPARE(modeOf(history.journalPath()), 0600u);
        const QJsonObject line = journalEntries(history).value(0);
        QCOMPARE(line.value(QStringLiteral("snapshot")).toString(), QFileInfo(snapshot).fileName());
        QCOMPARE(line.value(QStringLiteral("time")).toString(), QStringLiteral("2026-12-08T21:30:00.000Z"));
        QCOMPARE(QJsonDocument(line.value(QStringLiteral("registers")).toArray()).toJson(QJsonDocument::Compact),
                 QByteArray("[0,null,null,null,null,null,null,null,null,null]"));
        QCOMPARE(line.value(QStringLiteral("intended")).toArray().size(), kConfigRegisters);
        QVERIFY(!line.contains(QStringLiteral("detail"))); // only a failure has one
        // The same second, port and name again: a name of its own, and a failure's detail kept.
        entry.detail = QStringLiteral("Register 0 was not: its read-back got no reply.");
        const HistoryKept again = history.keep(entry);
        QCOMPARE(again.failure, QString());
        QCOMPARE(again.warning, QString());
        QVERIFY(QFile::exists(history.folder() + QStringLiteral("/20261208T213000Z-write-LOBBY-ttyUSB0-2.pnl")));
        QCOMPARE(journalEntries(history).size(), 2);
        QCOMPARE(journalEntries(history).value(0).value(QStringLiteral("detail")).toString(), entry.detail);
    }

    void retention_data()
    {
        QTest::addColumn<int>("snapshots");
        QTest::addColumn<int>("fitInBytes");     // how many snapshots the byte limit holds
        QTest::addColumn<QList<qint64>>("times"); // of the operations, in the order they were kept
        QTest::addColumn<QList<int>>("kept");     // which operations' snapshots are left
        const QList<qint64> inOrder{0, 1, 2, 3, 4, 5};
        // A clock gone back to 2000 (a dead battery) for the last operation.
        const qint64 year2000 = QDateTime(QDate(2000, 1, 1), QTime(0, 0), Qt::UTC).secsTo(kStart) * -1;
        const QList<qint64> clockBehind{0, 1, 2, 3, 4, year2000};
        QTest::newRow("the newest three") << 3 << 100 << inOrder << QList<int>{5, 4, 3};
        QTest::newRow("two fit the bytes") << 100 << 2 << inOrder << QList<int>{5, 4};
        QTest::newRow("none fits the bytes: the one just written stays") << 100 << 0 << inOrder << QList<int>{5};
        QTest::newRow("clock behind, the newest three") << 3 << 100 << clockBehind << QList<int>{5, 4, 3};
        QTest::newRow("clock behind, at the byte limit") << 100 << 2 << clockBehind << QList<int>{5, 4};
        QTest::newRow("clock jumping back and forth") << 3 << 100 << QList<qint64>{0, 50, 1, 40, 2, 30} << QList<int>{5, 4, 3};
    }

    // Only the oldest of the history's own snapshots go, oldest as the journal recorded them: never the
    // journal, nor anything else in the folder.
    void retention()
    {
        QFETCH(int, snapshots);
        QFETCH(int, fitInBytes);
        QFETCH(QList<qint64>, times);
        QFETCH(QList<int>, kept);
        QTemporaryDir dir;
        const qint64 size = encodePanelFile(record_of(*entryAt(0).snapshot))->size();
        History history(dir.filePath(QStringLiteral("history")), Retention{snapshots, fitInBytes * size + size / 2});
        QStringList names;
        for (int n = 0; n < times.size(); ++n) {
            QCOMPARE(history.keep(entryAt(times[n])).failure, QString());
            names << journalEntries(history).value(0).value(QStringLiteral("snapshot")).toString();
            if (n == 0) {
                for (const char *foreign : {"notes.txt", "20261208T000000Z-mine.pnl", "LOBBY.pnl"})
                    QVERIFY(writeAll(history.folder() + QLatin1Char('/') + QLatin1String(foreign), "mine"));
            }
        }
        QList<int> left;
        for (int n = names.size() - 1; n >= 0; --n) {
            if (QFile::exists(history.folder() + QLatin1Char('/') + names[n]))
                left << n;
        }
        QCOMPARE(left, kept);
        for (const char *foreign : {"notes.txt", "20261208T000000Z-mine.pnl", "LOBBY.pnl", "journal.jsonl"})
            QVERIFY(QFile::exists(history.folder() + QLatin1Char('/') + QLatin1String(foreign)));
        QCOMPARE(journalEntries(history).size(), times.size());
    }

    // A journal that cannot be written is said, and the snapshot is kept all the same.
    void unwritableJournal()
    {
        QTemporaryDir dir;
        History history(dir.filePath(QStringLiteral("history")));
        QVERIFY(QDir().mkpath(history.journalPath())); // a folder where the journal should be
        const QString failure = history.keep(entryAt(0)).failure;
        QVERIFY2(failure.contains(QStringLiteral("journal.jsonl")), qPrintable(failure));
        QCOMPARE(QDir(history.folder()).entryList({QStringLiteral("*.pnl")}).size(), 1);
    }

    void journalAsLeft_data()
    {
        QTest::addColumn<QByteArray>("before"); // what the journal holds before an entry is kept
        QTest::addColumn<int>("entries");       // then listed
        QTest::addColumn<int>("unreadable");
        const QByteArray whole = QJsonDocument(QJsonObject{{"command", "read"}}).toJson(QJsonDocument::Compact) + '\n';
        QByteArray many;
        for (int n = 0; n < 3000; ++n) // over several of the reader's blocks
            many += QJsonDocument(QJsonObject{{"command", "read"}, {"n", n}, {"pad", QString(n % 97, 'x')}}).toJson(QJsonDocument::Compact) + '\n';
        QTest::newRow("a whole line") << whole << 2 << 0;
        QTest::newRow("a line cut short") << QByteArray("{\"command\":\"read\"") << 1 << 1;
        QTest::newRow("a line cut short after a whole one") << whole + "{\"comm" << 2 << 1;
        QTest::newRow("two lines mixed by an older version") << QByteArray("{\"command\":\"read\"{\"command\":\"write\"}\n") << 1 << 1;
        QTest::newRow("blank lines") << QByteArray("\n\n") << 1 << 0;
        QTest::newRow("a line far too long") << QByteArray(3 * 1024 * 1024, 'x') + '\n' + whole << 2 << 1;
        QTest::newRow("many lines") << many << 3001 << 0;
    }

    // Every entry kept starts a line of its own and is listed, whatever the journal held; what cannot
    // be read is counted.
    void journalAsLeft()
    {
        QFETCH(QByteArray, before);
        QFETCH(int, entries);
        QFETCH(int, unreadable);
        QTemporaryDir dir;
        History history(dir.filePath(QStringLiteral("history")));
        QVERIFY(QDir().mkpath(history.folder()));
        QVERIFY(writeAll(history.journalPath(), before));
        QCOMPARE(history.keep(lineOnly(7)).failure, QString());
        int counted = -1;
        const QList<QJsonObject> listed = journalEntries(history, &counted);
        QCOMPARE(listed.size(), entries);
        QCOMPARE(counted, unreadable);
        QCOMPARE(listed.value(0).value(QStringLiteral("command")).toString(), QStringLiteral("verify"));
        if (entries > 2) { // newest first, all the way back
            QCOMPARE(listed.value(1).value(QStringLiteral("n")).toInt(), entries - 2);
            QCOMPARE(listed.constLast().value(QStringLiteral("n")).toInt(), 0);
        }
    }

    // A line the disk takes only in part is reported and taken back: nothing is left to swallow the next.
    void shortAppend()
    {
        QTemporaryDir dir;
        History history(dir.filePath(QStringLiteral("history")));
        QCOMPARE(history.keep(lineOnly(0)).failure, QString());
        const qint64 before = sizeOf(history.journalPath());
        const int child = inChildWithFileSizeLimit(rlim_t(before + 20), [&] {
            const QString failure = history.keep(lineOnly(1)).failure;
            return failure.contains(QStringLiteral("only 20 of the line's")) ? 0 : 1;
        });
        QCOMPARE(child, 0);
        QCOMPARE(sizeOf(history.journalPath()), before);
        QCOMPARE(history.keep(lineOnly(2)).failure, QString());
        int unreadable = -1;
        QCOMPARE(journalEntries(history, &unreadable).size(), 2);
        QCOMPARE(unreadable, 0);
    }

    void onlyTheUsersOwn_data()
    {
        QTest::addColumn<QString>("setUp");
        QTest::addColumn<QString>("keepSays");  // empty: kept
        QTest::addColumn<QString>("readSays");  // empty: read
        QTest::addColumn<unsigned>("folderMode"); // afterwards, when kept
        QTest::addColumn<unsigned>("journalMode");
        QTest::newRow("a folder open to all") << "folder 0777" << "" << "" << 0700u << 0600u;
        QTest::newRow("a folder open to its group") << "folder 0750" << "" << "" << 0700u << 0600u;
        QTest::newRow("a journal open to all") << "journal 0666" << "" << "" << 0700u << 0600u;
        QTest::newRow("a folder that is a link") << "folder link" << "is a symbolic link" << "is a symbolic link" << 0u << 0u;
        QTest::newRow("a journal that is a link") << "journal link" << "is a symbolic link" << "is a symbolic link" << 0u << 0u;
        QTest::newRow("a journal that is a FIFO") << "journal fifo" << "is a FIFO" << "is a FIFO" << 0u << 0u;
        QTest::newRow("a folder of another user") << "folder other" << "belongs to another user" << "belongs to another user" << 0u << 0u;
        QTest::newRow("a journal of another user") << "journal other" << "belongs to another user" << "belongs to another user" << 0u << 0u;
        QTest::newRow("a folder that is a file") << "folder file" << "is not a folder" << "is not a folder" << 0u << 0u;
    }

    // A folder or journal that is a link or someone else's is refused, at once and with its reason,
    // and nothing is written through it; one open to others is narrowed to its owner.
    void onlyTheUsersOwn()
    {
        QFETCH(QString, setUp);
        QFETCH(QString, keepSays);
        QFETCH(QString, readSays);
        QFETCH(unsigned, folderMode);
        QFETCH(unsigned, journalMode);
        QTemporaryDir dir;
        const QString elsewhere = dir.filePath(QStringLiteral("elsewhere"));
        QVERIFY(QDir().mkpath(elsewhere));
        QVERIFY(writeAll(elsewhere + QStringLiteral("/file"), "theirs\n"));
        History history(dir.filePath(QStringLiteral("history")));
        const QByteArray folder = QFile::encodeName(history.folder());
        const QByteArray journal = QFile::encodeName(history.journalPath());
        const QStringList what = setUp.split(QLatin1Char(' '));
        if (what[0] == "journal") {
            QVERIFY(QDir().mkpath(history.folder()));
            QCOMPARE(::chmod(folder.constData(), 0700), 0);
        }
        const QByteArray target = what[0] == "folder" ? folder : journal;
        if (what[1] == "link") {
            QVERIFY(QFile::link(what[0] == "folder" ? elsewhere : elsewhere + QStringLiteral("/file"), QString::fromLocal8Bit(target)));
        } else if (what[1] == "fifo") {
            QCOMPARE(::mkfifo(target.constData(), 0600), 0);
        } else if (what[1] == "file") {
            QVERIFY(writeAll(QString::fromLocal8Bit(target), "a file\n"));
        } else if (what[1] == "other") {
            if (::geteuid() != 0)
                QSKIP("needs root, to give a file to another user");
            if (what[0] == "folder")
                QVERIFY(QDir().mkpath(history.folder()));
            else
                QVERIFY(writeAll(history.journalPath(), ""));
            QCOMPARE(::chown(target.constData(), 1, 1), 0);
        } else {
            const mode_t mode = mode_t(what[1].toUInt(nullptr, 8));
            if (what[0] == "folder")
                QVERIFY(QDir().mkpath(history.folder()));
            else
                QVERIFY(writeAll(history.journalPath(), ""));
            QCOMPARE(::chmod(target.constData(), mode), 0);
        }

        QElapsedTimer clock;
        clock.start();
        const QString kept = history.keep(entryAt(0)).failure;
        if (keepSays.isEmpty()) {
            QCOMPARE(kept, QString());
            QCOMPARE(modeOf(history.folder()), folderMode);
            QCOMPARE(modeOf(history.journalPath()), journalMode);
        } else {
            QVERIFY2(kept.contains(keepSays), qPrintable(kept));
        }
        int entries = 0;
        const JournalRead read = history.readEntries([&](const QJsonObject &) { return ++entries > 0; });
        QVERIFY(clock.elapsed() < 5000); // nothing waited for a reader or a writer
        if (readSays.isEmpty()) {
            QCOMPARE(read.error, QString());
            QCOMPARE(entries, 1);
        } else {
            QVERIFY2(read.error.contains(readSays), qPrintable(read.error));
        }
        // Nothing went through a link.
        QCOMPARE(QDir(elsewhere).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList{"file"});
        QCOMPARE(readAll(elsewhere + QStringLiteral("/file")), QByteArray("theirs\n"));
    }
};

QTEST_GUILESS_MAIN(TestHistory)
#include "tst_history.moc"
