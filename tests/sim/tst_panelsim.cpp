#include "simharness.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

namespace {

constexpr int kReplyWaitMs = 1000;
// Well beyond the simulator's answer time without byte timing (under a millisecond), to check for
// silence: a reply that came later still would have passed unseen, never failed a sound row.
constexpr int kSilenceMs = 60;

const QByteArray kAck = QByteArrayLiteral("D000D");

} // namespace

class TestPanelSim : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();

    void commandStream_data();
    void commandStream();
    void factoryRegisters();
    void faults_data();
    void faults();
    void lateReplies();
    void baudTimingKeepsContent();
    void hailCountRestartsPerConnection();
    void unreadRepliesDoNotReachNextClient_data();
    void unreadRepliesDoNotReachNextClient();
    void reopenAfterClose();
    void stateSurvivesRestart();
    void closeAfter_data();
    void closeAfter();
    void rejectedStartup_data();
    void rejectedStartup();

private:
    void startSim(const QStringList &arguments = {});
    void exchange(const QByteArray &command, const QByteArray &expected);

    SimProcess m_sim;
    SlavePort m_port;
};

void TestPanelSim::startSim(const QStringList &arguments)
{
    QVERIFY2(m_sim.start(arguments), m_sim.process().readAllStandardError().constData());
    QVERIFY(m_port.open(m_sim.devicePath()));
}

void TestPanelSim::exchange(const QByteArray &command, const QByteArray &expected)
{
    QVERIFY(m_port.send(command));
    if (expected.isEmpty())
        QCOMPARE(m_port.receive(1, kSilenceMs), QByteArray());
    else
        QCOMPARE(m_port.receive(int(expected.size()), kReplyWaitMs), expected);
}

// A simulator still running at the end of a case must stop cleanly when asked.
void TestPanelSim::cleanup()
{
    m_port.close();
    if (m_sim.process().state() != QProcess::NotRunning)
        QCOMPARE(m_sim.stop(), 0);
}

void TestPanelSim::commandStream_data()
{
    QTest::addColumn<QByteArrayList>("chunks");
    QTest::addColumn<QByteArray>("expected");

    const QByteArray read63 = cmd::read(63);
    QTest::newRow("hail") << QByteArrayList { cmd::hail() } << kAck;
    QTest::newRow("noise before hail") << QByteArrayList { QByteArray("\xff\x00z\r", 4) + cmd::hail() } << kAck;
    QTest::newRow("read split in two") << QByteArrayList { read63.left(2), read63.mid(2) }
                                       << QByteArray("0730\r");
    QTest::newRow("read split bytewise") << QByteArrayList { read63.left(1), read63.mid(1, 1), read63.mid(2, 1),
                                                             read63.mid(3, 1), read63.mid(4, 1), read63.mid(5) }
                                         << QByteArray("0730\r");
    QTest::newRow("hail and read merged") << QByteArrayList { cmd::hail() + read63 } << kAck + "0730\r";
    QTest::newRow("write then read zero") << QByteArrayList { cmd::write(0, 0), cmd::read(0) } << kAck + "0000\r";
    QTest::newRow("write then read largest byte")
            << QByteArrayList { cmd::write(12, 255), cmd::read(12) } << kAck + "2550\r";
    QTest::newRow("write then read last plain register")
            << QByteArrayList { cmd::write(62, 7), cmd::read(62) } << kAck + "0070\r";
    QTest::newRow("hail byte as write data")
            << QByteArrayList { cmd::write(2, 'A'), cmd::read(2) } << kAck + "0650\r";

    // A broken frame must neither be obeyed nor swallow the command behind it.
    QByteArray badEnd = cmd::write(5, 7);
    badEnd[5] = 'X';
    QTest::newRow("write with bad end") << QByteArrayList { badEnd + cmd::read(5) } << QByteArray("1600\r");
    QByteArray badFiller = read63;
    badFiller[3] = '1';
    QTest::newRow("read with bad filler") << QByteArrayList { badFiller, cmd::hail() } << kAck;
    QTest::newRow("frame start then hail") << QByteArrayList { QByteArray("S"), cmd::hail() } << kAck;
}

void TestPanelSim::commandStream()
{
    QFETCH(QByteArrayList, chunks);
    QFETCH(QByteArray, expected);

    startSim();
    for (const QByteArray &chunk : chunks) {
        QVERIFY(m_port.send(chunk));
        QThread::msleep(20); // let each chunk arrive in its own read
    }
    QCOMPARE(m_port.receive(int(expected.size()), kReplyWaitMs), expected);
    QCOMPARE(m_port.receive(1, kSilenceMs), QByteArray());
}

void TestPanelSim::factoryRegisters()
{
    const QList<QPair<int, QByteArray>> expected = {
        { 0, "0000\r" }, { 1, "0010\r" }, { 2, "0100\r" }, { 3, "0110\r" }, { 4, "1590\r" }, { 5, "1600\r" },
        { 6, "1590\r" }, { 7, "0010\r" }, { 8, "0100\r" }, { 9, "0050\r" }, { 10, "0000\r" }, { 63, "0730\r" },
    };
    startSim();
    for (const auto &[address, reply] : expected)
        exchange(cmd::read(address), reply);
}

void TestPanelSim::faults_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArrayList>("commands");
    QTest::addColumn<QByteArrayList>("replies"); // empty: no answer at all

    QTest::newRow("spaced style") << QStringList { "--reply-style", "spaced" }
                                  << QByteArrayList { cmd::hail(), cmd::read(63) } << QByteArrayList { kAck, "  0730\r" };
    QTest::newRow("long style") << QStringList { "--reply-style", "long" }
                                << QByteArrayList { cmd::hail(), cmd::read(63) } << QByteArrayList { kAck, "0730 OK\r\n" };
    QTest::newRow("crlf style") << QStringList { "--reply-style", "crlf" }
                                << QByteArrayList { cmd::hail(), cmd::read(63) } << QByteArrayList { kAck, "0730\r\n" };
    QTest::newRow("no answer")
            << QStringList { "--no-answer" }
            << QByteArrayList { cmd::hail(), cmd::read(63), cmd::write(1, 5) } << QByteArrayList { "", "", "" };
    QTest::newRow("hail from 3")
            << QStringList { "--hail-from", "3" } << QByteArrayList { cmd::hail(), cmd::hail(), cmd::hail(), cmd::hail() }
            << QByteArrayList { "", "", kAck, kAck };
    QTest::newRow("hail from 3 answers reads at once")
            << QStringList { "--hail-from", "3" } << QByteArrayList { cmd::read(63), cmd::hail() }
            << QByteArrayList { "0730\r", "" };
    QTest::newRow("identity") << QStringList { "--identity", "99" } << QByteArrayList { cmd::read(63) }
                              << QByteArrayList { "0990\r" };
    QTest::newRow("readback differs")
            << QStringList { "--readback-differs", "5" }
            << QByteArrayList { cmd::write(5, 20), cmd::read(5), cmd::write(4, 20), cmd::read(4) }
            << QByteArrayList { kAck, "0210\r", kAck, "0200\r" };
    QTest::newRow("readback differs wraps")
            << QStringList { "--readback-differs", "5" } << QByteArrayList { cmd::write(5, 255), cmd::read(5) }
            << QByteArrayList { kAck, "0000\r" };
    QTest::newRow("out of range")
            << QStringList { "--out-of-range", "8" } << QByteArrayList { cmd::read(8), cmd::read(9) }
            << QByteArrayList { "1700\r", "0050\r" };
    QTest::newRow("out of range ignores writes")
            << QStringList { "--out-of-range", "8" } << QByteArrayList { cmd::write(8, 3), cmd::read(8) }
            << QByteArrayList { kAck, "1700\r" };
    QTest::newRow("short replies")
            << QStringList { "--short-replies" } << QByteArrayList { cmd::hail(), cmd::read(63), cmd::read(4) }
            << QByteArrayList { kAck, "073", "159" };
    QTest::newRow("short replies win over style")
            << QStringList { "--short-replies", "--reply-style", "spaced" } << QByteArrayList { cmd::read(63) }
            << QByteArrayList { "073" };
}

void TestPanelSim::faults()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArrayList, commands);
    QFETCH(QByteArrayList, replies);
    QCOMPARE(commands.size(), replies.size());

    startSim(arguments);
    for (int i = 0; i < commands.size(); ++i)
        exchange(commands.at(i), replies.at(i));
    QCOMPARE(m_port.receive(1, kSilenceMs), QByteArray());
}

void TestPanelSim::lateReplies()
{
    startSim({ QStringLiteral("--late-replies"), QStringLiteral("400") });
    QVERIFY(m_port.send(cmd::hail()));
    QCOMPARE(m_port.receive(5, 100), QByteArray());
    QCOMPARE(m_port.receive(5, 3000), kAck);
}

void TestPanelSim::baudTimingKeepsContent()
{
    startSim({ QStringLiteral("--baud-timing"), QStringLiteral("--reply-style"), QStringLiteral("long") });
    QElapsedTimer clock;
    clock.start();
    exchange(cmd::read(63) + cmd::hail(), QByteArray("0730 OK\r\n") + kAck);
    // The last reply byte goes out 6 command bytes plus 13 reply bytes after the
    // command, each 1.04 ms: never before 19.8 ms.
    QVERIFY2(clock.elapsed() >= 19, QByteArray::number(clock.elapsed()).constData());
}

void TestPanelSim::hailCountRestartsPerConnection()
{
    startSim({ QStringLiteral("--hail-from"), QStringLiteral("2") });
    for (int connection = 0; connection < 2; ++connection) {
        exchange(cmd::hail(), QByteArray());
        exchange(cmd::hail(), kAck);
        m_port.close();
        QVERIFY(m_port.open(m_sim.devicePath()));
    }
}

void TestPanelSim::unreadRepliesDoNotReachNextClient_data()
{
    QTest::addColumn<QString>("lateMs");
    QTest::addColumn<int>("closeAfterMs"); // how long the client waits before it gives up

    QTest::newRow("sent before the close") << "0" << 50;
    QTest::newRow("due after the close") << "200" << 50;
    // The close may reach the simulator before the command does.
    QTest::newRow("command right before the close") << "0" << 0;
}

void TestPanelSim::unreadRepliesDoNotReachNextClient()
{
    QFETCH(QString, lateMs);
    QFETCH(int, closeAfterMs);

    startSim({ QStringLiteral("--late-replies"), lateMs });
    QVERIFY(m_port.send(cmd::read(63)));
    QThread::msleep(closeAfterMs);
    m_port.close();
    QThread::msleep(50);
    QVERIFY(m_port.open(m_sim.devicePath()));
    QCOMPARE(m_port.receive(1, lateMs.toInt() + 2 * kSilenceMs), QByteArray());
    exchange(cmd::hail(), kAck);
}

void TestPanelSim::reopenAfterClose()
{
    startSim();
    for (int round = 0; round < 3; ++round) {
        exchange(cmd::hail(), kAck);
        m_port.close();
        QThread::msleep(50); // a moment with no client on the line
        QVERIFY(m_port.open(m_sim.devicePath()));
    }
    exchange(cmd::read(63), "0730\r");
}

void TestPanelSim::stateSurvivesRestart()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QStringList arguments { QStringLiteral("--state"), dir.filePath(QStringLiteral("registers")) };

    startSim(arguments);
    exchange(cmd::write(3, 42), kAck);
    m_port.close();
    QCOMPARE(m_sim.stop(), 0);

    startSim(arguments);
    exchange(cmd::read(3), "0420\r");
    exchange(cmd::read(4), "1590\r");
    exchange(cmd::read(63), "0730\r");
}

void TestPanelSim::closeAfter_data()
{
    QTest::addColumn<QByteArrayList>("chunks");

    QTest::newRow("one write per command") << QByteArrayList { cmd::hail(), cmd::read(63) };
    QTest::newRow("all in one write") << QByteArrayList { cmd::hail() + cmd::read(63) + cmd::hail() };
}

void TestPanelSim::closeAfter()
{
    QFETCH(QByteArrayList, chunks);

    startSim({ QStringLiteral("--close-after"), QStringLiteral("2") });
    const QDateTime made = QFileInfo(m_sim.devicePath()).metadataChangeTime();
    for (const QByteArray &chunk : chunks)
        QVERIFY(m_port.send(chunk));
    // The first two commands are answered, then the line hangs up under the client.
    QCOMPARE(m_port.receive(64, 3000), kAck + "0730\r");
    QVERIFY(m_port.hungUp());
    // The device is gone; a pseudo-terminal of another test running alongside may take its number at once.
    const QFileInfo after(m_sim.devicePath());
    QVERIFY(!after.exists() || after.metadataChangeTime() != made);
    QVERIFY(m_sim.process().waitForFinished(5000));
    QCOMPARE(m_sim.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(m_sim.process().exitCode(), 0);
}

void TestPanelSim::rejectedStartup_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("stateFile"); // written and passed with --state when not empty

    QTest::newRow("unknown style") << QStringList { "--reply-style", "fancy" } << QByteArray();
    QTest::newRow("hail from zero") << QStringList { "--hail-from", "0" } << QByteArray();
    QTest::newRow("identity too large") << QStringList { "--identity", "256" } << QByteArray();
    QTest::newRow("register past the end") << QStringList { "--out-of-range", "64" } << QByteArray();
    QTest::newRow("not a number") << QStringList { "--late-replies", "soon" } << QByteArray();
    QTest::newRow("unknown option") << QStringList { "--explode" } << QByteArray();
    QTest::newRow("garbled state") << QStringList() << QByteArray("3 42\nthree 42\n");
    QTest::newRow("state value too large") << QStringList() << QByteArray("3 300\n");
    QTest::newRow("random faults with a single fault")
            << QStringList { "--random-faults", "1", "--no-answer" } << QByteArray();
    QTest::newRow("random faults seed not a number") << QStringList { "--random-faults", "x" } << QByteArray();
    QTest::newRow("first session without random faults") << QStringList { "--first-session", "3" } << QByteArray();
    QTest::newRow("first session zero")
            << QStringList { "--random-faults", "1", "--first-session", "0" } << QByteArray();
    QTest::newRow("fault log in a missing folder")
            << QStringList { "--random-faults", "1", "--fault-log", "/nonexistent/faults.log" } << QByteArray();
}

// A program that cannot do what it was asked must say so instead of printing a device.
void TestPanelSim::rejectedStartup()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, stateFile);

    QTemporaryDir dir;
    if (!stateFile.isEmpty()) {
        QFile file(dir.filePath(QStringLiteral("registers")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(stateFile);
        arguments << QStringLiteral("--state") << file.fileName();
    }

    QProcess &process = m_sim.process();
    process.start(QStringLiteral(PANELSIM_PATH), arguments);
    QVERIFY(process.waitForFinished(5000));
    QVERIFY(process.exitCode() != 0);
    QCOMPARE(process.readAllStandardOutput(), QByteArray());
    QVERIFY(!process.readAllStandardError().isEmpty());
}

QTEST_GUILESS_MAIN(TestPanelSim)
#include "tst_panelsim.moc"
