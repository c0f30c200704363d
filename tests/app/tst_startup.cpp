// What the program decides before its window opens: the command line and the serial port.
#include "app/command_line.h"
#include "link/serial_ports.h"

#include <QProcess>
#include <QtTest>

using namespace panel;
using Action = CommandLine::Action;

Q_DECLARE_METATYPE(CommandLine::Action)
Q_DECLARE_METATYPE(PortSource)

namespace {

SerialPortEntry adapter(const QString &device) { return {device, QStringLiteral("USB UART"), {}, 0x0403, 0x6001}; }
SerialPortEntry builtIn(const QString &device) { return {device, {}, {}, {}, {}}; }

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<Action>("action");
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("file");
        QTest::newRow("nothing") << QStringList{} << Action::Window << "" << "";
        QTest::newRow("a file") << QStringList{"LOBBY.pnl"} << Action::Window << "" << "LOBBY.pnl";
        QTest::newRow("port and file") << QStringList{"--port", "/dev/ttyUSB0", "a.pnl"} << Action::Window
                                       << "/dev/ttyUSB0" << "a.pnl";
        QTest::newRow("port=") << QStringList{"--port=/dev/ttyACM0"} << Action::Window << "/dev/ttyACM0" << "";
        QTest::newRow("two files") << QStringList{"a.pnl", "b.pnl"} << Action::UsageError << "" << "";
        QTest::newRow("unknown option") << QStringList{"--bogus"} << Action::UsageError << "" << "";
        QTest::newRow("port without device") << QStringList{"--port"} << Action::UsageError << "" << "";
        QTest::newRow("empty port") << QStringList{"--port="} << Action::UsageError << "" << "";
        QTest::newRow("help") << QStringList{"-h"} << Action::Help << "" << "";
        QTest::newRow("help-all") << QStringList{"--help-all"} << Action::Help << "" << "";
        QTest::newRow("version") << QStringList{"--version"} << Action::Version << "" << "";
        QTest::newRow("list ports") << QStringList{"--list-ports"} << Action::ListPorts << "" << "";
        QTest::newRow("write on two ports") << QStringList{"--write", "a.pnl", "--port", "/dev/A", "--port", "/dev/B"}
                                            << Action::Headless << "/dev/A" << "";
        QTest::newRow("read with a name") << QStringList{"--read=b.pnl", "--name", "EAST", "--json", "--repeat"}
                                          << Action::Headless << "" << "";
        QTest::newRow("two commands") << QStringList{"--write", "a.pnl", "--verify", "a.pnl"} << Action::UsageError
                                      << "" << "";
        QTest::newRow("name without read") << QStringList{"--verify", "a.pnl", "--name", "X"} << Action::UsageError
                                           << "" << "";
        QTest::newRow("json without a command") << QStringList{"--json"} << Action::UsageError << "" << "";
        QTest::newRow("two ports for the window") << QStringList{"--port", "/dev/A", "--port", "/dev/B"}
                                                  << Action::UsageError << "/dev/A" << "";
        QTest::newRow("a port twice") << QStringList{"--write", "a.pnl", "--port", "/dev/A", "--port", "/dev/A"}
                                      << Action::UsageError << "/dev/A" << "";
        QTest::newRow("--write twice") << QStringList{"--write", "a.pnl", "--write", "b.pnl"} << Action::UsageError << "" << "";
        QTest::newRow("--verify=") << QStringList{"--verify=a.pnl"} << Action::Headless << "" << "";
        QTest::newRow("--port before an option") << QStringList{"--port", "--write", "a.pnl"} << Action::UsageError
                                                 << "--write" << "";
        QTest::newRow("--list-ports with --read") << QStringList{"--list-ports", "--read", "a.pnl"} << Action::UsageError
                                                  << "" << "";
        QTest::newRow("--force without --read") << QStringList{"--write", "a.pnl", "--force"} << Action::UsageError << ""
                                                << "";
        QTest::newRow("a file with a command") << QStringList{"--write", "a.pnl", "b.pnl"} << Action::UsageError << ""
                                               << "";
        QTest::newRow("--backup without a command") << QStringList{"--backup"} << Action::UsageError << "" << "";
        QTest::newRow("--log before an option") << QStringList{"--write", "a.pnl", "--log", "--json"} << Action::UsageError
                                                << "" << "";
        QTest::newRow("site") << QStringList{"--site", "tower", "--json", "--since", "2026-12-08"} << Action::Site << "" << "";
        QTest::newRow("site with a port") << QStringList{"--site", "tower", "--port", "/dev/A"} << Action::UsageError << "/dev/A" << "";
        QTest::newRow("site and report") << QStringList{"--site", "tower", "--report", "r.csv"} << Action::UsageError << "" << "";
        QTest::newRow("report of a site") << QStringList{"--report", "r.pdf", "tower", "--force"} << Action::Report << "" << "";
        QTest::newRow("report of the history") << QStringList{"--report=r.HTML", "--since", "2026-12-08T14:00"}
                                               << Action::Report << "" << "";
        QTest::newRow("report of another kind") << QStringList{"--report", "r.txt"} << Action::UsageError << "" << "";
        QTest::newRow("report with json") << QStringList{"--report", "r.csv", "--json"} << Action::UsageError << "" << "";
        QTest::newRow("since not a date") << QStringList{"--report", "r.csv", "--since", "today"} << Action::UsageError
                                          << "" << "";
        QTest::newRow("since alone") << QStringList{"--since", "2026-12-08"} << Action::UsageError << "" << "";
    }

    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(Action, action);
        QFETCH(QString, port);
        QFETCH(QString, file);
        CommandLine commandLine;
        QCOMPARE(commandLine.parse(QStringList{"panelconfig"} + arguments), action);
        QCOMPARE(commandLine.error().isEmpty(), action != Action::UsageError);
        QCOMPARE(commandLine.port(), port);
        QCOMPARE(commandLine.file(), file);
    }

    // Qt's own options are set aside before the program's are read, with their values and nothing more.
    void qtOptionsSetAside_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("ours");
        QTest::newRow("-style VALUE") << QStringList{"-style", "fusion", "a.pnl"} << QStringList{"a.pnl"};
        QTest::newRow("--style=VALUE keeps what follows") << QStringList{"--style=fusion", "--bogus"} << QStringList{"--bogus"};
        QTest::newRow("a flag") << QStringList{"-reverse", "--port", "/dev/A"} << QStringList{"--port", "/dev/A"};
    }

    void qtOptionsSetAside()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, ours);
        arguments.prepend(QStringLiteral("panelconfig"));
        std::vector<QByteArray> bytes;
        std::vector<const char *> argv;
        for (const QString &argument : arguments)
            bytes.push_back(argument.toLocal8Bit());
        for (const QByteArray &argument : bytes)
            argv.push_back(argument.constData());
        QCOMPARE(CommandLine::withoutQtOptions(int(argv.size()), argv.data()), QStringList{"panelconfig"} + ours);
    }

    void portOrder_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("environment");
        QTest::addColumn<QString>("remembered");
        QTest::addColumn<bool>("rememberedExists");
        QTest::addColumn<QList<SerialPortEntry>>("present");
        QTest::addColumn<QString>("device");
        QTest::addColumn<PortSource>("source");
        const QList<SerialPortEntry> oneAdapter{builtIn("/dev/ttyS0"), adapter("/dev/ttyUSB0")};
        const QList<SerialPortEntry> twoAdapters = oneAdapter + QList{adapter("/dev/ttyACM0")};
        QTest::newRow("option first") << "/dev/ttyX" << "/dev/ttyE" << "/dev/ttyR" << true << oneAdapter
                                      << "/dev/ttyX" << PortSource::Option;
        QTest::newRow("a short name is in /dev") << "pts/97" << "" << "" << false << oneAdapter << "/dev/pts/97"
                                                 << PortSource::Option;
        QTest::newRow("environment") << "" << "/dev/ttyE" << "/dev/ttyR" << true << oneAdapter << "/dev/ttyE"
                                     << PortSource::Environment;
        QTest::newRow("remembered") << "" << "" << "/dev/ttyR" << true << oneAdapter << "/dev/ttyR"
                                    << PortSource::Remembered;
        QTest::newRow("remembered but gone") << "" << "" << "/dev/ttyR" << false << oneAdapter << "/dev/ttyUSB0"
                                             << PortSource::OnlyAdapter;
        QTest::newRow("the only adapter") << "" << "" << "" << false << oneAdapter << "/dev/ttyUSB0"
                                          << PortSource::OnlyAdapter;
        QTest::newRow("two adapters") << "" << "" << "" << false << twoAdapters << "/dev/ttyS0"
                                      << PortSource::FirstPort;
        QTest::newRow("no ports") << "" << "" << "" << false << QList<SerialPortEntry>{} << "/dev/ttyS0"
                                  << PortSource::FirstPort;
    }

    void portOrder()
    {
        QFETCH(QString, option);
        QFETCH(QString, environment);
        QFETCH(QString, remembered);
        QFETCH(bool, rememberedExists);
        QFETCH(QList<SerialPortEntry>, present);
        QFETCH(QString, device);
        QFETCH(PortSource, source);
        bool listed = false;
        const PortSurvey survey{[&] { return environment; }, [&] { return remembered; },
                                [&](const QString &named) { return rememberedExists && named == remembered; },
                                [&] {
                                    listed = true;
                                    return present;
                                }};
        const PortChoice choice = choosePanelPort(portCandidates(option, survey));
        QCOMPARE(listed, source == PortSource::OnlyAdapter || source == PortSource::FirstPort);
        QCOMPARE(choice.device, device);
        QCOMPARE(choice.source, source);
    }

    void portDescription()
    {
        QCOMPARE(adapter("/dev/ttyUSB0").describe(), "/dev/ttyUSB0  USB UART  USB 0403:6001");
        QCOMPARE(builtIn("/dev/ttyS0").describe(), "/dev/ttyS0");
    }

    // The program itself, without a display: its exit codes and where it writes.
    void program_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("stdoutStart");
        QTest::addColumn<QString>("stderrStart");
        QTest::newRow("version") << QStringList{"--version"} << 0 << "panelconfig " PANELCONFIG_VERSION << "";
        QTest::newRow("help-all") << QStringList{"--help-all"} << 0 << "Usage:" << "";
        QTest::newRow("two files") << QStringList{"a.pnl", "b.pnl"} << 64 << "" << "panelconfig: Only one file";
        QTest::newRow("unknown") << QStringList{"--bogus"} << 64 << "" << "panelconfig: Unknown option";
        QTest::newRow("no display") << QStringList{"a.pnl"} << 1 << "" << "panelconfig: no display";
        QTest::newRow("job usage") << QStringList{"--write", "a.pnl", "--name", "X"} << 64 << ""
                                   << "panelconfig: --name goes with --read.";
        QTest::newRow("job on a missing port") << QStringList{"--verify", "nothing.pnl", "--port", "/dev/ttyNONE"}
                                               << 4 << "" << "panelconfig: nothing.pnl: FILE REFUSED";
        QTest::newRow("unwritable log") << QStringList{"--read", "NOLOG.pnl", "--log", "/nonexistent/dir/log"} << 4 << ""
                                        << "panelconfig: the log /nonexistent/dir/log cannot be written";
    }

    void program()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, stdoutStart);
        QFETCH(QString, stderrStart);
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(variable));
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(PANELCONFIG_PATH), arguments);
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), exitCode);
        const QString out = QString::fromLocal8Bit(process.readAllStandardOutput());
        QVERIFY2(stdoutStart.isEmpty() || out.startsWith(stdoutStart), qPrintable(out));
        const QString err = QString::fromLocal8Bit(process.readAllStandardError());
        QVERIFY2(stderrStart.isEmpty() || err.contains(stderrStart), qPrintable(err));
        if (arguments.first() == "--help-all")
            QVERIFY2(out.contains("-reverse") && out.contains("--list-ports"), qPrintable(out));
    }

    // What runs without a window says nothing on stderr, with or without a session's runtime folder
    // (over SSH or in a service there is none); only an empty port list is told there.
    void quietWithoutSession_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<bool>("runtimeDir");
        for (const char *option : {"--help", "--version", "--list-ports"}) {
            QTest::addRow("%s", option) << option << true;
            QTest::addRow("%s, no XDG_RUNTIME_DIR", option) << option << false;
        }
    }

    void quietWithoutSession()
    {
        QFETCH(QString, option);
        QFETCH(bool, runtimeDir);
        QTemporaryDir runtime;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_RUNTIME_DIR"})
            environment.remove(QString::fromLatin1(variable));
        if (runtimeDir)
            environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(PANELCONFIG_PATH), {option});
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(process.exitCode(), 0);
        const QByteArray out = process.readAllStandardOutput();
        const QByteArray err = process.readAllStandardError();
        QVERIFY(!out.isEmpty() || option == "--list-ports");
        if (out.isEmpty())
            QCOMPARE(err, QByteArray("panelconfig: no serial ports found\n"));
        else
            QVERIFY2(err.isEmpty(), err.constData());
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
