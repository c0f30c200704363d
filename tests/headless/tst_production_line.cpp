// The production-line commands end to end: the program itself against simulated panels on real
// pseudo-terminals, each exit code from a real fault, several ports at once, --repeat and signals.
#include "sample_record.h"
#include "sim_process.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <memory>

using panel::test::lobbyWith;

class TestProductionLine : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::vector<std::unique_ptr<SimProcess>> m_sims;

    QString path(const QString &name) const { return m_dir.filePath(name); }

    QString lobby()
    {
        QFile f(path(QStringLiteral("LOBBY.pnl")));
        if (f.open(QIODevice::WriteOnly))
            f.write(lobbyWith({}));
        return f.fileName();
    }

    QString startSim(const QStringList &options, const QString &state)
    {
        m_sims.push_back(std::make_unique<SimProcess>());
        if (!m_sims.back()->start(QStringList{QStringLiteral("--state"), path(state)} + options))
            return QString();
        return m_sims.back()->devicePath();
    }

    void startProgram(QProcess &program, const QStringList &arguments)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "PANELCONFIG_PORT"})
            environment.remove(QString::fromLatin1(variable));
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(PANELCONFIG_PATH), arguments);
        QVERIFY(program.waitForStarted());
    }

    // Runs the program to its end: its exit code and its stdout lines.
    int run(const QStringList &arguments, QStringList *lines)
    {
        QProcess program;
        startProgram(program, arguments);
        if (!program.waitForFinished(60000) || program.exitStatus() != QProcess::NormalExit)
            return -1;
        *lines = QString::fromUtf8(program.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        return program.exitCode();
    }

private slots:
    void cleanup() { m_sims.clear(); }

    void exitCodes_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("simOptions");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("result");
        const QString bad = QStringLiteral("COMMUNICATIONS FAILURE-BAD SWITCH PANEL DATA");
        QTest::newRow("programmed") << "--write" << QStringList{} << 0 << "SWITCH PANEL HAS BEEN PROGRAMMED";
        QTest::newRow("no answer") << "--write" << QStringList{"--no-answer"} << 2
                                   << "COMMUNICATIONS FAILURE SWITCH PANEL FAILED TO RESPOND";
        QTest::newRow("another identity") << "--write" << QStringList{"--identity", "74"} << 3
                                          << "THE SWITCH PANEL THAT YOU HAVE ATTEMPTED TO WRITE DATA TO DOES NOT "
                                             "MATCH THIS CONFIGURATION PROGRAM";
        QTest::newRow("read-back differs") << "--write" << QStringList{"--readback-differs", "4"} << 2 << bad;
        QTest::newRow("short replies") << "--write" << QStringList{"--short-replies"} << 2 << bad;
        QTest::newRow("line closes mid-write") << "--write" << QStringList{"--close-after", "8"} << 2 << bad;
        QTest::newRow("verify, another identity") << "--verify" << QStringList{"--identity", "74"} << 3
                                                  << "THE SWITCH PANEL THAT YOU HAVE ATTEMPTED TO READ DATA FROM DOES "
                                                     "NOT MATCH THIS CONFIGURATION PROGRAM";
        QTest::newRow("verify, out of range") << "--verify" << QStringList{"--out-of-range", "2"} << 2 << bad;
    }

    void exitCodes()
    {
        QFETCH(QString, command);
        QFETCH(QStringList, simOptions);
        QFETCH(int, exitCode);
        QFETCH(QString, result);
        const QString device = startSim(simOptions, QStringLiteral("state.txt"));
        QVERIFY(!device.isEmpty());
        QStringList lines;
        QCOMPARE(run({command, lobby(), QStringLiteral("--port"), device}, &lines), exitCode);
        QCOMPARE(lines.size(), 1);
        QVERIFY2(lines[0].startsWith(device + QStringLiteral(": ") + result + QStringLiteral(" (")), qPrintable(lines[0]));
    }

    void portThatCannotOpen()
    {
        QStringList lines;
        QCOMPARE(run({QStringLiteral("--write"), lobby(), QStringLiteral("--port"), path(QStringLiteral("ttyNONE"))},
                     &lines),
                 5);
        QVERIFY(lines.value(0).contains(QStringLiteral("COMMUNICATIONS FAILURE SERIAL PORT COULD NOT BE OPENED")));
    }

    // A panel read into a file verifies against that file; another panel differs from it.
    void readThenVerify()
    {
        const QString first = startSim({}, QStringLiteral("first.txt"));
        QStringList lines;
        QCOMPARE(run({QStringLiteral("--write"), lobby(), QStringLiteral("--port"), first}, &lines), 0);
        const QString saved = path(QStringLiteral("saved.pnl"));
        QCOMPARE(run({QStringLiteral("--read"), saved, QStringLiteral("--port"), first, QStringLiteral("--name"),
                      QStringLiteral("EAST")},
                     &lines),
                 0);
        QCOMPARE(run({QStringLiteral("--verify"), saved, QStringLiteral("--port"), first, QStringLiteral("--json")},
                     &lines),
                 0);
        QCOMPARE(QJsonDocument::fromJson(lines.value(0).toUtf8()).object().value(QStringLiteral("result")).toString(),
                 QStringLiteral("SWITCH PANEL MATCHES THE FILE"));

        const QString other = startSim({}, QStringLiteral("other.txt")); // a new panel, as it comes
        QCOMPARE(run({QStringLiteral("--verify"), saved, QStringLiteral("--port"), other}, &lines), 1);
        QVERIFY2(lines.contains(other + QStringLiteral(":   SW2: panel A/2, file B/3")), qPrintable(lines.join('\n')));
    }

    void severalPortsAtOnce()
    {
        QStringList arguments{QStringLiteral("--write"), lobby(), QStringLiteral("--json")};
        QStringList devices;
        for (const char *state : {"a.txt", "b.txt", "c.txt"}) {
            devices << startSim({QStringLiteral("--baud-timing")}, QString::fromLatin1(state));
            arguments << QStringLiteral("--port") << devices.constLast();
        }
        arguments << QStringLiteral("--port") << path(QStringLiteral("ttyNONE"));
        QStringList lines;
        QCOMPARE(run(arguments, &lines), 5);
        QStringList programmed;
        for (const QString &line : lines) {
            const QJsonObject result = QJsonDocument::fromJson(line.toUtf8()).object();
            if (result.value(QStringLiteral("exit_code")).toInt() == 0)
                programmed << result.value(QStringLiteral("port")).toString();
        }
        programmed.sort();
        devices.sort();
        QCOMPARE(programmed, devices);
        for (const char *state : {"a.txt", "b.txt", "c.txt"})
            QCOMPARE(readSimState(path(QString::fromLatin1(state))).value(2), 159);
    }

    // One panel programmed, unplugged, the next one plugged in and programmed, then SIGTERM.
    void repeatUntilTerminated()
    {
        const QString device = startSim({}, QStringLiteral("state.txt"));
        QProcess program;
        startProgram(program, {QStringLiteral("--write"), lobby(), QStringLiteral("--port"), device,
                               QStringLiteral("--repeat"), QStringLiteral("--log"), path(QStringLiteral("log.jsonl"))});
        const auto linesSoFar = [&] {
            return QString::fromUtf8(program.peek(1 << 16)).count(QLatin1Char('\n'));
        };
        QTRY_COMPARE_WITH_TIMEOUT(linesSoFar(), 1, 20000);
        const qint64 sim = m_sims.back()->process().processId();
        ::kill(pid_t(sim), SIGUSR1); // unplugged
        QTest::qWait(2500);          // long enough for the program to see it gone
        QFile::remove(path(QStringLiteral("state.txt")));
        ::kill(pid_t(sim), SIGUSR1); // the next panel
        QTRY_COMPARE_WITH_TIMEOUT(linesSoFar(), 2, 20000);
        program.terminate();
        QVERIFY(program.waitForFinished(10000));
        QCOMPARE(program.exitCode(), 0);
        const QStringList lines = QString::fromUtf8(program.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 3);
        QVERIFY2(lines[1].startsWith(device + QStringLiteral(" #2: SWITCH PANEL HAS BEEN PROGRAMMED")), qPrintable(lines[1]));
        QCOMPARE(lines[2], QStringLiteral("tally: 2 panels, 2 done, 0 not done"));
        QFile log(path(QStringLiteral("log.jsonl")));
        QVERIFY(log.open(QIODevice::ReadOnly));
        QCOMPARE(log.readAll().count('\n'), 2);
    }

    void terminatedMidWrite()
    {
        const QString state = path(QStringLiteral("mid-write.txt"));
        const QString device = startSim({QStringLiteral("--baud-timing")}, QStringLiteral("mid-write.txt"));
        QProcess program;
        startProgram(program, {QStringLiteral("--write"), lobby(), QStringLiteral("--port"), device});
        // Terminated once the panel has taken its second register.
        QTRY_VERIFY_WITH_TIMEOUT(readSimState(state).value(1) == 12, 20000);
        program.terminate();
        QVERIFY(program.waitForFinished(10000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 2);
        QVERIFY(readSimState(state).value(9) != 3); // the last register was never written
        QVERIFY(QString::fromUtf8(program.readAllStandardOutput()).contains(QStringLiteral("STOPPED BEFORE THE END")));
    }
};

QTEST_MAIN(TestProductionLine)
#include "tst_production_line.moc"
