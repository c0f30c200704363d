// A site's states from the history: each state from the operations kept, the folder read with its floors,
// refused files and shared names, and a history that cannot be read.
#include "file/history.h"
#include "files.h"
#include "sample_record.h"
#include "site/site_states.h"
#include "site_history.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace panel;
using namespace panel::test;

namespace {

const QDateTime kStart(QDate(2026, 12, 8), QTime(9, 0, 0), Qt::UTC);

} // namespace

class TestSiteStates : public QObject
{
    Q_OBJECT

private slots:
    void stateFromOperations_data()
    {
        QTest::addColumn<QStringList>("operations"); // oldest first
        QTest::addColumn<QString>("state");
        QTest::addColumn<int>("seenAt"); // the operation the state was seen in, -1 none
        QTest::newRow("nothing kept") << QStringList() << "not written" << -1;
        QTest::newRow("only read") << QStringList{"read:same"} << "not written" << -1;
        QTest::newRow("written") << QStringList{"write:same"} << "written" << 0;
        QTest::newRow("written after a failure") << QStringList{"write:fail", "write:same"} << "written" << 1;
        QTest::newRow("verified") << QStringList{"write:same", "verify:same"} << "verified" << 1;
        QTest::newRow("read back") << QStringList{"write:same", "read:same"} << "verified" << 1;
        QTest::newRow("verified before a write") << QStringList{"verify:same", "write:same"} << "written" << 1;
        QTest::newRow("differs") << QStringList{"write:same", "verify:same", "verify:other"} << "differs" << 2;
        QTest::newRow("read another") << QStringList{"write:same", "read:other"} << "differs" << 1;
        QTest::newRow("file changed") << QStringList{"write:same", "write:other", "verify:same"} << "changed since written" << 1;
        QTest::newRow("write failed") << QStringList{"write:same", "verify:same", "write:fail"} << "failed" << 2;
        QTest::newRow("verify failed") << QStringList{"write:same", "verify:fail"} << "failed" << 1;
    }
    void stateFromOperations()
    {
        QFETCH(QStringList, operations);
        QFETCH(QString, state);
        QFETCH(int, seenAt);
        QTemporaryDir dir;
        History history(dir.filePath(QStringLiteral("history")));
        const NamedPanelConfig lobby = sitePanel(QStringLiteral("LOBBY"));
        QVERIFY(saveSitePanel(dir.filePath(QStringLiteral("site")), QStringLiteral("LOBBY.pnl"), lobby));
        // Another panel's operations are not this one's.
        QVERIFY(keepOperations(history, sitePanel(QStringLiteral("HALL")), {"write:fail"}, kStart.addDays(1)));
        QVERIFY(keepOperations(history, lobby, operations, kStart));

        const SiteStates states = siteStates(scanSite(dir.filePath(QStringLiteral("site"))), history);
        QCOMPARE(states.rows.size(), 1);
        const SiteRow &row = states.rows.constFirst();
        QCOMPARE(rowStateWords(row), state);
        QCOMPARE(row.status.seen.has_value(), seenAt >= 0);
        if (seenAt >= 0)
            QCOMPARE(row.status.seen->time, kStart.addSecs(qint64(60) * seenAt));
        QVERIFY(states.warning.isEmpty());
    }

    // Floors are read, other files passed over, a refused file listed with its reason, two files of one
    // name told, and the summary counts them all.
    void siteOfFloors()
    {
        QTemporaryDir dir;
        const QString site = dir.filePath(QStringLiteral("site"));
        History history(dir.filePath(QStringLiteral("history")));
        QVERIFY(saveSitePanel(site, QStringLiteral("LOBBY.pnl"), sitePanel(QStringLiteral("LOBBY"))));
        QVERIFY(saveSitePanel(site, QStringLiteral("floor1/HALL.pnl"), sitePanel(QStringLiteral("HALL"))));
        QVERIFY(saveSitePanel(site, QStringLiteral("floor2/HALL.pnl"), sitePanel(QStringLiteral("HALL"), 5)));
        QVERIFY(writeAll(site + QStringLiteral("/floor1/BAD.pnl"), lobbyWith({{1, "\"00-04412-mdl\""}})));
        QVERIFY(writeAll(site + QStringLiteral("/floor1/notes.txt"), "not a panel"));
        QVERIFY(keepOperations(history, sitePanel(QStringLiteral("LOBBY")), {"write:same", "verify:same"}, kStart));

        const SiteStates states = siteStates(scanSite(site), history);
        QStringList files;
        QStringList words;
        for (const SiteRow &row : states.rows) {
            files << row.file.file;
            words << rowStateWords(row);
        }
        QCOMPARE(files, (QStringList{"LOBBY.pnl", "floor1/BAD.pnl", "floor1/HALL.pnl", "floor2/HALL.pnl"}));
        QCOMPARE(words, (QStringList{"verified", "refused: the model tag is not 00-04412-MDL", "not written", "not written"}));
        QCOMPARE(states.rows[2].sameName, QStringList{"floor2/HALL.pnl"});
        QCOMPARE(states.rows[3].sameName, QStringList{"floor1/HALL.pnl"});
        QCOMPARE(siteSummary(states.rows), QStringLiteral("4 panels: 1 verified, 2 not written, 1 refused, 2 sharing a panel name"));
    }

    // A file is what the window would write after opening it: independent lighting without a BL/MR button
    // is dropped, as a write of that file drops it.
    void fileAsTheWindowWritesIt()
    {
        QTemporaryDir dir;
        History history(dir.filePath(QStringLiteral("history")));
        NamedPanelConfig file = sitePanel(QStringLiteral("LOBBY"));
        file.config.code[2] = 160;
        QVERIFY(saveSitePanel(dir.filePath(QStringLiteral("site")), QStringLiteral("LOBBY.pnl"), file));
        NamedPanelConfig written = file;
        written.config.feature = 0;
        QVERIFY(keepOperations(history, written, {"write:same"}, kStart));
        const SiteStates states = siteStates(scanSite(dir.filePath(QStringLiteral("site"))), history);
        QCOMPARE(states.rows.constFirst().file.named->config.feature, qint16(0));
        QCOMPARE(rowStateWords(states.rows.constFirst()), QStringLiteral("written"));
    }

    void badFolder_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("error");
        QTest::newRow("missing") << "NONE" << "does not exist";
        QTest::newRow("a file") << "FILE" << "is not a folder";
        QTest::newRow("no panel") << "EMPTY" << "holds no .pnl file";
    }
    void badFolder()
    {
        QFETCH(QString, folder);
        QFETCH(QString, error);
        QTemporaryDir dir;
        QVERIFY(writeAll(dir.filePath(QStringLiteral("FILE")), "x"));
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("EMPTY/floor")));
        QVERIFY(writeAll(dir.filePath(QStringLiteral("EMPTY/floor/notes.txt")), "x"));
        const SiteScan scan = scanSite(dir.filePath(folder));
        QVERIFY2(scan.error.endsWith(error), qPrintable(scan.error));
    }

    // A history that cannot be read leaves every state unknown, with a warning; the site is still listed.
    void unreadableHistory()
    {
        QTemporaryDir dir;
        const QString site = dir.filePath(QStringLiteral("site"));
        QVERIFY(saveSitePanel(site, QStringLiteral("LOBBY.pnl"), sitePanel(QStringLiteral("LOBBY"))));
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("history"))));
        QVERIFY(QFile::link(QStringLiteral("/dev/null"), dir.filePath(QStringLiteral("history/journal.jsonl"))));
        const SiteStates states = siteStates(scanSite(site), History(dir.filePath(QStringLiteral("history"))));
        QCOMPARE(rowStateWords(states.rows.constFirst()), QStringLiteral("unknown"));
        QVERIFY(states.warning.startsWith(QStringLiteral("the history cannot be read")));
        QCOMPARE(siteSummary(states.rows), QStringLiteral("1 panel: 1 unknown"));
    }

    // Without a site, every panel name of the history, with what was last written under it.
    void everyPanelOfTheHistory()
    {
        QTemporaryDir dir;
        History history(dir.filePath(QStringLiteral("history")));
        QVERIFY(keepOperations(history, sitePanel(QStringLiteral("LOBBY")), {"write:same", "verify:same"}, kStart));
        QVERIFY(keepOperations(history, sitePanel(QStringLiteral("HALL"), 7), {"write:same", "verify:other"}, kStart.addDays(1)));
        const SiteStates states = historyStates(history);
        QCOMPARE(states.rows.size(), 2);
        QCOMPARE(states.rows[0].panelName, QStringLiteral("HALL"));
        QCOMPARE(rowStateWords(states.rows[0]), QStringLiteral("differs"));
        QCOMPARE(states.rows[0].status.written->config.code[0], qint16(7));
        QCOMPARE(rowStateWords(states.rows[1]), QStringLiteral("verified"));
        // --since leaves out what came before it.
        QCOMPARE(historyStates(history, kStart.addSecs(30)).rows.constLast().status.write.has_value(), false);
    }
};

QTEST_GUILESS_MAIN(TestSiteStates)
#include "tst_site_states.moc"
