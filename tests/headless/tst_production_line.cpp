// The production-line commands end to end: the program itself against simulated panels on real
// pseudo-terminals, each exit code from a real fault, several ports at once, --repeat and signals.
// The programs spend their time waiting on the line, so every scenario runs at start-up, many at once,
// each in a folder and on a thread of its own; each test function then checks what its scenario saw.
#include "at_once.h"
#include "production_scene.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QtTest>
#include <cerrno>
#include <cmath>
#include <csignal>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

using panel::test::lobbyWith;

namespace {

const int kScenesAtOnce = 6; // more and the pseudo-terminals' round trips near the tick on 2 cores

// A sanitized build's programs are several times slower: its runs ask for fewer at once.
int scenesAtOnce()
{
    const int asked = qEnvironmentVariableIntValue("PANEL_SCENES_AT_ONCE");
    return asked > 0 ? asked : kScenesAtOnce;
}

QJsonObject jsonOf(const QString &line) { return QJsonDocument::fromJson(line.toUtf8()).object(); }

bool makeFifo(const QString &path) { return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0 || errno == EEXIST; }

struct ExitCase
{
    const char *tag;
    QString command;
    QStringList simOptions;
    int exitCode;
    QString result;
};

QList<ExitCase> exitCases()
{
    const QString bad = QStringLiteral("COMMUNICATIONS FAILURE-BAD SWITCH PANEL DATA");
    return {
        {"programmed", "--write", {}, 0, "SWITCH PANEL HAS BEEN PROGRAMMED"},
        {"no answer", "--write", {"--no-answer"}, 2, "COMMUNICATIONS FAILURE SWITCH PANEL FAILED TO RESPOND"},
        {"another identity", "--write", {"--identity", "74"}, 3,
         "THE SWITCH PANEL THAT YOU HAVE ATTEMPTED TO WRITE DATA TO DOES NOT MATCH THIS CONFIGURATION PROGRAM"},
        {"read-back differs", "--write", {"--readback-differs", "4"}, 2, bad},
        {"short replies", "--write", {"--short-replies"}, 2, bad},
        {"line closes mid-write", "--write", {"--close-after", "8"}, 2, bad},
        {"verify, another identity", "--verify", {"--identity", "74"}, 3,
         "THE SWITCH PANEL THAT YOU HAVE ATTEMPTED TO READ DATA FROM DOES NOT MATCH THIS CONFIGURATION PROGRAM"},
        {"verify, out of range", "--verify", {"--out-of-range", "2"}, 2, bad},
        // Replies as late as the tick fail one way or another, but are never the identity.
        {"read, late hail answers are no identity", "--read", {"--late-replies", "100"}, 2, ""},
        {"read, answers the third hail", "--read", {"--hail-from", "3"}, 0, "SWITCH PANEL DATA READ SUCCESSFUL"},
    };
}

struct PortCase
{
    const char *tag;
    QString device;
    QString says;
};

QList<PortCase> portCases()
{
    return {
        {"no such device", "@ttyNONE", "No such device"},
        {"a name of 235 characters", "@" + QString(235, 'x'), "No such device"},
        {"held by another program", "held", "The port is held by %1"},
        {"control characters in its name", "@tty\x1b]0;TITLE\aNONE", "tty\\x1b]0;TITLE\\x07NONE"},
    };
}

struct RefusedCase
{
    const char *tag;
    QStringList arguments;
    QString display;
    int exitCode;
    QString says;
};

QList<RefusedCase> refusedCases()
{
    const QString none = QStringLiteral("@ttyNONE");
    return {
        {"read over a file", {"--read", "@LOBBY.pnl", "--port", none}, "", 4, "FILE EXISTS: "},
        {"read into a FIFO, forced", {"--read", "@FIFO", "--name", "F", "--force", "--port", none}, "", 4, "is a FIFO"},
        {"read, two ports, one file", {"--read", "@NEW.pnl", "--port", none, "--port", "@ttyB"}, "", 64, "{port} or {n}"},
        {"read, base name too long", {"--read", "@ABCDEFGHIJKLM.pnl", "--port", none}, "", 64, "longer than 12"},
        {"read, name with a quote", {"--read", "@NEW.pnl", "--name", "A\"B", "--port", none}, "", 64, "double quote"},
        {"refused file, repeat", {"--write", "@BAD.pnl", "--port", none, "--repeat"}, "", 4, "FILE REFUSED"},
        {"log a FIFO nobody reads", {"--write", "@LOBBY.pnl", "--port", none, "--log", "@FIFO"}, "", 4,
         "FIFO that nothing reads"},
        {"two --write", {"--write", "@LOBBY.pnl", "--write", "@BAD.pnl", "--port", none}, "", 64, "once"},
        {"--port missing its value", {"--port", "--write", "@LOBBY.pnl"}, "", 64, "--port needs DEVICE"},
        {"--list-ports with --write", {"--list-ports", "--write", "@LOBBY.pnl"}, "", 64, "--list-ports"},
        {"a device twice", {"--write", "@LOBBY.pnl", "--port", "/dev/null", "--port", "/dev/../dev/null"}, "", 64,
         "same device"},
        {"--verify=FILE", {"--verify=@LOBBY.pnl", "--port", none}, ":99", 5, "No such device"},
        {"a file's warning, control characters in its name", {"--write", "@FLAG\x1b[2J.pnl", "--port", none}, "", 5,
         "FLAG\\x1b[2J.pnl: warning: "},
        {"usage error, no X server", {"--bogus"}, ":99", 64, "Unknown option 'bogus'"},
        {"help, no X server", {"--help"}, ":99", 0, ""},
        {"version, -platform xcb, no display", {"--version", "-platform", "xcb"}, "", 0, ""},
        {"window, no display", {"@LOBBY.pnl"}, "", 1, "no display"},
    };
}

struct OutputCase
{
    const char *tag;
    QString fault;
    QString says;
};

QList<OutputCase> outputCases()
{
    return {
        {"reader of stdout gone", "pipe", "could not be printed: Broken pipe"},
        {"stdout on a full disk", "full", "could not be printed: No space left on device"},
        {"log on a full disk", "log", "the log /dev/full could not be written: No space left on device"},
        {"log on a full disk, --repeat ends", "log repeat", "the log /dev/full could not be written"},
        {"stdout not read, SIGTERM", "stdout blocked", "could not be printed: nothing reads standard output"},
        {"stdout and stderr not read, SIGINT", "all blocked", ""},
    };
}

struct RepeatCase
{
    const char *tag;
    QString panel;
    int exitCode;
    int panels;
    int portFailures;
    int thenMs; // how long it runs on after its first line
};

QList<RepeatCase> repeatCases()
{
    return {
        {"a port that does not open, said once", "none", 5, 0, 1, 2500},
        {"a panel answering its third hail", "--hail-from=3", 0, 1, 0, 0},
    };
}

struct SignalCase
{
    const char *tag;
    int signal;
};

QList<SignalCase> signalCases() { return {{"Ctrl+C", SIGINT}, {"SIGTERM", SIGTERM}, {"SIGHUP", SIGHUP}}; }

struct StopCase
{
    const char *tag;
    QString command;
    int signal;
};

QList<StopCase> stopCases()
{
    return {{"write, SIGTERM", "--write", SIGTERM}, {"write, SIGHUP", "--write", SIGHUP},
            {"write, SIGQUIT", "--write", SIGQUIT}, {"read, SIGHUP", "--read", SIGHUP}};
}

// Adds one row per case, the case's index as its datum.
template <typename Case> void addRows(const QList<Case> &cases)
{
    QTest::addColumn<int>("row");
    for (int row = 0; row < cases.size(); ++row)
        QTest::newRow(cases[row].tag) << row;
}

} // namespace

// The outcome of this test function's scenario (of this row's, for a row), or a failure when it
// could not be played to the point of its checks.
#define TAKE_SEEN(name)                                                                                                \
    const Seen name = m_seen.value(sceneKey());                                                                        \
    QVERIFY2(m_seen.contains(sceneKey()), qPrintable(sceneKey()));                                                     \
    QVERIFY2(name.failure.isEmpty(), qPrintable(name.failure))

class TestProductionLine : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::vector<std::pair<QString, std::function<void(ProductionScene &)>>> m_scenes;
    QHash<QString, Seen> m_seen;

    static QString sceneKey()
    {
        const QString function = QString::fromLatin1(QTest::currentTestFunction());
        const char *tag = QTest::currentDataTag();
        return tag ? function + QLatin1Char('/') + QString::fromUtf8(tag) : function;
    }

    void add(const QString &key, std::function<void(ProductionScene &)> play) { m_scenes.emplace_back(key, std::move(play)); }

    template <typename Case>
    void addEach(const char *function, const QList<Case> &cases, void (*play)(ProductionScene &, const Case &))
    {
        for (const Case &one : cases)
            add(QString::fromLatin1(function) + QLatin1Char('/') + QString::fromUtf8(one.tag),
                [play, one](ProductionScene &scene) { play(scene, one); });
    }

    // --- the scenarios: each plays on its own thread and keeps what it saw ---

    static void playExitCode(ProductionScene &scene, const ExitCase &c)
    {
        const QString device = scene.startSim(c.simOptions, QStringLiteral("state.txt"));
        scene.seen.facts[QStringLiteral("device")] = device;
        const QString file = c.command == "--read" ? scene.path(QStringLiteral("READ.pnl")) : scene.lobby();
        scene.run({c.command, file, QStringLiteral("--port"), device});
    }

    static void playPort(ProductionScene &scene, const PortCase &c)
    {
        QString device = c.device;
        QString says = c.says;
        QSerialPort holder;
        if (device == "held") {
            device = scene.startSim({}, QStringLiteral("held.txt"));
            holder.setPortName(device);
            if (!holder.open(QIODevice::ReadWrite))
                scene.fail(QStringLiteral("the holder could not open the port"));
            QFile comm(QStringLiteral("/proc/self/comm"));
            comm.open(QIODevice::ReadOnly);
            says = says.arg(QStringLiteral("%1 (pid %2)")
                                .arg(QString::fromLocal8Bit(comm.readAll()).trimmed())
                                .arg(QCoreApplication::applicationPid()));
        }
        scene.seen.facts[QStringLiteral("says")] = says;
        scene.run({QStringLiteral("--write"), scene.lobby(), QStringLiteral("--port"), scene.placed({device}).first()});
    }

    static void playRefused(ProductionScene &scene, const RefusedCase &c)
    {
        scene.lobby();
        writeAll(scene.path(QStringLiteral("BAD.pnl")), lobbyWith({{1, "\"other\""}}));
        writeAll(scene.path(QStringLiteral("FLAG\x1b[2J.pnl")), lobbyWith({{8, "160"}})); // independent lighting, no BL/MR
        if (!makeFifo(scene.path(QStringLiteral("FIFO"))))
            scene.fail(QStringLiteral("no FIFO"));
        Launch launch;
        launch.display = c.display;
        scene.run(scene.placed(c.arguments), launch);
    }

    static void playOutputFailure(ProductionScene &scene, const OutputCase &c)
    {
        const QString &fault = c.fault;
        const QString state = scene.path(QStringLiteral("out.txt"));
        const QString device = scene.startSim({QStringLiteral("--baud-timing")}, QStringLiteral("out.txt"));
        const bool logFails = fault.startsWith(QLatin1String("log"));
        const bool blocked = fault.endsWith(QLatin1String("blocked"));
        const QString log = logFails ? QStringLiteral("/dev/full") : scene.path(QStringLiteral("out.jsonl"));
        Launch launch;
        launch.dataHome = scene.path(QStringLiteral("kept"));
        if (fault == "full")
            launch.stdoutFile = QStringLiteral("/dev/full");
        // A pipe already full that nobody empties: every write to it waits.
        const QString fifo = scene.path(QStringLiteral("full.fifo"));
        int reader = -1;
        int filler = -1;
        if (blocked) {
            makeFifo(fifo);
            reader = ::open(QFile::encodeName(fifo).constData(), O_RDONLY | O_NONBLOCK);
            filler = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK);
            const QByteArray block(4096, 'x');
            while (filler >= 0 && ::write(filler, block.constData(), size_t(block.size())) > 0) {
            }
            launch.stdoutFile = fifo;
            if (fault == "all blocked")
                launch.stderrFile = fifo;
        }
        QStringList arguments{QStringLiteral("--write"), scene.lobby(), QStringLiteral("--port"), device,
                              QStringLiteral("--log"), log};
        if (fault == "log repeat")
            arguments << QStringLiteral("--repeat");
        if (fault == "pipe") { // as in panelconfig ... | head -c0
            arguments = QStringList{QStringLiteral("-c"), QStringLiteral("\"$0\" \"$@\" | head -c0; exit ${PIPESTATUS[0]}"),
                                    QStringLiteral(PANELCONFIG_PATH)}
                + arguments;
            launch.executable = QStringLiteral("bash");
        }
        QProcess program;
        ProductionScene::start(program, arguments, launch);
        if (blocked) {
            if (!QTest::qWaitFor([&] { return readAll(log).endsWith('\n'); }, 20000))
                scene.fail(QStringLiteral("the log line was never written"));
            ::kill(pid_t(program.processId()), fault == "all blocked" ? SIGINT : SIGTERM);
            scene.seen.facts[QStringLiteral("ended soon")] = program.waitForFinished(3000);
            ::close(reader);
            ::close(filler);
        }
        scene.seen.runs.append(ProductionScene::finish(program, 20000));
        // The panel keeps its registers a moment after it has answered.
        static_cast<void>(QTest::qWaitFor([&] { return readSimState(state).value(9) == 3; }, 5000));
        scene.seen.facts[QStringLiteral("register 9")] = readSimState(state).value(9);
        scene.seen.facts[QStringLiteral("log")] = logFails ? QString() : QString::fromUtf8(readAll(log));
        scene.seen.facts[QStringLiteral("journal")] =
            QString::fromUtf8(readAll(launch.dataHome + QStringLiteral("/panelconfig/history/journal.jsonl")));
    }

    static void playRepeatFirst(ProductionScene &scene, const RepeatCase &c)
    {
        const QString device = c.panel == "none" ? scene.path(QStringLiteral("ttyNONE"))
                                                 : scene.startSim({c.panel}, QStringLiteral("repeat.txt"));
        QProcess program;
        ProductionScene::start(program, {QStringLiteral("--write"), scene.lobby(), QStringLiteral("--port"), device,
                                         QStringLiteral("--repeat"), QStringLiteral("--json")});
        if (!ProductionScene::stopAfterLines(program, 1, SIGINT, c.thenMs))
            scene.fail(QStringLiteral("no first result"));
        scene.seen.runs.append(ProductionScene::finish(program, 10000));
    }

    static QStringList writeOnTwoPanels(ProductionScene &scene)
    {
        QStringList arguments{QStringLiteral("--write"), scene.lobby(), QStringLiteral("--backup")};
        for (const char *state : {"h1.txt", "h2.txt"})
            arguments << QStringLiteral("--port") << scene.startSim({}, QString::fromLatin1(state));
        return arguments;
    }

    static void playHistoryKept(ProductionScene &scene)
    {
        Launch kept;
        kept.dataHome = scene.path(QStringLiteral("kept"));
        scene.run(writeOnTwoPanels(scene), kept);
        scene.run({QStringLiteral("--history"), QStringLiteral("--json")}, kept);
        // The port under its full name and under the short name --port also takes.
        const QString device = scene.lastSim().devicePath();
        for (const QString &port : {device, device.mid(int(qstrlen("/dev/")))})
            scene.run({QStringLiteral("--history"), QStringLiteral("--port"), port}, kept);
    }

    static void playHistoryBroken(ProductionScene &scene)
    {
        Launch broken;
        broken.dataHome = scene.path(QStringLiteral("broken"));
        QDir().mkpath(broken.dataHome + QStringLiteral("/panelconfig/history/journal.jsonl"));
        scene.run(writeOnTwoPanels(scene), broken);
    }

    static void playHistoryFifo(ProductionScene &scene)
    {
        Launch fifo;
        fifo.dataHome = scene.path(QStringLiteral("fifo"));
        QDir().mkpath(fifo.dataHome + QStringLiteral("/panelconfig/history"));
        if (!makeFifo(fifo.dataHome + QStringLiteral("/panelconfig/history/journal.jsonl")))
            scene.fail(QStringLiteral("no FIFO"));
        scene.run(writeOnTwoPanels(scene), fifo);
        scene.run({QStringLiteral("--history")}, fifo);
    }

    static void playHistorySignal(ProductionScene &scene, const SignalCase &c)
    {
        Launch launch;
        launch.dataHome = scene.path(QStringLiteral("signals"));
        const QString folder = launch.dataHome + QStringLiteral("/panelconfig/history");
        QDir().mkpath(folder);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QByteArray journal;
        for (int n = 0; n < 2000; ++n) // far more than a pipe holds
            journal += R"({"time":"t","command":"read","port":"/dev/ttyX","result":"SWITCH PANEL DATA READ SUCCESSFUL","exit_code":0})" "\n";
        writeAll(folder + QStringLiteral("/journal.jsonl"), journal);
        launch.stdoutFile = scene.path(QStringLiteral("stdout"));
        makeFifo(launch.stdoutFile);
        const int reader = ::open(QFile::encodeName(launch.stdoutFile).constData(), O_RDONLY | O_NONBLOCK); // never read
        QProcess program;
        ProductionScene::start(program, {QStringLiteral("--history")}, launch);
        const auto waiting = [reader] {
            int bytes = 0;
            return ::ioctl(reader, FIONREAD, &bytes) == 0 ? bytes : 0;
        };
        // The pipe is full (64 KiB, less what a whole line no longer fitted) and the listing waits.
        if (!QTest::qWaitFor([&] { return waiting() >= 60000 && program.state() == QProcess::Running; }, 10000))
            scene.fail(QStringLiteral("the listing did not fill the pipe and wait"));
        ::kill(pid_t(program.processId()), c.signal);
        scene.seen.facts[QStringLiteral("ended")] = program.waitForFinished(5000);
        scene.seen.runs.append(ProductionScene::finish(program, 0));
        ::close(reader);
    }

    static void playReadThenVerify(ProductionScene &scene)
    {
        const QString first = scene.startSim({}, QStringLiteral("first.txt"));
        scene.run({QStringLiteral("--write"), scene.lobby(), QStringLiteral("--port"), first});
        const QString saved = scene.path(QStringLiteral("saved.pnl"));
        scene.run({QStringLiteral("--read"), saved, QStringLiteral("--port"), first, QStringLiteral("--name"), QStringLiteral("EAST")});
        scene.run({QStringLiteral("--verify"), saved, QStringLiteral("--port"), first, QStringLiteral("--json")});
        const QString other = scene.startSim({}, QStringLiteral("other.txt")); // a new panel, as it comes
        scene.seen.facts[QStringLiteral("other")] = other;
        scene.run({QStringLiteral("--verify"), saved, QStringLiteral("--port"), other});
    }

    static void playReadNames(ProductionScene &scene)
    {
        QStringList arguments{QStringLiteral("--read"), scene.path(QStringLiteral("N{n}-{port}.pnl")),
                              QStringLiteral("--name"), QStringLiteral("EAST")};
        for (const char *state : {"a.txt", "b.txt"})
            arguments << QStringLiteral("--port") << scene.startSim({}, QString::fromLatin1(state));
        scene.run(arguments);
        const QStringList files = QDir(scene.folder()).entryList({QStringLiteral("N0*.pnl")});
        scene.seen.facts[QStringLiteral("files")] = files;
        QStringList starts;
        for (const QString &name : files)
            starts << QString::fromUtf8(readAll(scene.path(name)).left(22));
        scene.seen.facts[QStringLiteral("starts")] = starts;
    }

    static void playTrace(ProductionScene &scene, int ports)
    {
        QStringList arguments{QStringLiteral("--write"), scene.lobby(), QStringLiteral("--trace")};
        QStringList devices;
        for (int i = 0; i < ports; ++i) {
            devices << scene.startSim({}, QStringLiteral("trace%1.txt").arg(i));
            arguments << QStringLiteral("--port") << devices.last();
        }
        scene.seen.facts[QStringLiteral("devices")] = devices;
        scene.run(arguments);
    }

    static void playSeveralPorts(ProductionScene &scene)
    {
        QStringList arguments{QStringLiteral("--write"), scene.lobby(), QStringLiteral("--json")};
        QStringList devices;
        for (const char *state : {"a.txt", "b.txt", "c.txt"}) {
            devices << scene.startSim({QStringLiteral("--baud-timing")}, QString::fromLatin1(state));
            arguments << QStringLiteral("--port") << devices.constLast();
        }
        arguments << QStringLiteral("--port") << scene.path(QStringLiteral("ttyNONE"));
        scene.seen.facts[QStringLiteral("devices")] = devices;
        scene.run(arguments);
        QVariantList registers;
        for (const char *state : {"a.txt", "b.txt", "c.txt"})
            registers << readSimState(scene.path(QString::fromLatin1(state))).value(2);
        scene.seen.facts[QStringLiteral("register 2")] = registers;
    }

    static void playRepeatUntilTerminated(ProductionScene &scene)
    {
        const QString device = scene.startSim({}, QStringLiteral("state.txt"));
        scene.seen.facts[QStringLiteral("device")] = device;
        const QString log = scene.path(QStringLiteral("log.jsonl"));
        writeAll(log, "{\"earlier\":true}\n");
        QProcess program;
        ProductionScene::start(program, {QStringLiteral("--write"), scene.lobby(), QStringLiteral("--port"), device,
                                         QStringLiteral("--repeat"), QStringLiteral("--log"), log});
        if (!QTest::qWaitFor([&] { return ProductionScene::linesSoFar(program) == 1; }, 20000))
            scene.fail(QStringLiteral("the first panel was not programmed"));
        const auto sim = pid_t(scene.lastSim().process().processId());
        ::kill(sim, SIGUSR1); // unplugged
        QTest::qWait(2500);   // long enough for the program to see it gone
        QFile::remove(scene.path(QStringLiteral("state.txt")));
        ::kill(sim, SIGUSR1); // the next panel
        if (!QTest::qWaitFor([&] { return ProductionScene::linesSoFar(program) == 2; }, 20000))
            scene.fail(QStringLiteral("the next panel was not programmed"));
        program.terminate();
        scene.seen.runs.append(ProductionScene::finish(program, 10000));
        scene.seen.facts[QStringLiteral("log")] = QString::fromUtf8(readAll(log));
    }

    static void playStopped(ProductionScene &scene, const StopCase &c)
    {
        const QString state = scene.path(QStringLiteral("mid.txt"));
        const QString device = scene.startSim({QStringLiteral("--baud-timing"), QStringLiteral("--log")}, QStringLiteral("mid.txt"));
        const QString log = scene.path(QStringLiteral("mid.jsonl"));
        const QString file = c.command == "--read" ? scene.path(QStringLiteral("MID.pnl")) : scene.lobby();
        QProcess program;
        ProductionScene::start(program, {c.command, file, QStringLiteral("--port"), device, QStringLiteral("--log"), log});
        QProcess &sim = scene.lastSim().process();
        QString simLog; // the panel's own account of every command
        if (!QTest::qWaitFor([&] { return (simLog += QString::fromUtf8(sim.readAllStandardError())).contains(QStringLiteral("read r1 ->")); },
                             20000))
            scene.fail(QStringLiteral("the panel never gave its second register"));
        ::kill(pid_t(program.processId()), c.signal);
        scene.seen.runs.append(ProductionScene::finish(program, 10000));
        scene.seen.facts[QStringLiteral("register 9")] = readSimState(state).value(9);
        scene.seen.facts[QStringLiteral("log")] = QString::fromUtf8(readAll(log));
        scene.seen.facts[QStringLiteral("file kept")] = QFile::exists(scene.path(QStringLiteral("MID.pnl")));
    }

private slots:
    // Plays every scenario, the longest first.
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        add(QStringLiteral("repeatUntilTerminated"), playRepeatUntilTerminated);
        add(QStringLiteral("readThenVerify"), playReadThenVerify);
        add(QStringLiteral("history/kept"), playHistoryKept);
        add(QStringLiteral("history/broken"), playHistoryBroken);
        add(QStringLiteral("history/fifo"), playHistoryFifo);
        addEach("repeatFirstResult", repeatCases(), playRepeatFirst);
        addEach("outputFailures", outputCases(), playOutputFailure);
        addEach("exitCodes", exitCases(), playExitCode);
        add(QStringLiteral("severalPortsAtOnce"), playSeveralPorts);
        add(QStringLiteral("readNamesEachPanel"), playReadNames);
        addEach("stoppedMidOperation", stopCases(), playStopped);
        addEach("historyEndsOnSignals", signalCases(), playHistorySignal);
        addEach("portsToldApart", portCases(), playPort);
        add(QStringLiteral("traceShowsEveryByte/one port"), [](ProductionScene &scene) { playTrace(scene, 1); });
        add(QStringLiteral("traceShowsEveryByte/two ports"), [](ProductionScene &scene) { playTrace(scene, 2); });
        addEach("refusedBeforeAnyPort", refusedCases(), playRefused);

        std::vector<Seen> seen(m_scenes.size());
        std::vector<std::function<void()>> jobs;
        for (size_t n = 0; n < m_scenes.size(); ++n)
            jobs.emplace_back([this, n, &seen] {
                ProductionScene scene(m_dir.filePath(QString::number(n)));
                m_scenes[n].second(scene);
                seen[n] = scene.seen;
            });
        runAtOnce(jobs, scenesAtOnce());
        for (size_t n = 0; n < m_scenes.size(); ++n)
            m_seen.insert(m_scenes[n].first, seen[n]);
    }

    void exitCodes_data() { addRows(exitCases()); }

    void exitCodes()
    {
        QFETCH(int, row);
        const ExitCase c = exitCases()[row];
        TAKE_SEEN(seen);
        const Ran &ran = seen.runs[0];
        QVERIFY2(ran.code == c.exitCode, qPrintable(QString::number(ran.code) + QLatin1Char(' ') + ran.lines.join('\n')));
        QCOMPARE(ran.lines.size(), 1);
        const QString device = seen.facts.value(QStringLiteral("device")).toString();
        QVERIFY2(ran.lines[0].startsWith(device + QStringLiteral(": ") + c.result), qPrintable(ran.lines[0]));
    }

    // A port that does not open is told apart by its cause, with the advice for that cause.
    void portsToldApart_data() { addRows(portCases()); }

    void portsToldApart()
    {
        TAKE_SEEN(seen);
        const Ran &ran = seen.runs[0];
        QCOMPARE(ran.code, 5);
        QVERIFY(ran.lines.value(0).contains(QStringLiteral("COMMUNICATIONS FAILURE SERIAL PORT COULD NOT BE OPENED")));
        QVERIFY2(ran.errors.contains(seen.facts.value(QStringLiteral("says")).toString()), qPrintable(ran.errors));
        QVERIFY2(!ran.errors.contains(QStringLiteral("member of the group")), qPrintable(ran.errors));
        QVERIFY(!(ran.lines.join('\n') + ran.errors).contains(QChar(0x1b)));
    }

    // Refused before any port is opened (the port does not exist: opening it would end in 5), and
    // never in need of a display, even with DISPLAY naming no server.
    void refusedBeforeAnyPort_data() { addRows(refusedCases()); }

    void refusedBeforeAnyPort()
    {
        QFETCH(int, row);
        const RefusedCase c = refusedCases()[row];
        TAKE_SEEN(seen);
        const Ran &ran = seen.runs[0];
        QCOMPARE(ran.code, c.exitCode);
        QVERIFY2(ran.errors.contains(c.says), qPrintable(ran.errors));
        QVERIFY(!ran.errors.contains(QChar(0x1b)));
    }

    // Each port's panel gets its own file, never one over the other's.
    void readNamesEachPanel()
    {
        TAKE_SEEN(seen);
        QCOMPARE(seen.runs[0].code, 0);
        const QStringList files = seen.facts.value(QStringLiteral("files")).toStringList();
        QCOMPARE(files.size(), 2);
        QVERIFY2(files[0].startsWith(QLatin1String("N001-")) && files[1].startsWith(QLatin1String("N002-")), qPrintable(files.join(' ')));
        for (const QString &start : seen.facts.value(QStringLiteral("starts")).toStringList())
            QCOMPARE(start, QStringLiteral("\"00-04412-MDL\",\"EAST\","));
    }

    // A result that cannot be printed or logged never hides: the panel is programmed, logged and kept
    // in the history, the rest is told on stderr, and the run ends with 4: by itself, or soon after a
    // stop signal when nothing reads its output.
    void outputFailures_data() { addRows(outputCases()); }

    void outputFailures()
    {
        QFETCH(int, row);
        const OutputCase c = outputCases()[row];
        TAKE_SEEN(seen);
        const Ran &ran = seen.runs[0];
        if (c.fault.endsWith(QLatin1String("blocked")))
            QVERIFY(seen.facts.value(QStringLiteral("ended soon")).toBool());
        QCOMPARE(ran.status, QProcess::NormalExit);
        QCOMPARE(ran.code, 4);
        QVERIFY2(ran.errors.contains(c.says), qPrintable(ran.errors));
        QCOMPARE(ran.errors.count(QStringLiteral("could not be printed")), c.says.contains(QStringLiteral("printed")) ? 1 : 0);
        QVERIFY2(seen.facts.value(QStringLiteral("register 9")).toInt() == 3, // the whole panel was programmed
                 qPrintable(seen.facts.value(QStringLiteral("journal")).toString()));
        if (c.fault == "log repeat")
            QVERIFY(ran.lines.join('\n').contains(QStringLiteral("tally: 1 panel, 1 done, 0 not done")));
        if (!c.fault.startsWith(QLatin1String("log")))
            QCOMPARE(jsonOf(seen.facts.value(QStringLiteral("log")).toString()).value(QStringLiteral("exit_code")).toInt(), 0);
        QVERIFY(seen.facts.value(QStringLiteral("journal")).toString().contains(QStringLiteral("\"command\":\"write\"")));
    }

    // Under --repeat a port that cannot be opened is told of at once, counted and kept in the exit code,
    // and a panel that answers only its third hail is found and programmed, as without --repeat.
    void repeatFirstResult_data() { addRows(repeatCases()); }

    void repeatFirstResult()
    {
        QFETCH(int, row);
        const RepeatCase c = repeatCases()[row];
        TAKE_SEEN(seen);
        const Ran &ran = seen.runs[0];
        QCOMPARE(ran.code, c.exitCode);
        QCOMPARE(ran.lines.size(), 2);
        QCOMPARE(jsonOf(ran.lines[0]).value(QStringLiteral("exit_code")).toInt(), c.exitCode);
        QCOMPARE(jsonOf(ran.lines[0]).contains(QStringLiteral("count")), c.panels > 0);
        const QJsonObject tally = jsonOf(ran.lines[1]).value(QStringLiteral("tally")).toObject();
        QCOMPARE(tally.value(QStringLiteral("panels")).toInt(), c.panels);
        QCOMPARE(tally.value(QStringLiteral("port_failures")).toInt(), c.portFailures);
    }

    // Every panel's operation is in the history, newest first; a history that cannot be kept changes no
    // result and is said once; a journal that is a FIFO is refused at once, by the operations and by
    // the listing.
    void history_data()
    {
        QTest::addColumn<int>("unused");
        for (const char *tag : {"kept", "broken", "fifo"})
            QTest::newRow(tag) << 0;
    }

    void history()
    {
        TAKE_SEEN(seen);
        const QString tag = QString::fromLatin1(QTest::currentDataTag());
        const Ran &write = seen.runs[0];
        QCOMPARE(write.code, 0);
        QCOMPARE(write.lines.filter(QStringLiteral("SWITCH PANEL HAS BEEN PROGRAMMED")).size(), 2);
        if (tag == "kept") {
            QCOMPARE(write.errors, QString());
            QCOMPARE(seen.runs.size(), 4);
            QCOMPARE(seen.runs[1].code, 0);
            QStringList commands;
            for (const QString &line : seen.runs[1].lines)
                commands << jsonOf(line).value(QStringLiteral("command")).toString();
            commands.sort();
            QCOMPARE(commands, QStringList({"backup", "backup", "write", "write"}));
            for (const Ran &listed : seen.runs.mid(2)) {
                QCOMPARE(listed.code, 0);
                QCOMPARE(listed.lines.size(), 2);
                QVERIFY2(listed.lines[0].contains(QStringLiteral("  write  ")) && listed.lines[1].contains(QStringLiteral("  backup  ")),
                         qPrintable(listed.lines.join('\n')));
            }
        } else if (tag == "broken") {
            QCOMPARE(write.errors.count(QStringLiteral("the history could not be kept")), 1);
        } else {
            QVERIFY2(write.errors.contains(QStringLiteral("journal.jsonl is a FIFO")), qPrintable(write.errors));
            QCOMPARE(seen.runs.size(), 2);
            const Ran &listed = seen.runs[1];
            QCOMPARE(listed.code, 4);
            QVERIFY2(listed.errors.contains(QStringLiteral("the history cannot be read: ")) && listed.errors.contains(QStringLiteral("is a FIFO")),
                     qPrintable(listed.errors));
        }
    }

    // A listing waiting for an output that takes no more ends on the signal at once.
    void historyEndsOnSignals_data() { addRows(signalCases()); }

    void historyEndsOnSignals()
    {
        TAKE_SEEN(seen);
        QVERIFY(seen.facts.value(QStringLiteral("ended")).toBool());
        QCOMPARE(seen.runs[0].status, QProcess::CrashExit); // ended by the signal itself
    }

    // A panel read into a file verifies against that file; another panel differs from it.
    void readThenVerify()
    {
        TAKE_SEEN(seen);
        QCOMPARE(seen.runs.size(), 4);
        QCOMPARE(seen.runs[0].code, 0);
        QCOMPARE(seen.runs[1].code, 0);
        QCOMPARE(seen.runs[2].code, 0);
        QCOMPARE(jsonOf(seen.runs[2].lines.value(0)).value(QStringLiteral("result")).toString(),
                 QStringLiteral("SWITCH PANEL MATCHES THE FILE"));
        const Ran &other = seen.runs[3];
        QCOMPARE(other.code, 1);
        const QString device = seen.facts.value(QStringLiteral("other")).toString();
        QVERIFY2(other.lines.contains(device + QStringLiteral(":   SW2: panel A/2, file B/3")), qPrintable(other.lines.join('\n')));
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
        TAKE_SEEN(seen);
        const Ran &ran = seen.runs[0];
        QCOMPARE(ran.code, 0);
        const QStringList said = ran.errors.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        static const QRegularExpression sent(QStringLiteral("^ *\\d+ ms → "));
        for (const QString &device : seen.facts.value(QStringLiteral("devices")).toStringList()) {
            const QString prefix = ports > 1 ? device + QStringLiteral(": ") : QString();
            QStringList mine;
            for (const QString &line : said) {
                if (line.startsWith(prefix))
                    mine << line.mid(prefix.size());
            }
            QVERIFY2(!mine.isEmpty() && mine[0].startsWith(QStringLiteral("write on ") + device), qPrintable(ran.errors));
            QCOMPARE(mine.filter(sent).size(), 1 + 1 + 2 * 10); // a hail, the identity, each write and its read-back
            for (const char *meaning : {"  hail answered", "  read r=63 → 73", "  write r=1 v=12 acknowledged", "  read r=9 → 3"})
                QVERIFY2(!mine.filter(QString::fromUtf8(meaning)).isEmpty(), qPrintable(meaning + ran.errors));
        }
    }

    void severalPortsAtOnce()
    {
        TAKE_SEEN(seen);
        QCOMPARE(seen.runs[0].code, 5);
        QStringList programmed;
        for (const QString &line : seen.runs[0].lines) {
            const QJsonObject result = jsonOf(line);
            if (result.value(QStringLiteral("exit_code")).toInt() == 0)
                programmed << result.value(QStringLiteral("port")).toString();
        }
        QStringList devices = seen.facts.value(QStringLiteral("devices")).toStringList();
        programmed.sort();
        devices.sort();
        QCOMPARE(programmed, devices);
        QCOMPARE(seen.facts.value(QStringLiteral("register 2")).toList(), QVariantList({159, 159, 159}));
    }

    // One panel programmed, unplugged, the next one plugged in and programmed, then SIGTERM.
    void repeatUntilTerminated()
    {
        TAKE_SEEN(seen);
        const Ran &ran = seen.runs[0];
        QCOMPARE(ran.code, 0);
        QCOMPARE(ran.lines.size(), 3);
        const QString device = seen.facts.value(QStringLiteral("device")).toString();
        QVERIFY2(ran.lines[1].startsWith(device + QStringLiteral(" #2: SWITCH PANEL HAS BEEN PROGRAMMED")), qPrintable(ran.lines[1]));
        QCOMPARE(ran.lines[2], QStringLiteral("tally: 2 panels, 2 done, 0 not done"));
        const QStringList logged = seen.facts.value(QStringLiteral("log")).toString().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
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

    // Stopped once the panel has taken or given its second register: the rest is never sent, the
    // port closes, and the result and its log line say so, with only the registers seen.
    void stoppedMidOperation_data() { addRows(stopCases()); }

    void stoppedMidOperation()
    {
        TAKE_SEEN(seen);
        const Ran &ran = seen.runs[0];
        QCOMPARE(ran.status, QProcess::NormalExit);
        QCOMPARE(ran.code, 2);
        QVERIFY(seen.facts.value(QStringLiteral("register 9")).toInt() != 3); // the last register was never written
        QVERIFY(ran.lines.join('\n').contains(QStringLiteral(": STOPPED BEFORE THE END (")));
        const QJsonObject entry = jsonOf(seen.facts.value(QStringLiteral("log")).toString());
        QCOMPARE(entry.value(QStringLiteral("result")).toString(), QStringLiteral("STOPPED BEFORE THE END"));
        QVERIFY(entry.value(QStringLiteral("registers")).toArray().at(9).isNull());
        QVERIFY(!seen.facts.value(QStringLiteral("file kept")).toBool());
    }
};

QTEST_MAIN(TestProductionLine)
#include "tst_production_line.moc"
