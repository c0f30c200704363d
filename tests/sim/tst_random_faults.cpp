// panelsim --random-faults (one drawn fault per client session) and the SIGUSR1 cable pull.
#include "simharness.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <csignal>

namespace {

constexpr int kReplyWaitMs = 2000;
// Well beyond the simulator's answer time, to check for silence (a later reply would pass unseen, never fail).
constexpr int kSilenceMs = 60;
constexpr quint64 kSeed = 1;
constexpr int kWriteCommands = 22; // what a whole write sends: hail, identity, then write and read 0..9

const QByteArray kAck = QByteArrayLiteral("D000D");

QByteArray readReply(int value)
{
    return QByteArray::number(value * 10).rightJustified(4, '0') + '\r';
}

// The commands of a whole write, with the replies a faultless panel gives: register r gets 20 + r.
struct Exchange {
    QByteArray command;
    QByteArray reply;
    bool isRead = false;
};

QList<Exchange> writeSession()
{
    QList<Exchange> script { { cmd::hail(), kAck, false }, { cmd::read(63), readReply(73), true } };
    for (int r = 0; r < 10; ++r) {
        script.append({ cmd::write(r, 20 + r), kAck, false });
        script.append({ cmd::read(r), readReply(20 + r), true });
    }
    return script;
}

bool holdsNoNumber(const QByteArray &bytes)
{
    for (const char c : bytes) {
        if ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.' || c == ' ' || c == '\t' || c == '\n')
            return false;
    }
    return true;
}

QStringList drawnFaults(quint64 seed, int first, int count)
{
    QProcess process;
    process.start(QStringLiteral(PANELSIM_PATH),
                  { QStringLiteral("--random-faults"), QString::number(seed), QStringLiteral("--first-session"),
                    QString::number(first), QStringLiteral("--show-faults"), QString::number(count) });
    if (!process.waitForFinished(5000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace

class TestRandomFaults : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();

    void drawsDependOnlyOnSeedAndSession();
    void noFaultHasAFairShare();
    void eachKindDoesWhatItSays_data();
    void eachKindDoesWhatItSays();
    void oneLinePerSession();
    void commandsRightBeforeTheCloseBelongToTheSession();
    void unplugAndPlugIn_data();
    void unplugAndPlugIn();

private:
    bool waitForStderr(const QByteArray &text);
    QList<FaultLine> waitForSessions(int count);

    QTemporaryDir m_dir;
    SimProcess m_sim;
    SlavePort m_port;
    QByteArray m_stderr;
};

void TestRandomFaults::cleanup()
{
    m_port.close();
    if (m_sim.isRunning())
        QCOMPARE(m_sim.stop(), 0);
    m_stderr.clear();
    QFile::remove(m_dir.filePath(QStringLiteral("faults.log")));
}

bool TestRandomFaults::waitForStderr(const QByteArray &text)
{
    QDeadlineTimer deadline(5000);
    while (!m_stderr.contains(text) && !deadline.hasExpired()) {
        m_sim.process().waitForReadyRead(20);
        m_stderr += m_sim.process().readAllStandardError();
    }
    return m_stderr.contains(text);
}

QList<FaultLine> TestRandomFaults::waitForSessions(int count)
{
    const QString log = m_dir.filePath(QStringLiteral("faults.log"));
    QDeadlineTimer deadline(5000);
    QList<FaultLine> lines = readFaultLog(log);
    while (lines.size() < count && !deadline.hasExpired()) {
        QThread::msleep(10);
        lines = readFaultLog(log);
    }
    return lines;
}

void TestRandomFaults::drawsDependOnlyOnSeedAndSession()
{
    const QStringList first = drawnFaults(7, 1, 200);
    QCOMPARE(first.size(), 200);
    QCOMPARE(drawnFaults(7, 1, 200), first);
    QVERIFY(drawnFaults(8, 1, 200) != first);
    // A simulator restarted at session 51 carries on the same sequence.
    QCOMPARE(drawnFaults(7, 51, 150), first.mid(50));
    QVERIFY(first.first().startsWith(QLatin1String("session=1 fault=")));
}

void TestRandomFaults::noFaultHasAFairShare()
{
    const QStringList draws = drawnFaults(kSeed, 1, 3000);
    QCOMPARE(draws.size(), 3000);
    QMap<QString, int> counts;
    for (const QString &line : draws)
        ++counts[parseFaultLine(line).value(QStringLiteral("fault"))];
    QCOMPARE(counts.size(), 12);
    // A third of the sessions go without a fault, the other kinds share the rest.
    QVERIFY2(counts.value(QStringLiteral("none")) > 850 && counts.value(QStringLiteral("none")) < 1150,
             qPrintable(QString::number(counts.value(QStringLiteral("none")))));
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        QVERIFY2(it.value() > 120, qPrintable(it.key()));
}

void TestRandomFaults::eachKindDoesWhatItSays_data()
{
    QTest::addColumn<QString>("kind");
    for (const char *kind : { "none", "silence", "late", "short", "garbage", "doubled", "identity",
                              "readback-differs", "out-of-range", "flood", "close", "hail-from" })
        QTest::newRow(kind) << QString::fromLatin1(kind);
}

// Runs a whole write through the first session of the kind that the seed draws, and checks each
// reply against the drawn figures.
void TestRandomFaults::eachKindDoesWhatItSays()
{
    QFETCH(QString, kind);

    const QStringList draws = drawnFaults(kSeed, 1, 400);
    int session = 0;
    FaultLine fault;
    for (const QString &line : draws) {
        fault = parseFaultLine(line);
        if (fault.value(QStringLiteral("fault")) == kind) {
            session = fault.value(QStringLiteral("session")).toInt();
            break;
        }
    }
    QVERIFY2(session > 0, "the seed never draws this kind");
    const auto figure = [&fault](const char *key) { return fault.value(QLatin1String(key)).toInt(); };

    QList<Exchange> script = writeSession();
    int commands = kWriteCommands; // how many of them to send
    if (kind == QLatin1String("silence")) {
        for (int i = figure("from"); i < script.size(); ++i)
            script[i].reply.clear();
        commands = qMin(commands, figure("from") + 2);
    } else if (kind == QLatin1String("late")) {
        commands = 3;
    } else if (kind == QLatin1String("short")) {
        for (int i = figure("from"); i < script.size(); ++i) {
            if (script[i].isRead)
                script[i].reply.truncate(3);
        }
    } else if (kind == QLatin1String("doubled")) {
        script[figure("at")].reply += script[figure("at")].reply;
    } else if (kind == QLatin1String("identity")) {
        script[1].reply = readReply(figure("value"));
        commands = 2;
    } else if (kind == QLatin1String("readback-differs")) {
        script[3 + 2 * figure("register")].reply = readReply(21 + figure("register"));
    } else if (kind == QLatin1String("out-of-range")) {
        script[3 + 2 * figure("register")].reply = readReply(figure("value"));
    } else if (kind == QLatin1String("flood")) {
        script[figure("at")].reply = QByteArray(figure("bytes"), '?'); // only its length is known
    } else if (kind == QLatin1String("close")) {
        commands = figure("after") + 1;
    } else if (kind == QLatin1String("hail-from")) {
        script[0].reply.clear(); // the single hail is one of those ignored
    }

    QVERIFY(m_sim.start({ QStringLiteral("--random-faults"), QString::number(kSeed), QStringLiteral("--first-session"),
                          QString::number(session), QStringLiteral("--fault-log"),
                          m_dir.filePath(QStringLiteral("faults.log")) }));
    QVERIFY(m_port.open(m_sim.devicePath()));
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < commands; ++i) {
        const Exchange &exchange = script[i];
        const QString where = QStringLiteral("command %1").arg(i);
        QVERIFY(m_port.send(exchange.command));
        if (kind == QLatin1String("close") && i == figure("after")) {
            QCOMPARE(m_port.receive(64, kReplyWaitMs), QByteArray());
            QVERIFY2(m_port.hungUp(), qPrintable(where));
            break;
        }
        if (exchange.reply.isEmpty()) {
            QVERIFY2(m_port.receive(1, kSilenceMs).isEmpty(), qPrintable(where));
            continue;
        }
        const QByteArray reply = m_port.receive(int(exchange.reply.size()), kReplyWaitMs);
        if (kind == QLatin1String("late") && i == 0) // never before its time
            QVERIFY2(clock.elapsed() >= figure("ms"), qPrintable(QString::number(clock.elapsed())));
        if ((kind == QLatin1String("garbage") || kind == QLatin1String("flood")) && i == figure("at")) {
            QCOMPARE(reply.size(), exchange.reply.size());
            if (kind == QLatin1String("garbage"))
                QVERIFY2(holdsNoNumber(reply), reply.constData());
        } else {
            QCOMPARE(reply, exchange.reply);
        }
    }
    QVERIFY(m_port.receive(1, kSilenceMs).isEmpty());
    m_port.close();

    const QList<FaultLine> lines = waitForSessions(1);
    QCOMPARE(lines.size(), 1);
    FaultLine expected = fault;
    expected.insert(QStringLiteral("fired"), kind == QLatin1String("none") ? QStringLiteral("0") : QStringLiteral("1"));
    expected.insert(QStringLiteral("commands"), QString::number(kind == QLatin1String("close") ? figure("after") : commands));
    QCOMPARE(lines.first(), expected);
    if (kind == QLatin1String("close")) {
        QVERIFY(m_sim.process().waitForFinished(5000));
        QCOMPARE(m_sim.process().exitCode(), 0);
    }
}

// A connection that sends nothing triggers no fault, and each one is a session of its own.
void TestRandomFaults::oneLinePerSession()
{
    QVERIFY(m_sim.start({ QStringLiteral("--random-faults"), QStringLiteral("3"), QStringLiteral("--first-session"),
                          QStringLiteral("40"), QStringLiteral("--fault-log"), m_dir.filePath(QStringLiteral("faults.log")) }));
    for (int round = 0; round < 5; ++round) {
        QVERIFY(m_port.open(m_sim.devicePath()));
        m_port.close();
        waitForSessions(round + 1);
    }
    const QList<FaultLine> lines = waitForSessions(5);
    const QStringList draws = drawnFaults(3, 40, 5);
    QCOMPARE(lines.size(), 5);
    for (int i = 0; i < 5; ++i) {
        FaultLine expected = parseFaultLine(draws.at(i));
        expected.insert(QStringLiteral("fired"), QStringLiteral("0"));
        expected.insert(QStringLiteral("commands"), QStringLiteral("0"));
        QCOMPARE(lines.at(i), expected);
    }
}

void TestRandomFaults::commandsRightBeforeTheCloseBelongToTheSession()
{
    const QStringList draws = drawnFaults(kSeed, 1, 100);
    const auto none = std::find_if(draws.cbegin(), draws.cend(),
                                   [](const QString &line) { return line.contains(QLatin1String(" fault=none")); });
    QVERIFY(none != draws.cend());
    const QString session = parseFaultLine(*none).value(QStringLiteral("session"));

    QVERIFY(m_sim.start({ QStringLiteral("--random-faults"), QString::number(kSeed), QStringLiteral("--first-session"),
                          session, QStringLiteral("--fault-log"), m_dir.filePath(QStringLiteral("faults.log")) }));
    QVERIFY(m_port.open(m_sim.devicePath()));
    QVERIFY(m_port.send(cmd::hail() + cmd::write(4, 33)));
    m_port.close();
    const QList<FaultLine> lines = waitForSessions(1);
    QCOMPARE(lines.size(), 1);
    QCOMPARE(lines.first().value(QStringLiteral("commands")), QStringLiteral("2"));
    // The write was carried out, and its acknowledgement went with the session.
    QVERIFY(m_port.open(m_sim.devicePath()));
    QCOMPARE(m_port.receive(1, kSilenceMs), QByteArray());
    QVERIFY(m_port.send(cmd::read(4)));
    QCOMPARE(m_port.receive(5, kReplyWaitMs), readReply(33));
}

void TestRandomFaults::unplugAndPlugIn_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("replyPending"); // the cable is pulled while a reply is still due

    QTest::newRow("between commands") << QStringList() << false;
    QTest::newRow("with a reply due") << QStringList { "--late-replies", "300" } << true;
}

void TestRandomFaults::unplugAndPlugIn()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, replyPending);

    QVERIFY(m_sim.start(arguments));
    const qint64 pid = m_sim.process().processId();
    QVERIFY(m_port.open(m_sim.devicePath()));
    QVERIFY(m_port.send(cmd::hail()));
    if (!replyPending)
        QCOMPARE(m_port.receive(5, kReplyWaitMs).size(), 5);

    QCOMPARE(::kill(pid_t(pid), SIGUSR1), 0);
    QVERIFY(waitForStderr("not answering"));
    QCOMPARE(m_port.receive(1, 600), QByteArray());
    // Nothing reaches the panel: neither a hail nor a write.
    QVERIFY(m_port.send(cmd::hail() + cmd::write(3, 99) + cmd::read(3)));
    QCOMPARE(m_port.receive(1, kSilenceMs), QByteArray());
    // Half a frame lost with the cable must not swallow the first command after it.
    QVERIFY(m_port.send(cmd::read(3).left(3)));
    QThread::msleep(20);

    QCOMPARE(::kill(pid_t(pid), SIGUSR1), 0);
    QVERIFY(waitForStderr("answering again"));
    QVERIFY(m_port.send(cmd::read(3)));
    QCOMPARE(m_port.receive(5, kReplyWaitMs), QByteArray("0110\r")); // the write never arrived
    QVERIFY(m_sim.isRunning());
}

QTEST_GUILESS_MAIN(TestRandomFaults)
#include "tst_random_faults.moc"
