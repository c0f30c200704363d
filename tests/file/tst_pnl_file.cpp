#include "file/pnl_file.h"
#include "sample_record.h"

#include <QtTest>

#include <sys/stat.h>

using namespace panel;
using panel::test::kLobbyFields;

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Every entry of the directory, one level down, with the content of its files.
QMap<QString, QByteArray> snapshot(const QString &dir)
{
    QMap<QString, QByteArray> entries;
    QDirIterator it(dir, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        entries.insert(path, it.fileInfo().isDir() ? QByteArray("<dir>") : readAll(path));
    }
    return entries;
}

} // namespace

class TestPnlFile : public QObject
{
    Q_OBJECT

private slots:
    void savesAndLoads()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("lobby.pnl"));
        QVERIFY(writeFile(path, "older and longer content than the new line, to be replaced whole"));
        QCOMPARE(savePanelFile(path, test::lobbyRecord()), QString());
        QCOMPARE(readAll(path), kLobbyFields + "\r\n");
        const PanelFileParse loaded = loadPanelFile(path);
        QVERIFY2(loaded.record, qPrintable(loaded.reason));
        QVERIFY(*loaded.record == test::lobbyRecord());
    }

    void refusesPath_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::addRow("missing") << "missing" << "No such file";
        QTest::addRow("directory") << "directory" << "not a regular file";
        QTest::addRow("FIFO") << "fifo" << "not a regular file";
        QTest::addRow("/dev/null") << "/dev/null" << "not a regular file";
        QTest::addRow("link to /dev/zero") << "link" << "not a regular file";
        QTest::addRow("empty file") << "empty" << "empty";
    }

    void refusesPath()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = kind.startsWith(QLatin1Char('/')) ? kind : dir.filePath(kind);
        if (kind == QLatin1String("directory"))
            QVERIFY(QDir(dir.path()).mkdir(kind));
        else if (kind == QLatin1String("fifo"))
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (kind == QLatin1String("link"))
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
        else if (kind == QLatin1String("empty"))
            QVERIFY(writeFile(path, {}));
        const PanelFileParse loaded = loadPanelFile(path);
        QVERIFY(!loaded.record);
        QVERIFY2(loaded.reason.contains(reason), qPrintable(loaded.reason));
    }

    void readsOnlyTheHead_data()
    {
        QTest::addColumn<qint64>("blanksBefore");
        QTest::addColumn<qint64>("sizeAfter"); // the file is then grown to this size with NULs
        QTest::addColumn<bool>("loads");
        const qint64 lineSize = kLobbyFields.size() + 2;
        QTest::addRow("line then 50 MB") << qint64(0) << qint64(50) * 1024 * 1024 << true;
        QTest::addRow("line ends at the cap") << kPanelFileReadCap - lineSize << kPanelFileReadCap + 1 << true;
        QTest::addRow("line crosses the cap") << kPanelFileReadCap - lineSize + 3 << qint64(0) << false;
        QTest::addRow("1 MB of blanks first") << qint64(1024) * 1024 << qint64(0) << false;
    }

    void readsOnlyTheHead()
    {
        QFETCH(qint64, blanksBefore);
        QFETCH(qint64, sizeAfter);
        QFETCH(bool, loads);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("big.pnl"));
        QVERIFY(writeFile(path, QByteArray(blanksBefore, ' ') + kLobbyFields + "\r\n"));
        if (sizeAfter > 0)
            QVERIFY(QFile::resize(path, sizeAfter)); // sparse: cheap to make however large
        const PanelFileParse loaded = loadPanelFile(path);
        QCOMPARE(loaded.record.has_value(), loads);
        if (loads)
            QVERIFY(*loaded.record == test::lobbyRecord());
        else
            QVERIFY2(loaded.reason.contains(QLatin1String("too long")), qPrintable(loaded.reason));
    }

    void failedSaveKeepsWhatWasThere_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addRow("target is a directory") << "directory";
        QTest::addRow("parent is a file") << "parent";
        QTest::addRow("no room for a temporary name") << "longname";
        QTest::addRow("unstorable text") << "unstorable";
    }

    // Runs as root, so permissions cannot make the save fail; these failures do not depend on them.
    void failedSaveKeepsWhatWasThere()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        const QByteArray old = kLobbyFields + ",\"old\"\r\n";
        PanelFileRecord record = test::lobbyRecord();
        QString path = dir.filePath(QStringLiteral("panel.pnl"));
        if (kind == QLatin1String("directory")) {
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("panel.pnl")));
            QVERIFY(writeFile(dir.filePath(QStringLiteral("panel.pnl/inside")), old));
        } else if (kind == QLatin1String("parent")) {
            QVERIFY(writeFile(path, old));
            path += QStringLiteral("/panel.pnl");
        } else if (kind == QLatin1String("longname")) {
            path = dir.filePath(QString(251, QLatin1Char('p')) + QStringLiteral(".pnl"));
            QVERIFY(writeFile(path, old));
        } else {
            QVERIFY(writeFile(path, old));
            record.desig[2] = QStringLiteral("Ωmega");
        }
        const auto before = snapshot(dir.path());
        const QString reason = savePanelFile(path, record);
        QVERIFY(!reason.isEmpty());
        QCOMPARE(snapshot(dir.path()), before);
    }
};

QTEST_GUILESS_MAIN(TestPnlFile)
#include "tst_pnl_file.moc"
