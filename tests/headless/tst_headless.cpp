// The command line's panel jobs against a scripted panel: they write exactly what the window writes
// for the same file, say what the window says, tell only what the panel was seen to hold, and end
// with the exit code of what happened. The checks made before any port is opened.
#include "headless/history_listing.h"
#include "headless/panel_job.h"
#include "headless/production_line.h"
#include "headless/run_checks.h"
#include "headless/text_output.h"
#include "files.h"
#include "recording_dialogs.h"
#include "sample_record.h"
#include "scripted_panel.h"
#include "ui/form1.h"

#include <QJsonDocument>
#include <QElapsedTimer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QtTest>

#include <sys/stat.h>

using namespace panel;
using test::lobbyWith;
using Command = JobRequest::Command;
using Registers = QList<QPair<int, int>>;
using Seen = QList<int>; // -1: not seen

namespace {

Seen seenOf(const SeenRegisters &registers)
{
    Seen seen;
    for (const std::optional<qint16> &value : registers)
        seen << (value ? int(*value) : -1);
    return seen;
}

const Seen kLobbyRegisters{0, 12, 159, 160, 160, 160, 159, 1, 10, 3};

// The scripted panels answer at once: a short tick keeps the suite quick.
constexpr int kTestTick = 10;

// A port whose panel comes and goes, one step of the plan at each opening: 'P' a panel that answers
// every hail, '3' one that answers only the third hail after a quiet spell, '-' no panel, 'B' the port
// held by another program, 'N' no device. Once the plan is done, the run is stopped.
class PlannedPort : public ScriptedPanel
{
public:
    static constexpr int kQuietMs = 6 * kTestTick; // far longer than the tick between two hails of a sequence

    PlannedPort(const QString &plan, std::atomic<bool> &stop)
        : m_plan(plan)
        , m_stop(stop)
    {
        script = [this](Kind kind, const QByteArray &) -> std::optional<Reply> {
            if (kind != Hail)
                return std::nullopt;
            const bool quiet = !m_sinceHail.isValid() || m_sinceHail.elapsed() >= kQuietMs;
            m_sinceHail.start();
            m_hailsInSequence = quiet ? 1 : m_hailsInSequence + 1;
            const bool answers = m_step == 'P' || (m_step == '3' && m_hailsInSequence == 3);
            return answers ? std::nullopt : std::optional<Reply>(Reply{});
        };
    }

    bool open(const QString &settings, QString *error) override
    {
        m_step = m_openings < m_plan.size() ? m_plan.at(m_openings).toLatin1() : '-';
        if (++m_openings > m_plan.size())
            m_stop = true;
        openError = m_step == 'B'   ? QStringLiteral("Device or resource busy")
                    : m_step == 'N' ? QStringLiteral("No such file or directory")
                                    : QString();
        return ScriptedPanel::open(settings, error);
    }
    bool deviceAbsent() const override { return m_step == 'N'; }

private:
    QString m_plan;
    std::atomic<bool> &m_stop;
    qsizetype m_openings = 0;
    char m_step = '-';
    QElapsedTimer m_sinceHail;
    int m_hailsInSequence = 0;
};

} // namespace

class TestHeadless : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString file(const QByteArray &bytes, const QString &name = QStringLiteral("in.pnl"))
    {
        const QString path = m_dir.filePath(name);
        if (!writeAll(path, bytes))
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    // A run as the command line makes it, after the checks made before any port is opened.
    static ProductionRun runOf(Command command, const QString &path, const QStringList &devices = {"/dev/ttyFAKE"})
    {
        ProductionRun run;
        run.request.command = command;
        run.request.file = path;
        run.request.target.pattern = path;
        run.request.tickMilliseconds = kTestTick;
        run.devices = devices;
        return run;
    }

    static JobRequest request(Command command, const QString &path, const QString &name = {}, bool replace = false)
    {
        ProductionRun run = runOf(command, path);
        run.request.target.panelName = name;
        run.request.target.replace = replace;
        if (const auto refusal = checkRun(run))
            qFatal("refused: %s", qPrintable(refusal->message));
        return run.request;
    }

private slots:
    // The window opens the file and writes; the command line writes the file: the same registers,
    // and the window's messages as the command line's warnings.
    void writesWhatTheWindowWrites_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("LOBBY") << lobbyWith({});
        QTest::newRow("codes of every kind") << lobbyWith({{4, "9"}, {6, "155"}, {8, "160"}, {10, "159"}, {12, "40"}, {14, "199"}});
        QTest::newRow("flag without BL/MR") << lobbyWith({{8, "160"}});
        QTest::newRow("flag 2") << lobbyWith({{17, "2"}});
        QTest::newRow("backlight above indicator") << lobbyWith({{19, "3"}, {21, "7"}});
        QTest::newRow("both messages") << lobbyWith({{8, "160"}, {19, "3"}, {21, "7"}});
        QTest::newRow("intensities out of range") << lobbyWith({{19, "0"}, {21, "11"}});
        QTest::newRow("words for numbers") << lobbyWith({{4, "WORD"}, {19, "x"}, {21, "y"}});
    }

    void writesWhatTheWindowWrites()
    {
        QFETCH(QByteArray, bytes);
        const QString path = file(bytes);

        RecordingDialogs dialogs;
        ScriptedPanel windowPanel;
        Form1 window(dialogs, windowPanel, kTestTick);
        window.openFile(path);
        window.findChild<QPushButton *>(QStringLiteral("WRITE_CONFIG"))->click();
        QStringList shown;
        for (const auto &m : dialogs.messages)
            shown << QString(m.text).replace(QChar(10), QChar(' '));

        ScriptedPanel linePanel;
        const JobResult result = runJob(request(Command::Write, path), linePanel);
        QCOMPARE(result.exitCode, int(kExitDone));
        QCOMPARE(result.result, QStringLiteral("SWITCH PANEL HAS BEEN PROGRAMMED"));
        QCOMPARE(linePanel.writes, windowPanel.writes);
        Seen written;
        for (const auto &write : linePanel.writes)
            written << write.second;
        QCOMPARE(seenOf(result.registers), written);
        QCOMPARE(Seen(result.intended->cbegin(), result.intended->cend()), written);
        QCOMPARE(result.warnings, shown);
    }

    void verifyTellsDifferences_data()
    {
        QTest::addColumn<Registers>("panelRegisters");
        QTest::addColumn<QStringList>("differences");
        QTest::newRow("same") << Registers{} << QStringList{};
        QTest::newRow("one difference") << Registers{{5, 159}} << QStringList{"SW6: panel BL/MR, file N/A"};
        QTest::newRow("channel and back-light")
            << Registers{{1, 13}, {9, 4}}
            << QStringList{"SW2: panel B/4, file B/3", "backlight: panel 60 %, file 50 %"};
        QTest::newRow("module, lighting, indicator")
            << Registers{{0, 160}, {7, 0}, {8, 7}}
            << QStringList{"SW1: panel N/A, file A/1", "independent lighting: panel off, file on",
                           "indicator: panel 90 %, file 100 %"};
    }

    void verifyTellsDifferences()
    {
        QFETCH(Registers, panelRegisters);
        QFETCH(QStringList, differences);
        ScriptedPanel panel; // holds the LOBBY configuration
        panel.device = QStringLiteral("ttyFAKE"); // as --port takes a short name
        for (const auto &reg : panelRegisters)
            panel.registers[reg.first] = reg.second;
        const JobResult result = runJob(request(Command::Verify, file(lobbyWith({}))), panel);
        QCOMPARE(result.differences, differences);
        QCOMPARE(result.exitCode, differences.isEmpty() ? int(kExitDone) : int(kExitDifferences));
        QCOMPARE(result.result, differences.isEmpty() ? QStringLiteral("SWITCH PANEL MATCHES THE FILE")
                                                      : QStringLiteral("SWITCH PANEL DIFFERS FROM THE FILE"));
        QVERIFY(panel.writes.isEmpty());
        QCOMPARE(result.history.size(), 1);
        QCOMPARE(result.history[0].result, result.result);
        QCOMPARE(result.history[0].exitCode, result.exitCode);
        QVERIFY(result.history[0].intended.has_value());
        QVERIFY(!result.history[0].snapshot.has_value());
        QCOMPARE(result.history[0].port, QStringLiteral("/dev/ttyFAKE"));
    }

    void readThenVerify()
    {
        ScriptedPanel panel;
        panel.registers[1] = 47;
        const QString path = m_dir.filePath(QStringLiteral("EAST.WING.pnl"));
        const JobResult read = runJob(request(Command::Read, path), panel);
        QCOMPARE(read.exitCode, int(kExitDone));
        QFile saved(path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), QByteArray("\"00-04412-MDL\",\"EAST.WING\",\"\",0,\"\",47,\"\",159,\"\",160,\"\",160,"
                                             "\"\",160,159,\"feature\",1,\"ind%\",10,\"bl%\",3\r\n"));
        QCOMPARE(runJob(request(Command::Verify, path), panel).exitCode, int(kExitDone));
        QCOMPARE(runJob(request(Command::Read, path, QStringLiteral("LOBBY"), true), panel).exitCode, int(kExitDone));
        QFile again(path); // --force replaced the file
        QVERIFY(again.open(QIODevice::ReadOnly));
        QVERIFY(again.readAll().startsWith("\"00-04412-MDL\",\"LOBBY\","));
    }

    // Another process's file appearing while the panel is read is never replaced.
    void readKeepsAFileMadeMeanwhile()
    {
        const QString path = m_dir.filePath(QStringLiteral("RACE.pnl"));
        const JobRequest race = request(Command::Read, path);
        QVERIFY(!QFile::exists(path));
        ScriptedPanel panel;
        panel.script = [&](ScriptedPanel::Kind kind, const QByteArray &bytes) -> std::optional<ScriptedPanel::Reply> {
            if (kind == ScriptedPanel::Read && bytes[2] == 9)
                file("THEIRS\r\n", QStringLiteral("RACE.pnl"));
            return std::nullopt;
        };
        const JobResult result = runJob(race, panel);
        QCOMPARE(result.exitCode, int(kExitFileFailure));
        QCOMPARE(result.result, QStringLiteral("FILE EXISTS: ") + path);
        QCOMPARE(readAll(path), QByteArray("THEIRS\r\n"));
    }

    void exitCodes_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("result");
        QTest::addColumn<Seen>("seen");
        const Seen none(kConfigRegisters, -1);
        for (const Command command : {Command::Write, Command::Verify, Command::Read}) {
            const char *name = command == Command::Write ? "write" : command == Command::Verify ? "verify" : "read";
            QTest::addRow("%s silent", name) << int(command) << "silent" << int(kExitLineFailure)
                                             << "COMMUNICATIONS FAILURE SWITCH PANEL FAILED TO RESPOND" << none;
            QTest::addRow("%s identity 74", name) << int(command) << "identity" << int(kExitOtherPanel)
                                                  << QStringLiteral("THE SWITCH PANEL THAT YOU HAVE ATTEMPTED TO %1 "
                                                                    "DOES NOT MATCH THIS CONFIGURATION PROGRAM")
                                                         .arg(command == Command::Write ? "WRITE DATA TO" : "READ DATA FROM")
                                                  << none;
            QTest::addRow("%s port", name) << int(command) << "port" << int(kExitPortFailure)
                                           << "COMMUNICATIONS FAILURE SERIAL PORT COULD NOT BE OPENED\n/dev/ttyFAKE: Permission denied"
                                           << none;
            QTest::addRow("%s stopped at register 2", name) << int(command) << "stop" << int(kExitLineFailure)
                                                            << "STOPPED BEFORE THE END"
                                                            << Seen{0, 12, -1, -1, -1, -1, -1, -1, -1, -1};
        }
        QTest::newRow("write read-back differs") << int(Command::Write) << "readback" << int(kExitLineFailure)
                                                 << "COMMUNICATIONS FAILURE-BAD SWITCH PANEL DATA"
                                                 << Seen{0, 12, 1, -1, -1, -1, -1, -1, -1, -1};
        QTest::newRow("read out of range") << int(Command::Read) << "range" << int(kExitLineFailure)
                                           << "COMMUNICATIONS FAILURE-BAD SWITCH PANEL DATA"
                                           << Seen{0, 12, 161, -1, -1, -1, -1, -1, -1, -1};
        QTest::newRow("read out of range at the last register, every button shown")
            << int(Command::Read) << "range at 9" << int(kExitLineFailure) << "COMMUNICATIONS FAILURE-BAD SWITCH PANEL DATA"
            << Seen{0, 12, 159, 160, 160, 160, -1, 1, 10, 161};
        QTest::newRow("write, the backup read fails") << int(Command::Write) << "backup" << int(kExitLineFailure)
                                                      << "COMMUNICATIONS FAILURE-BAD SWITCH PANEL DATA"
                                                      << none; // nothing written
        QTest::newRow("write stopped after its last read-back") << int(Command::Write) << "stop after" << int(kExitDone)
                                                                << "SWITCH PANEL HAS BEEN PROGRAMMED" << kLobbyRegisters;
        QTest::newRow("write programmed") << int(Command::Write) << "" << int(kExitDone)
                                          << "SWITCH PANEL HAS BEEN PROGRAMMED" << kLobbyRegisters;
        Seen readSeen = kLobbyRegisters;
        readSeen[kBacklightRegister] = -1; // never read
        QTest::newRow("verify matches") << int(Command::Verify) << "" << int(kExitDone)
                                        << "SWITCH PANEL MATCHES THE FILE" << readSeen;
        QTest::newRow("read") << int(Command::Read) << "" << int(kExitDone) << "" << readSeen;
    }

    void exitCodes()
    {
        QFETCH(int, command);
        QFETCH(QString, fault);
        QFETCH(int, exitCode);
        QFETCH(QString, result);
        QFETCH(Seen, seen);
        std::atomic<bool> stop{false};
        ScriptedPanel panel;
        panel.script = [&](ScriptedPanel::Kind kind, const QByteArray &bytes) -> std::optional<ScriptedPanel::Reply> {
            if (fault == "silent")
                return ScriptedPanel::Reply{};
            if (fault == "identity" && kind == ScriptedPanel::Read && bytes[2] == 63)
                return ScriptedPanel::Reply{"0740\r"};
            if (fault == "readback" && kind == ScriptedPanel::Read && bytes[2] == 2)
                return ScriptedPanel::Reply{"0010\r"};
            if (fault == "range" && kind == ScriptedPanel::Read && bytes[2] == 2)
                return ScriptedPanel::Reply{"1610\r"};
            if (fault == "range at 9" && kind == ScriptedPanel::Read && bytes[2] == 9)
                return ScriptedPanel::Reply{"1610\r"};
            if (fault == "backup" && kind == ScriptedPanel::Read && bytes[2] == 3)
                return ScriptedPanel::Reply{"1610\r"};
            // Well after its reply has been taken, within the pause that ends the write.
            if (fault == "stop after" && kind == ScriptedPanel::Read && bytes[2] == 9 && panel.writes.size() == 10)
                QTimer::singleShot(kTestTick / 2, [&stop] { stop = true; });
            if (fault == "stop" && kind == ScriptedPanel::Read && bytes[2] == 2)
                stop = true; // with its reply waiting, which a stopped operation no longer takes
            return std::nullopt;
        };
        if (fault == "port")
            panel.openError = QStringLiteral("Permission denied");
        const QString path = Command(command) == Command::Read ? m_dir.filePath(QStringLiteral("READ.pnl"))
                                                               : file(lobbyWith({}));
        if (Command(command) == Command::Read)
            QFile::remove(path);
        JobRequest jobRequest = request(Command(command), path);
        jobRequest.backup = fault == "backup";
        const JobResult job = runJob(jobRequest, panel, &stop);
        QCOMPARE(job.exitCode, exitCode);
        if (!result.isEmpty())
            QCOMPARE(job.result, result);
        QCOMPARE(seenOf(job.registers), seen);
        QCOMPARE(job.intended.has_value(), Command(command) != Command::Read);
        QCOMPARE(job.portFailure, fault == "port");
        // The journal's line is taken once the result is known, and keeps a snapshot only of a success.
        const HistoryEntry &entry = job.history.constLast();
        QCOMPARE(entry.command, job.command);
        QCOMPARE(entry.result, job.result);
        QCOMPARE(entry.exitCode, exitCode);
        QCOMPARE(seenOf(entry.registers), seen);
        QCOMPARE(entry.snapshot.has_value(), exitCode == kExitDone && Command(command) != Command::Verify);
        QCOMPARE(entry.port, QStringLiteral("/dev/ttyFAKE"));
        // Every failure on the line is explained, in the history too.
        QCOMPARE(job.detail.isEmpty(), exitCode == kExitDone || fault == "port");
        QCOMPARE(entry.detail, job.detail);
    }

    void historyListing_data()
    {
        QTest::addColumn<QString>("port");
        QTest::addColumn<bool>("json");
        QTest::addColumn<QStringList>("times"); // of the entries listed, in their order
        QTest::addColumn<QString>("says");      // in every line
        QTest::newRow("all, newest first") << "" << false << QStringList{"t3", "t2", "t1"} << "  ";
        QTest::newRow("control characters escaped") << "/dev/pts/5" << false << QStringList{"t1"}
                                                     << "write  pts/5: SWITCH PANEL HAS BEEN PROGRAMMED: \\x1b[2J (exit 0)  "
                                                        "\"\\x1b]0;X\\x07\\x9b\"";
        QTest::newRow("as JSON") << "" << true << QStringList{"t3", "t2", "t1"} << "{\"";
        QTest::newRow("a short name for an entry's full name") << "ttyUSB0" << false << QStringList{"t2"} << "/dev/ttyUSB0";
        QTest::newRow("a link to an entry's device") << "@LINK" << false << QStringList{"t3"} << "  null: ";
        QTest::newRow("another port") << "/dev/ttyUSB1" << false << QStringList{} << "";
    }

    // --history: the journal newest first, what it holds from files and panels never reaching a terminal
    // as control characters, one device under any of its names, and the lines that could not be read counted.
    void historyListing()
    {
        QFETCH(QString, port);
        QFETCH(bool, json);
        QFETCH(QStringList, times);
        QFETCH(QString, says);
        QTemporaryDir dir;
        const History history(dir.filePath(QStringLiteral("history")));
        QVERIFY(QDir().mkpath(history.folder()));
        const auto line = [](const char *time, const char *device, const QString &result, const QString &name) {
            return QJsonDocument(QJsonObject{{"time", time}, {"command", "write"}, {"port", device}, {"result", result},
                                             {"exit_code", 0}, {"panel_name", name}})
                       .toJson(QJsonDocument::Compact) + '\n';
        };
        QVERIFY(writeAll(history.journalPath(),
                         line("t1", "pts/5", "SWITCH PANEL HAS BEEN PROGRAMMED\n\x1b[2J", QStringLiteral("\x1b]0;X\a") + QChar(0x9b))
                             + line("t2", "/dev/ttyUSB0", "SWITCH PANEL HAS BEEN PROGRAMMED", "LOBBY")
                             + "{\"time\":\"cut\"\n" + line("t3", "null", "SWITCH PANEL HAS BEEN PROGRAMMED", "")));
        QVERIFY(QFile::link(QStringLiteral("/dev/null"), dir.filePath(QStringLiteral("LINK"))));
        port.replace(QStringLiteral("@"), dir.path() + QLatin1Char('/'));
        QTemporaryFile outFile;
        QTemporaryFile errFile;
        QVERIFY(outFile.open() && errFile.open());
        TextOutput out(outFile.handle());
        TextOutput err(errFile.handle());
        QCOMPARE(listHistory(history, port, json, out, err), int(kExitDone));

        const QByteArray printed = readAll(outFile.fileName());
        for (const QByteArray &control : {QByteArray("\x1b"), QByteArray("\a"), QByteArray("\xc2\x9b")}) // ESC, BEL, CSI
            QVERIFY(!printed.contains(control));
        QStringList listed;
        for (const QString &printedLine : QString::fromUtf8(printed).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            QVERIFY2(printedLine.contains(says), qPrintable(printedLine));
            if (json) {
                const QJsonObject entry = QJsonDocument::fromJson(printedLine.toUtf8()).object();
                listed << entry.value("time").toString();
                if (listed.constLast() == "t1")
                    QCOMPARE(entry.value("panel_name").toString(), QStringLiteral("\x1b]0;X\a") + QChar(0x9b));
            } else {
                listed << printedLine.section(QStringLiteral("  "), 0, 0);
            }
        }
        QCOMPARE(listed, times);
        QCOMPARE(readAll(errFile.fileName()), "panelconfig: warning: 1 line of the history's journal " + QFile::encodeName(history.journalPath())
                                                  + " could not be read\n");
    }

    // What is refused before any port is opened, and with which exit code.
    void checksBeforeAnyPort_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("force");
        QTest::addColumn<QStringList>("devices");
        QTest::addColumn<bool>("repeat");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("says");
        const int read = int(Command::Read);
        const QStringList one{"/dev/ttyFAKE"};
        const QStringList two{"/dev/ttyA", "/dev/ttyB"};
        QTest::newRow("read a new file") << read << "NEW.pnl" << "" << false << one << false << 0 << "";
        QTest::newRow("read over a file") << read << "OLD.pnl" << "" << false << one << false << 4 << "FILE EXISTS: ";
        QTest::newRow("read over a file, forced") << read << "OLD.pnl" << "" << true << one << false << 0 << "";
        QTest::newRow("read into a FIFO, forced") << read << "FIFO.pnl" << "" << true << one << false << 4 << "is a FIFO";
        QTest::newRow("read into a folder") << read << "DIR.pnl" << "" << true << one << false << 4 << "is a folder";
        QTest::newRow("read into /dev/null") << read << "/dev/null" << "NULL" << true << one << false << 4 << "is a device";
        QTest::newRow("read into no folder") << read << "none/NEW.pnl" << "" << false << one << false << 4 << "no such folder";
        QTest::newRow("read, a name too long for the file system") << read << QString(300, 'N') + ".pnl" << "LONG" << false
                                                                   << one << false << 4 << "File name too long";
        QTest::newRow("read, a path too long for the system") << read << QString("./").repeated(2100) + "N.pnl" << "" << false
                                                              << one << false << 4 << "File name too long";
        QTest::newRow("repeat, {n} of a name too long") << read << QString(252, 'N') + "{n}.pnl" << "LONG" << false << one
                                                        << true << 4 << "File name too long";
        QTest::newRow("two ports, one file") << read << "NEW.pnl" << "" << false << two << false << 64 << "{port} or {n}";
        QTest::newRow("two ports, {port}") << read << "NEW-{port}.pnl" << "NEW" << false << two << false << 0 << "";
        QTest::newRow("two ports, {time}") << read << "{time}.pnl" << "NEW" << false << two << false << 64 << "{port} or {n}";
        QTest::newRow("repeat, {port}") << read << "{port}.pnl" << "" << false << one << true << 64 << "{n} or {time}";
        QTest::newRow("repeat, {n}") << read << "NEW{n}.pnl" << "" << false << one << true << 0 << "";
        QTest::newRow("repeat, {time}, base name too long") << read << "{time}.pnl" << "" << false << one << true << 64
                                                              << "longer than 12 characters";
        QTest::newRow("name of 13") << read << "NEW.pnl" << "ABCDEFGHIJKLM" << false << one << false << 64 << "longer than 12";
        QTest::newRow("name of 12") << read << "NEW.pnl" << "ABCDEFGHIJKL" << false << one << false << 0 << "";
        QTest::newRow("name with a quote") << read << "NEW.pnl" << "EAST \"W\"" << false << one << false << 64 << "double quote";
        QTest::newRow("name outside Windows-1252") << read << "NEW.pnl" << "Ωmega" << false << one << false << 64 << "cannot store";
        QTest::newRow("base name too long") << read << "ABCDEFGHIJKLM.pnl" << "" << false << one << false << 64 << "base name";
        QTest::newRow("empty base name") << read << ".pnl" << "" << false << one << false << 64 << "is empty";
        QTest::newRow("a device twice, ..") << read << "N-{port}.pnl" << "" << false << QStringList{"/dev/null", "/dev/../dev/null"}
                                            << false << 64 << "/dev/null and /dev/../dev/null are the same device";
        QTest::newRow("a device twice, short name") << int(Command::Write) << "LOBBY.pnl" << "" << false
                                                    << QStringList{"null", "/dev/null"} << false << 64 << "same device";
        QTest::newRow("a device twice, link") << int(Command::Write) << "LOBBY.pnl" << "" << false
                                              << QStringList{"/dev/null", "@LINK"} << false << 64 << "same device";
        QTest::newRow("write a refused file") << int(Command::Write) << "BAD.pnl" << "" << false << one << false << 4
                                              << "BAD.pnl: FILE REFUSED: the model tag";
        QTest::newRow("verify a missing file") << int(Command::Verify) << "NONE.pnl" << "" << false << one << false << 4
                                               << "FILE REFUSED";
        QTest::newRow("write a good file") << int(Command::Write) << "LOBBY.pnl" << "" << false << two << true << 0 << "";
    }

    void checksBeforeAnyPort()
    {
        QFETCH(int, command);
        QFETCH(QString, pattern);
        QFETCH(QString, name);
        QFETCH(bool, force);
        QFETCH(QStringList, devices);
        QFETCH(bool, repeat);
        QFETCH(int, exitCode);
        QFETCH(QString, says);
        QTemporaryDir dir;
        const auto put = [&](const char *fileName, const QByteArray &bytes) {
            return writeAll(dir.filePath(QLatin1String(fileName)), bytes);
        };
        QVERIFY(put("LOBBY.pnl", lobbyWith({})) && put("OLD.pnl", lobbyWith({})));
        QVERIFY(put("BAD.pnl", lobbyWith({{1, "\"00-04412-mdl\""}})));
        QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("FIFO.pnl"))).constData(), 0600), 0);
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("DIR.pnl")));
        QVERIFY(QFile::link(QStringLiteral("/dev/null"), dir.filePath(QStringLiteral("LINK"))));
        for (QString &device : devices)
            device.replace(QStringLiteral("@"), dir.path() + QLatin1Char('/'));

        ProductionRun run = runOf(Command(command), pattern.startsWith('/') ? pattern : dir.filePath(pattern), devices);
        run.request.target.panelName = name;
        run.request.target.replace = force;
        run.repeat = repeat;
        const auto before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System);
        const std::optional<RunRefusal> refusal = checkRun(run);
        QCOMPARE(refusal ? refusal->exitCode : 0, exitCode);
        if (refusal)
            QVERIFY2(refusal->message.contains(says), qPrintable(refusal->message));
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System), before);
        if (!refusal && Command(command) != Command::Read)
            QVERIFY(run.request.intended.has_value());
    }

    // {n} goes on after the highest number its pattern already gave in its folder.
    void readNumbering_data()
    {
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("saved");
        QTest::newRow("after 004") << QStringList{"L-002.pnl", "L-004.pnl"} << "L-{n}.pnl" << "L-005.pnl";
        QTest::newRow("other names do not count")
            << QStringList{"L-004.pnl", "M-009.pnl", "L-009x.pnl", "L-12.pnl", "L-0099.pnl.tmp"} << "L-{n}.pnl" << "L-005.pnl";
        QTest::newRow("with {port}") << QStringList{"L-007-ttyFAKE.pnl", "L-1000-ttyFAKE.pnl", "L-3000-ttyOTHER.pnl"}
                                     << "L-{n}-{port}.pnl" << "L-1001-ttyFAKE.pnl";
    }

    void readNumbering()
    {
        QFETCH(QStringList, present);
        QFETCH(QString, pattern);
        QFETCH(QString, saved);
        QTemporaryDir dir;
        for (const QString &name : present)
            QVERIFY(writeAll(dir.filePath(name), "THEIRS\r\n"));
        std::atomic<int> count{0};
        ProductionRun run = runOf(Command::Read, dir.filePath(pattern));
        run.request.target.panelName = QStringLiteral("L");
        run.request.target.count = &count;
        QVERIFY(!checkRun(run));
        ScriptedPanel panel;
        const JobResult result = runJob(run.request, panel);
        QCOMPARE(result.exitCode, int(kExitDone));
        QCOMPARE(result.file, dir.filePath(saved));
        for (const QString &name : present)
            QCOMPARE(readAll(dir.filePath(name)), QByteArray("THEIRS\r\n"));
    }

    // Under --repeat, each panel once: the job's own hail finds it, a port that does not open for a
    // moment says so once and is no sign that the panel went, and only an unanswered hail (or the
    // device itself gone) is.
    void repeatTellsPanelsApart_data()
    {
        QTest::addColumn<QString>("plan");
        QTest::addColumn<QStringList>("printed");
        const QString programmed = QStringLiteral("SWITCH PANEL HAS BEEN PROGRAMMED");
        const QString busy = QStringLiteral("/dev/ttyFAKE: COMMUNICATIONS FAILURE SERIAL PORT COULD NOT BE OPENED: "
                                            "/dev/ttyFAKE: Device or resource busy");
        QTest::newRow("a panel answering only the third hail after a quiet spell")
            << "33-" << QStringList{"/dev/ttyFAKE #1: " + programmed, "tally: 1 panel, 1 done, 0 not done"};
        QTest::newRow("the port held for a moment while the panel stays")
            << "PPBP-"
            << QStringList{"/dev/ttyFAKE #1: " + programmed, busy, "tally: 1 panel, 1 done, 0 not done, 1 port failure",
                           "tally /dev/ttyFAKE: 1 panel, 1 done, 0 not done, 1 port failure"};
        QTest::newRow("the port held before the panel comes, said once")
            << "BBP-"
            << QStringList{busy, "/dev/ttyFAKE #1: " + programmed, "tally: 1 panel, 1 done, 0 not done, 1 port failure",
                           "tally /dev/ttyFAKE: 1 panel, 1 done, 0 not done, 1 port failure"};
        QTest::newRow("the device gone with its panel")
            << "PNP-"
            << QStringList{"/dev/ttyFAKE #1: " + programmed,
                           "/dev/ttyFAKE: COMMUNICATIONS FAILURE SERIAL PORT COULD NOT BE OPENED: /dev/ttyFAKE: No such "
                           "file or directory",
                           "/dev/ttyFAKE #2: " + programmed, "tally: 2 panels, 2 done, 0 not done, 1 port failure",
                           "tally /dev/ttyFAKE: 2 panels, 2 done, 0 not done, 1 port failure"};
    }

    void repeatTellsPanelsApart()
    {
        QFETCH(QString, plan);
        QFETCH(QStringList, printed);
        std::atomic<bool> stop{false};
        ProductionRun run = runOf(Command::Write, file(lobbyWith({})));
        QVERIFY(!checkRun(run));
        run.repeat = true;
        run.presenceIntervalMs = PlannedPort::kQuietMs + 2 * kTestTick;
        run.makeLine = [&](const QString &) { return std::make_unique<PlannedPort>(plan, stop); };
        QTemporaryFile outFile;
        QTemporaryFile errFile;
        QVERIFY(outFile.open() && errFile.open());
        TextOutput out(outFile.handle());
        TextOutput err(errFile.handle());
        runProductionLine(run, out, err, stop);
        QStringList lines = QString::fromUtf8(readAll(outFile.fileName())).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        lines.replaceInStrings(QRegularExpression(QStringLiteral(" \\(\\d+\\.\\d\\d s\\)$")), QString());
        QCOMPARE(lines, printed);
    }
};

QTEST_MAIN(TestHeadless)
#include "tst_headless.moc"
