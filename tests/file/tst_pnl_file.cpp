#include "file/pnl_file.h"
#include "file_size_limit.h"
#include "files.h"
#include "sample_record.h"

#include <QtTest>

#include <sys/stat.h>

using namespace panel;
using panel::test::kLobbyFields;

namespace {

// Every entry of the directory, one level down, with the content of its files.
QMap<QString, QByteArray> snapshot(const QString &dir)
{
    QMap<QString, QByteArray> entries;
    QDirIterator it(dir, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        entries.insert(path, info.isDir() ? QByteArray("<dir>") : info.isFile() ? readAll(path) : QByteArray("<special>"));
    }
    return entries;
}

mode_t currentUmask()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

} // namespace

class TestPnlFile : public QObject
{
    Q_OBJECT

private slots:
    void savesAndLoads_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind");
        QTest::addRow("over an older, longer file") << "lobby.pnl" << "older";
        QTest::addRow("a new file") << "lobby.pnl" << "new";
        QTest::addRow("a name of 255 bytes") << QString(251, QLatin1Char('p')) + ".pnl" << "new";
        QTest::addRow("through a link, which stays") << "link.pnl" << "link";
        QTest::addRow("a read-only file keeps its mode") << "lobby.pnl" << "mode";
    }

    void savesAndLoads()
    {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        const QString target = kind == "link" ? dir.filePath("target.pnl") : path;
        if (kind != "new")
            QVERIFY(writeAll(target, "older and longer content than the new line, to be replaced whole"));
        if (kind == "link")
            QVERIFY(QFile::link("target.pnl", path));
        if (kind == "mode")
            QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup));
        QVERIFY(savePanelFile(path, test::lobbyRecord()).saved());
        QCOMPARE(readAll(target), kLobbyFields + "\r\n");
        QCOMPARE(QFileInfo(path).isSymLink(), kind == "link");
        struct stat status {};
        QCOMPARE(::stat(QFile::encodeName(target).constData(), &status), 0);
        QCOMPARE(status.st_mode & 0777, kind == "mode" ? 0440u : 0666u & ~currentUmask());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), kind == "link" ? 2 : 1);
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
            QVERIFY(writeAll(path, {}));
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
        QVERIFY(writeAll(path, QByteArray(blanksBefore, ' ') + kLobbyFields + "\r\n"));
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
        QTest::addColumn<int>("outcome");
        QTest::addRow("target is a directory") << "directory" << int(SaveOutcome::Failed);
        QTest::addRow("target is a FIFO") << "fifo" << int(SaveOutcome::Failed);
        QTest::addRow("parent is a file") << "parent" << int(SaveOutcome::Failed);
        QTest::addRow("unstorable text") << "unstorable" << int(SaveOutcome::Failed);
        QTest::addRow("disk full after 16 bytes") << "limit" << int(SaveOutcome::Failed);
        QTest::addRow("an existing file to keep") << "keep" << int(SaveOutcome::Exists);
        QTest::addRow("a dangling link to keep") << "dangling" << int(SaveOutcome::Exists);
    }

    // Runs as root, so permissions cannot make the save fail; these failures do not depend on them.
    void failedSaveKeepsWhatWasThere()
    {
        QFETCH(QString, kind);
        QFETCH(int, outcome);
        QTemporaryDir dir;
        const QByteArray old = kLobbyFields + ",\"old\"\r\n";
        PanelFileRecord record = test::lobbyRecord();
        QString path = dir.filePath(QStringLiteral("panel.pnl"));
        if (kind == QLatin1String("directory")) {
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("panel.pnl")));
            QVERIFY(writeAll(dir.filePath(QStringLiteral("panel.pnl/inside")), old));
        } else if (kind == QLatin1String("fifo")) {
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else if (kind == QLatin1String("parent")) {
            QVERIFY(writeAll(path, old));
            path += QStringLiteral("/panel.pnl");
        } else if (kind == QLatin1String("dangling")) {
            QVERIFY(QFile::link(QStringLiteral("nowhere.pnl"), path));
        } else {
            QVERIFY(writeAll(path, old));
            if (kind == QLatin1String("unstorable"))
                record.desig[2] = QStringLiteral("Ωmega");
        }
        const ExistingFile existing = kind == "keep" || kind == "dangling" ? ExistingFile::Keep : ExistingFile::Replace;
        const auto before = snapshot(dir.path());
        const auto saveFails = [&] {
            const SaveOutcome saved = savePanelFile(path, record, existing);
            return saved.kind == outcome && !saved.reason.isEmpty() ? 0 : 1;
        };
        QCOMPARE(kind == "limit" ? inChildWithFileSizeLimit(16, saveFails) : saveFails(), 0);
        QCOMPARE(snapshot(dir.path()), before);
    }
};

QTEST_GUILESS_MAIN(TestPnlFile)
#include "tst_pnl_file.moc"
