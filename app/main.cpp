#include "app/application.h"
#include "app/command_line.h"
#include "headless/production_line.h"
#include "link/qt_serial_line.h"
#include "link/serial_ports.h"
#include "ui/dialogs.h"
#include "ui/form1.h"

#include <QApplication>
#include <QTimer>
#include <atomic>
#include <csignal>
#include <cstdio>

namespace {

int listPorts()
{
    const QList<panel::SerialPortEntry> ports = panel::presentSerialPorts();
    for (const panel::SerialPortEntry &port : ports)
        std::printf("%s\n", qPrintable(port.describe()));
    if (ports.isEmpty())
        std::fprintf(stderr, "panelconfig: no serial ports found\n");
    return 0;
}

int usageError(const panel::CommandLine &commandLine)
{
    std::fprintf(stderr, "panelconfig: %s\nTry 'panelconfig --help' for more information.\n",
                 qPrintable(commandLine.error()));
    return panel::kUsageExitCode;
}

std::atomic<bool> stopRequested{false};

extern "C" void requestStop(int) { stopRequested.store(true); }

// The production-line commands: no display and no GUI library needed, as over SSH or in a service.
int runJobs(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    panel::describeApplication();
    panel::CommandLine commandLine;
    const panel::CommandLine::Action action = commandLine.parse(QCoreApplication::arguments());
    if (action == panel::CommandLine::Action::Help || action == panel::CommandLine::Action::Version)
        commandLine.showHelpOrVersion(app);
    if (action == panel::CommandLine::Action::ListPorts)
        return listPorts();
    if (action != panel::CommandLine::Action::Headless)
        return usageError(commandLine);

    panel::ProductionRun run;
    run.request = commandLine.request();
    run.devices = commandLine.ports();
    if (run.devices.isEmpty())
        run.devices << panel::choosePanelPort(panel::portCandidates(QString())).device;
    run.json = commandLine.json();
    run.repeat = commandLine.repeat();
    run.logPath = commandLine.logPath();

    // Ctrl+C and SIGTERM end the panels under way at their next wait; the ports close and the tally prints.
    std::signal(SIGINT, requestStop);
    std::signal(SIGTERM, requestStop);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return panel::runProductionLine(run, out, err, stopRequested);
}

} // namespace

int main(int argc, char *argv[])
{
    if (panel::CommandLine::wantsJob(argc, argv))
        return runJobs(argc, argv);

    // Help, version, the port list and usage errors are printed without a display.
    const bool displayGiven = panel::CommandLine::displayGiven(argc, argv);
    if (!displayGiven || !panel::CommandLine::wantsWindow(argc, argv)) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        panel::quietenSessionlessStart();
    }
    QApplication app(argc, argv);
    panel::describeApplication();

    panel::CommandLine commandLine;
    switch (commandLine.parse(QApplication::arguments())) {
    case panel::CommandLine::Action::UsageError:
        return usageError(commandLine);
    case panel::CommandLine::Action::Help:
    case panel::CommandLine::Action::Version:
        commandLine.showHelpOrVersion(app);
    case panel::CommandLine::Action::ListPorts:
        return listPorts();
    case panel::CommandLine::Action::Headless: // taken by runJobs
    case panel::CommandLine::Action::Window:
        if (!displayGiven) {
            std::fprintf(stderr, "panelconfig: no display to show the window on (DISPLAY and WAYLAND_DISPLAY "
                                 "are not set)\n");
            return 1;
        }
        break;
    }

    const panel::PortChoice port = panel::choosePanelPort(panel::portCandidates(commandLine.port()));
    panel::QtSerialLine line(port.device);
    panel::QtDialogs dialogs;
    panel::Form1 window(dialogs, line);
    window.setPortSource(port.source);
    window.show();
    if (!commandLine.file().isEmpty())
        QTimer::singleShot(0, &window, [&window, file = commandLine.file()] { window.openFile(file); });
    return app.exec();
}
