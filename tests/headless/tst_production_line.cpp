// The production-line commands end to end: the program itself against simulated panels on real
// pseudo-terminals, each exit code from a real fault, several ports at once, --repeat and signals.
#include "files.h"
#include "sample_record.h"
#include "sim_process.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSerialPort>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <csignal>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

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

    void startProgram(QProcess &program, const QStringList &arguments, const QString &display = QString(),
                      const QString &dataHome = QString(), const QString &executable = QStringLiteral(PANELCONFIG_PATH))
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        if (!dataHome.isEmpty())
            environment.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
        for (const char *variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "PANELCONFIG_PORT"})
            environment.remove(QString::fromLatin1(variable));
        if (!display.isEmpty())
            environment.insert(QStringLiteral("DISPLAY"), display);
        program.setProcessEnvironment(environment);
        program.start(executable, arguments);
        QVERIFY(program.waitForStarted());
    }

    // Runs the program to its end: its exit code and its stdout lines (and its stderr).
    int run(const QStringList &arguments, QStringList *lines, QString *errors = nullptr, const QString &display = {},
            const QString &dataHome = {})
    {
        QProcess program;
        startProgram(program, arguments, display, dataHome);
        if (!program.waitForFinished(60000) || program.exitStatus() != QProcess::NormalExit)
            return -1;
        *lines = QString::fromUtf8(program.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        if (errors)
            *errors = QString::fromUtf8(program.readAllStandardError());
        return program.exitCode();
    }

    static QStringList linesOf(QProcess &program)
    {
        return QString::fromUtf8(program.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    static QJsonObject jsonOf(const QString &line) { return QJsonDocument::fromJson(line.toUtf8()).object(); }

    // Waits for lines of output and then for afterMs, then stops the program with the signal: its exit
    // code, -1 if it hung.
    static int stopAfterLines(QProcess &program, int lines, int signal, int afterMs = 0)
    {
        if (!QTest::qWaitFor([&] { return QString::fromUtf8(program.peek(1 << 16)).count(QLatin1Char('\n')) >= lines; }, 20000))
            return -1;
        QTest::qWait(afterMs);
        ::kill(pid_t(program.processId()), signal);
        if (!program.waitForFinished(10000) || program.exitStatus() != QProcess::NormalExit)
            return -1;
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
        // Replies as late as the tick fail one way or another, but are never the identity.
        QTest::newRow("read, late hail answers are no identity") << "--read" << QStringList{"--late-replies", "100"} << 2 << "";
        QTest::newRow("read, answers the third hail") << "--read" << QStringList{"--hail-from", "3"} << 0
                                                      << "SWITCH PANEL DATA READ SUCCESSFUL";
    }

    void exitCodes()
    {
        QFETCH(QString, command);
        QFETCH(QStringList, simOptions);
        QFETCH(int, exitCode);
        QFETCH(QString, result);
        QFile::remove(path(QStringLiteral("state.txt"))); // a panel as it comes
        const QString device = startSim(simOptions, QStringLiteral("state.txt"));
        QVERIFY(!device.isEmpty());
        QStringList lines;
        const QString file = command == "--read" ? path(QStringLiteral("READ.pnl")) : lobby();
        QFile::remove(path(QStringLiteral("READ.pnl")));
        const int code = run({command, file, QStringLiteral("--port"), device}, &lines);
        QVERIFY2(code == exitCode, qPrintable(QString::number(code) + QLatin1Char(' ') + lines.join('\n')));
        QCOMPARE(lines.size(), 1);
        QVERIFY2(lines[0].startsWith(device + QStringLiteral(": ") + result), qPrintable(lines[0]));
    }

    // A port that does not open is told apart by its cause, with the advice for that cause.
    void portsToldApart_data()
    {
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("says");
        QTest::newRow("no such device") << "@ttyNONE" << "No such device";
        QTest::newRow("a name of 235 characters") << "@" + QString(235, 'x') << "No such device";
        QTest::newRow("held by another program") << "held" << "The port is held by %1";
        QTest::newRow("control characters in its name") << "@tty\x1b]0;TITLE\aNONE" << "tty\\x1b]0;TITLE\\x07NONE";
    }

    void portsToldApart()
    {
        QFETCH(QString, device);
        QFETCH(QString, says);
        QSerialPort holder;
        if (device == "held") {
            device = startSim({}, QStringLiteral("held.txt"));
            holder.setPortName(device);
            QVERIFY(holder.open(QIODevice::ReadWrite));
            QFile comm(QStringLiteral("/proc/self/comm"));
            QVERIFY(comm.open(QIODevice::ReadOnly));
            says = says.arg(QStringLiteral("%1 (pid %2)")
                                .arg(QString::fromLocal8Bit(comm.readAll()).trimmed())
                                .arg(QCoreApplication::applicationPid()));
        }
        device.replace(QLatin1Char('@'), m_dir.path() + QLatin1Char('/'));
        QStringList lines;
        QString errors;
        QCOMPARE(run({QStringLiteral("--write"), lobby(), QStringLiteral("--port"), device}, &lines, &errors), 5);
        QVERIFY(lines.value(0).contains(QStringLiteral("COMMUNICATIONS FAILURE SERIAL PORT COULD NOT BE OPENED")));
        QVERIFY2(errors.contains(says), qPrintable(errors));
        QVERIFY2(!errors.contains(QStringLiteral("member of the group")), qPrintable(errors));
        QVERIFY(!(lines.join('\n') + errors).contains(QChar(0x1b)));
    }

    // Refused before any port is opened (the port does not exist: opening it would end in 5), and
    // never in need of a display, even with DISPLAY naming no server.
    void refusedBeforeAnyPort_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("display");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("says");
        const QString none = QStringLiteral("@ttyNONE");
        QTest::newRow("read over a file") << QStringList{"--read", "@LOBBY.pnl", "--port", none} << "" << 4 << "FILE EXISTS: ";
        QTest::newRow("read into a FIFO, forced") << QStringList{"--read", "@FIFO", "--name", "F", "--force", "--port", none}
                                                  << "" << 4 << "is a FIFO";
        QTest::newRow("read, two ports, one file") << QStringList{"--read", "@NEW.pnl", "--port", none, "--port", "@ttyB"}
                                                   << "" << 64 << "{port} or {n}";
        QTest::newRow("read, base name too long") << QStringList{"--read", "@ABCDEFGHIJKLM.pnl", "--port", none} << ""
                                                  << 64 << "longer than 12";
        QTest::newRow("read, name with a quote") << QStringList{"--read", "@NEW.pnl", "--name", "A\"B", "--port", none}
                                                 << "" << 64 << "double quote";
        QTest::newRow("refused file, repeat") << QStringList{"--write", "@BAD.pnl", "--port", none, "--repeat"} << "" << 4
                                              << "FILE REFUSED";
        QTest::newRow("log a FIFO nobody reads") << QStringList{"--write", "@LOBBY.pnl", "--port", none, "--log", "@FIFO"}
                                                 << "" << 4 << "FIFO that nothing reads";
        QTest::newRow("two --write") << QStringList{"--write", "@LOBBY.pnl", "--write", "@BAD.pnl", "--port", none} << ""
                                     << 64 << "once";
        QTest::newRow("--port missing its value") << QStringList{"--port", "--write", "@LOBBY.pnl"} << "" << 64
                                                  << "--port needs DEVICE";
        QTest::newRow("--list-ports with --write") << QStringList{"--list-ports", "--write", "@LOBBY.pnl"} << "" << 64
                                                   << "--list-ports";
        QTest::newRow("a device twice") << QStringList{"--write", "@LOBBY.pnl", "--port", "/dev/null", "--port", "/dev/../dev/null"}
                                        << "" << 64 << "same device";
        QTest::newRow("--verify=FILE") << QStringList{"--verify=@LOBBY.pnl", "--port", none} << ":99" << 5
                                       << "No such device";
        QTest::newRow("a file's warning, control characters in its name")
            << QStringList{"--write", "@FLAG\x1b[2J.pnl", "--port", none} << "" << 5 << "FLAG\\x1b[2J.pnl: warning: ";
        QTest::newRow("usage error, no X server") << QStringList{"--bogus"} << ":99" << 64 << "Unknown option 'bogus'";
        QTest::newRow("help, no X server") << QStringList{"--help"} << ":99" << 0 << "";
        QTest::newRow("version, -platform xcb, no display") << QStringList{"--version", "-platform", "xcb"} << "" << 0 << "";
        QTest::newRow("window, no display") << QStringList{"@LOBBY.pnl"} << "" << 1 << "no display";
    }

    void refusedBeforeAnyPort()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, display);
        QFETCH(int, exitCode);
        QFETCH(QString, says);
        lobby();
        QFile bad(path(QStringLiteral("BAD.pnl")));
        QVERIFY(bad.open(QIODevice::WriteOnly) && bad.write(lobbyWith({{1, "\"other\""}})) > 0);
        bad.close();
        QFile flag(path(QStringLiteral("FLAG\x1b[2J.pnl"))); // independent lighting without a BL/MR button
        QVERIFY(flag.open(QIODevice::WriteOnly) && flag.write(lobbyWith({{8, "160"}})) > 0);
        flag.close();
        if (!QFile::exists(path(QStringLiteral("FIFO"))))
            QCOMPARE(::mkfifo(QFile::encodeName(path(QStringLiteral("FIFO"))).constData(), 0600), 0);
        for (QString &argument : arguments)
            argument.replace(QLatin1Char('@'), m_dir.path() + QLatin1Char('/'));
        QStringList lines;
        QString errors;
        QCOMPARE(run(arguments, &lines, &errors, display), exitCode);
        QVERIFY2(errors.contains(says), qPrintable(errors));
        QVERIFY(!errors.contains(QChar(0x1b)));
    }

    // Each port's panel gets its own file, never one over the other's.
    void readNamesEachPanel()
    {
        QStringList arguments{QStringLiteral("--read"), path(QStringLiteral("N{n}-{port}.pnl")), QStringLiteral("--name"),
                              QStringLiteral("EAST")};
        for (const char *state : {"a.txt", "b.txt"})
            arguments << QStringLiteral("--port") << startSim({}, QString::fromLatin1(state));
        QStringList lines;
        QCOMPARE(run(arguments, &lines), 0);
        const QStringList files = QDir(m_dir.path()).entryList({QStringLiteral("N0*.pnl")});
        QCOMPARE(files.size(), 2);
        QVERIFY2(files[0].startsWith(QLatin1String("N001-")) && files[1].startsWith(QLatin1String("N002-")), qPrintable(files.join(' ')));
        for (const QString &name : files) {
            QFile saved(path(name));
            QVERIFY(saved.open(QIODevice::ReadOnly));
            QVERIFY(saved.readAll().startsWith("\"00-04412-MDL\",\"EAST\","));
        }
    }

    // --trace prints every byte of each operation on stderr as it goes; with several ports each line
    // starts with its port.
    void traceShowsEveryByte_data()
    {
        QTest::addColumn<int>("ports");
        QTest::newRow("one port") << 1;
        QTest::newRow("two ports") << 2;
    }

    void traceShowsEveryByte()
    {
        QFETCH(int, ports);
        QStringList arguments{QStringLiteral("--write"), lobby(), QStringLiteral("--trace")};
        QStringList devices;
        for (int i = 0; i < ports; ++i) {
            devices << startSim({}, QStringLiteral("trace%1.txt").arg(i));
            arguments << QStringLiteral("--port") << devices.last();
        }
        QStringList lines;
        QString errors;
        QCOMPARE(run(arguments, &lines, &errors), 0);
        const QStringList said = errors.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        static const QRegularExpression sent(QStringLiteral("^ *\\d+ ms → "));
        for (const QString &device : devices) {
            const QString prefix = ports > 1 ? device + QStringLiteral(": ") : QString();
            QStringList mine;
            for (const QString &line : said) {
                if (line.startsWith(prefix))
                    mine << line.mid(prefix.size());
            }
            QVERIFY2(!mine.isEmpty() && mine[0].startsWith(QStringLiteral("write on ") + device), qPrintable(errors));
            QCOMPARE(mine.filter(sent).size(), 1 + 1 + 2 * 10); // a hail, the identity, each write and its read-back
            for (const char *meaning : {"  hail answered", "  read r=63 → 73", "  write r=1 v=12 acknowledged", "  read r=9 → 3"})
                QVERIFY2(!mine.filter(QString::fromUtf8(meaning)).isEmpty(), qPrintable(meaning + errors));
        }
    }

    // A result that cannot be printed or logged never hides: the panel is programmed, logged and kept
    // in the history, the rest is told on stderr, and the run ends with 4: by itself, or soon after a
    // stop signal when nothing reads its output.
    void outputFailures_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("says");
        QTest::newRow("reader of stdout gone") << "pipe" << "could not be printed: Broken pipe";
        QTest::newRow("stdout on a full disk") << "full" << "could not be printed: No space left on device";
        QTest::newRow("log on a full disk") << "log" << "the log /dev/full could not be written: No space left on device";
        QTest::newRow("log on a full disk, --repeat ends") << "log repeat" << "the log /dev/full could not be written";
        QTest::newRow("stdout not read, SIGTERM") << "stdout blocked" << "could not be printed: nothing reads standard output";
        QTest::newRow("stdout and stderr not read, SIGINT") << "all blocked" << "";
    }

    void outputFailures()
    {
        QFETCH(QString, fault);
        QFETCH(QString, says);
        const QString state = path(QStringLiteral("out.txt"));
        QFile::remove(state);
        const QString device = startSim({QStringLiteral("--baud-timing")}, QStringLiteral("out.txt"));
        const bool logFails = fault.startsWith(QLatin1String("log"));
        const bool blocked = fault.endsWith(QLatin1String("blocked"));
        const QString log = logFails ? QStringLiteral("/dev/full") : path(QStringLiteral("out.jsonl"));
        if (!logFails)
            QFile::remove(log);
        const QString kept = path(QStringLiteral("kept-") + QString(fault).replace(' ', '-'));
        QProcess program;
        if (fault == "full")
            program.setStandardOutputFile(QStringLiteral("/dev/full"));
        // A pipe already full that nobody empties: every write to it waits.
        const QByteArray fifo = QFile::encodeName(path(QStringLiteral("full.fifo")));
        int reader = -1;
        int filler = -1;
        if (blocked) {
            QVERIFY(::mkfifo(fifo.constData(), 0600) == 0 || errno == EEXIST);
            reader = ::open(fifo.constData(), O_RDONLY | O_NONBLOCK);
            filler = ::open(fifo.constData(), O_WRONLY | O_NONBLOCK);
            QVERIFY(reader >= 0 && filler >= 0);
            const QByteArray block(4096, 'x');
            while (::write(filler, block.constData(), size_t(block.size())) > 0) {
            }
            program.setStandardOutputFile(QString::fromLocal8Bit(fifo));
            if (fault == "all blocked")
                program.setStandardErrorFile(QString::fromLocal8Bit(fifo));
        }
        QStringList arguments{QStringLiteral("--write"), lobby(), QStringLiteral("--port"), device, QStringLiteral("--log"), log};
        if (fault == "log repeat")
            arguments << QStringLiteral("--repeat");
        if (fault == "pipe") { // as in panelconfig ... | head -c0
            arguments = QStringList{QStringLiteral("-c"), QStringLiteral("\"$0\" \"$@\" | head -c0; exit ${PIPESTATUS[0]}"),
                                    QStringLiteral(PANELCONFIG_PATH)}
                + arguments;
            startProgram(program, arguments, {}, kept, QStringLiteral("bash"));
        } else {
            startProgram(program, arguments, {}, kept);
        }
        if (blocked) {
            QTRY_VERIFY_WITH_TIMEOUT(readAll(log).endsWith('\n'), 20000);
            ::kill(pid_t(program.processId()), fault == "all blocked" ? SIGINT : SIGTERM);
            QVERIFY(program.waitForFinished(3000));
            ::close(reader);
            ::close(filler);
        }
        QVERIFY(program.state() == QProcess::NotRunning || program.waitForFinished(20000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 4);
        const QString errors = QString::fromUtf8(program.readAllStandardError());
        QVERIFY2(errors.contains(says), qPrintable(errors));
        QCOMPARE(errors.count(QStringLiteral("could not be printed")), says.contains(QStringLiteral("printed")) ? 1 : 0);
        QCOMPARE(readSimState(state).value(9), 3); // the whole panel was programmed
        if (fault == "log repeat")
            QVERIFY(QString::fromUtf8(program.readAllStandardOutput()).contains(QStringLiteral("tally: 1 panel, 1 done, 0 not done")));
        if (!logFails)
            QCOMPARE(jsonOf(QString::fromUtf8(readAll(log))).value(QStringLiteral("exit_code")).toInt(), 0);
        QVERIFY(readAll(kept + QStringLiteral("/panelconfig/history/journal.jsonl")).contains("\"command\":\"write\""));
    }

    // Under --repeat a port that cannot be opened is told of at once, counted and kept in the exit code,
    // and a panel that answers only its third hail is found and programmed, as without --repeat.
    void repeatFirstResult_data()
    {
        QTest::addColumn<QString>("panel");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<int>("panels");
        QTest::addColumn<int>("portFailures");
        QTest::addColumn<int>("thenMs"); // how long it runs on after its first line
        QTest::newRow("a port that does not open, said once") << "none" << 5 << 0 << 1 << 2500;
        QTest::newRow("a panel answering its third hail") << "--hail-from=3" << 0 << 1 << 0 << 0;
    }

    void repeatFirstResult()
    {
        QFETCH(QString, panel);
        QFETCH(int, exitCode);
        QFETCH(int, panels);
        QFETCH(int, portFailures);
        QFETCH(int, thenMs);
        QFile::remove(path(QStringLiteral("repeat.txt")));
        const QString device = panel == "none" ? path(QStringLiteral("ttyNONE")) : startSim({panel}, QStringLiteral("repeat.txt"));
        QProcess program;
        startProgram(program, {QStringLiteral("--write"), lobby(), QStringLiteral("--port"), device,
                               QStringLiteral("--repeat"), QStringLiteral("--json")});
        QCOMPARE(stopAfterLines(program, 1, SIGINT, thenMs), exitCode);
        const QStringList lines = linesOf(program);
        QCOMPARE(lines.size(), 2);
        QCOMPARE(jsonOf(lines[0]).value(QStringLiteral("exit_code")).toInt(), exitCode);
        QCOMPARE(jsonOf(lines[0]).contains(QStringLiteral("count")), panels > 0);
        const QJsonObject tally = jsonOf(lines[1]).value(QStringLiteral("tally")).toObject();
        QCOMPARE(tally.value(QStringLiteral("panels")).toInt(), panels);
        QCOMPARE(tally.value(QStringLiteral("port_failures")).toInt(), portFailures);
    }

    // Every panel's operation is in the history, newest first; a history that cannot be kept changes no
    // result and is said once.
    void history()
    {
        QStringList arguments{QStringLiteral("--write"), lobby(), QStringLiteral("--backup")};
        for (const char *state : {"h1.txt", "h2.txt"})
            arguments << QStringLiteral("--port") << startSim({}, QString::fromLatin1(state));
        const QString kept = path(QStringLiteral("kept"));
        QStringList lines;
        QString errors;
        QCOMPARE(run(arguments, &lines, &errors, {}, kept), 0);
        QCOMPARE(errors, QString());
        QCOMPARE(run({QStringLiteral("--history"), QStringLiteral("--json")}, &lines, &errors, {}, kept), 0);
        QStringList commands;
        for (const QString &line : lines)
            commands << jsonOf(line).value(QStringLiteral("command")).toString();
        commands.sort();
        QCOMPARE(commands, QStringList({"backup", "backup", "write", "write"}));
        // The port under its full name and under the short name --port also takes.
        const QString device = m_sims.back()->devicePath();
        for (const QString &port : {device, device.mid(int(qstrlen("/dev/")))}) {
            QCOMPARE(run({QStringLiteral("--history"), QStringLiteral("--port"), port}, &lines, &errors, {}, kept), 0);
            QCOMPARE(lines.size(), 2);
            QVERIFY2(lines[0].contains(QStringLiteral("  write  ")) && lines[1].contains(QStringLiteral("  backup  ")),
                     qPrintable(lines.join('\n')));
        }

        const QString broken = path(QStringLiteral("broken"));
        QVERIFY(QDir().mkpath(broken + QStringLiteral("/panelconfig/history/journal.jsonl")));
        QCOMPARE(run(arguments, &lines, &errors, {}, broken), 0);
        QCOMPARE(lines.filter(QStringLiteral("SWITCH PANEL HAS BEEN PROGRAMMED")).size(), 2);
        QCOMPARE(errors.count(QStringLiteral("the history could not be kept")), 1);

        // A journal that is a FIFO is refused at once, by the operations and by the listing.
        const QString fifo = path(QStringLiteral("fifo"));
        QVERIFY(QDir().mkpath(fifo + QStringLiteral("/panelconfig/history")));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo + QStringLiteral("/panelconfig/history/journal.jsonl")).constData(), 0600), 0);
        QCOMPARE(run(arguments, &lines, &errors, {}, fifo), 0);
        QCOMPARE(lines.filter(QStringLiteral("SWITCH PANEL HAS BEEN PROGRAMMED")).size(), 2);
        QVERIFY2(errors.contains(QStringLiteral("journal.jsonl is a FIFO")), qPrintable(errors));
        QCOMPARE(run({QStringLiteral("--history")}, &lines, &errors, {}, fifo), 4);
        QVERIFY2(errors.contains(QStringLiteral("the history cannot be read: ")) && errors.contains(QStringLiteral("is a FIFO")),
                 qPrintable(errors));
    }

    void historyEndsOnSignals_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("Ctrl+C") << int(SIGINT);
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGHUP") << int(SIGHUP);
    }

    // A listing waiting for an output that takes no more ends on the signal at once.
    void historyEndsOnSignals()
    {
        QFETCH(int, signal);
        const QString home = path(QStringLiteral("signals"));
        const QString folder = home + QStringLiteral("/panelconfig/history");
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QFile journal(folder + QStringLiteral("/journal.jsonl"));
        QVERIFY(journal.open(QIODevice::WriteOnly));
        for (int n = 0; n < 2000; ++n) // far more than a pipe holds
            journal.write(R"({"time":"t","command":"read","port":"/dev/ttyX","result":"SWITCH PANEL DATA READ SUCCESSFUL","exit_code":0})" "\n");
        journal.close();
        const QString fifo = path(QStringLiteral("stdout"));
        QFile::remove(fifo);
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        const int reader = ::open(QFile::encodeName(fifo).constData(), O_RDONLY | O_NONBLOCK); // never read
        QVERIFY(reader >= 0);
        QProcess program;
        program.setStandardOutputFile(fifo);
        startProgram(program, {QStringLiteral("--history")}, {}, home);
        const auto waiting = [reader] {
            int bytes = 0;
            return ::ioctl(reader, FIONREAD, &bytes) == 0 ? bytes : 0;
        };
        // The pipe is full (64 KiB, less what a whole line no longer fitted) and the listing waits.
        QTRY_VERIFY_WITH_TIMEOUT(waiting() >= 60000 && program.state() == QProcess::Running, 10000);
        ::kill(pid_t(program.processId()), signal);
        const bool ended = program.waitForFinished(5000);
        if (!ended)
            program.kill();
        ::close(reader);
        QVERIFY(ended);
        QCOMPARE(program.exitStatus(), QProcess::CrashExit); // ended by the signal itself
    }

    // A panel read into a file verifies against that file; another panel differs from it.
    void readThenVerify()
    {
        const QString first = startSim({}, QStringLiteral("first.txt"));
        QStringList lines;
        QCOMPARE(run({QStringLiteral("--write"), lobby(), QStringLiteral("--port"), first}, &lines), 0);
        const QString saved = path(QStringLiteral("saved.pnl"));
        QFile::remove(saved);
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
        QFile earlier(path(QStringLiteral("log.jsonl")));
        QVERIFY(earlier.open(QIODevice::WriteOnly) && earlier.write("{\"earlier\":true}\n") > 0);
        earlier.close();
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
        QVERIFY(log.open(QIODevice::ReadOnly | QIODevice::Text));
        const QStringList logged = QString::fromUtf8(log.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(logged.size(), 3);
        QCOMPARE(logged[0], QStringLiteral("{\"earlier\":true}"));
        for (int n = 1; n <= 2; ++n) {
            const QJsonObject entry = jsonOf(logged[n]);
            QCOMPARE(entry.value(QStringLiteral("count")).toInt(), n);
            const QString time = entry.value(QStringLiteral("time")).toString();
            QVERIFY2(time.endsWith(QLatin1Char('Z')) && QDateTime::fromString(time, Qt::ISODateWithMs).isValid(), qPrintable(time));
            const double seconds = entry.value(QStringLiteral("seconds")).toDouble();
            QVERIFY2(seconds > 1 && seconds != std::round(seconds), qPrintable(logged[n]));
        }
    }

    void stoppedMidOperation_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("signal");
        QTest::newRow("write, SIGTERM") << "--write" << int(SIGTERM);
        QTest::newRow("write, SIGHUP") << "--write" << int(SIGHUP);
        QTest::newRow("write, SIGQUIT") << "--write" << int(SIGQUIT);
        QTest::newRow("read, SIGHUP") << "--read" << int(SIGHUP);
    }

    // Stopped once the panel has taken or given its second register: the rest is never sent, the
    // port closes, and the result and its log line say so, with only the registers seen.
    void stoppedMidOperation()
    {
        QFETCH(QString, command);
        QFETCH(int, signal);
        const QString state = path(QStringLiteral("mid.txt"));
        QFile::remove(state);
        const QString device = startSim({QStringLiteral("--baud-timing"), QStringLiteral("--log")}, QStringLiteral("mid.txt"));
        const QString log = path(QStringLiteral("mid.jsonl"));
        QFile::remove(log);
        const QString file = command == "--read" ? path(QStringLiteral("MID.pnl")) : lobby();
        QFile::remove(path(QStringLiteral("MID.pnl")));
        QProcess program;
        startProgram(program, {command, file, QStringLiteral("--port"), device, QStringLiteral("--log"), log});
        QProcess &sim = m_sims.back()->process();
        QString simLog; // the panel's own account of every command
        QTRY_VERIFY_WITH_TIMEOUT((simLog += QString::fromUtf8(sim.readAllStandardError())).contains(QStringLiteral("read r1 ->")),
                                 20000);
        ::kill(pid_t(program.processId()), signal);
        QVERIFY(program.waitForFinished(10000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 2);
        QVERIFY(readSimState(state).value(9) != 3); // the last register was never written
        QVERIFY(QString::fromUtf8(program.readAllStandardOutput()).contains(QStringLiteral(": STOPPED BEFORE THE END (")));
        QFile logged(log);
        QVERIFY(logged.open(QIODevice::ReadOnly));
        const QJsonObject entry = jsonOf(QString::fromUtf8(logged.readAll()));
        QCOMPARE(entry.value(QStringLiteral("result")).toString(), QStringLiteral("STOPPED BEFORE THE END"));
        QVERIFY(entry.value(QStringLiteral("registers")).toArray().at(9).isNull());
        QVERIFY(!QFile::exists(path(QStringLiteral("MID.pnl"))));
    }
};

QTEST_MAIN(TestProductionLine)
#include "tst_production_line.moc"
