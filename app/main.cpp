#include "app/application.h"
#include "app/command_line.h"
#include "file/history.h"
#include "headless/history_listing.h"
#include "headless/legend_run.h"
#include "headless/production_line.h"
#include "headless/report_command.h"
#include "headless/run_checks.h"
#include "headless/site_listing.h"
#include "headless/terminal_text.h"
#include "headless/text_output.h"
#include "link/qt_serial_line.h"
#include "link/serial_ports.h"
#include "ui/dialogs.h"
#include "ui/form1.h"

#include <QApplication>
#include <QTimer>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

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

int usageError(const QString &error)
{
    std::fprintf(stderr, "panelconfig: %s\nTry 'panelconfig --help' for more information.\n",
                 qPrintable(panel::shownOnTerminal(error)));
    return panel::kExitUsage;
}

std::atomic<bool> stopRequested{false};

extern "C" void requestStop(int) { stopRequested.store(true); }

// Ctrl+C, SIGTERM, SIGHUP (the terminal or the SSH session gone) and SIGQUIT end the panels under way at
// their next wait; the ports close, the results are logged and the tally prints. A reader gone from
// standard output is told by the failed write, not by a signal that would end the run mid-panel.
void handleStopSignals()
{
    struct sigaction stop {};
    stop.sa_handler = requestStop;
    sigemptyset(&stop.sa_mask);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT})
        sigaction(signal, &stop, nullptr);
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGPIPE, &ignore, nullptr);
}

// The journal, newest first. A listing has nothing to finish or tidy: Ctrl+C, SIGTERM and SIGHUP end it
// at once, whatever it waits for (a terminal or a pipe that takes no more).
int printHistory(const panel::CommandLine &commandLine, panel::TextOutput &out, panel::TextOutput &err)
{
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        std::signal(signal, SIG_DFL);
    return panel::listHistory(panel::History(), commandLine.port(), commandLine.json(), out, err);
}

// A standard descriptor that was closed (panelconfig >&-) would be taken by the next file opened, the
// serial port perhaps, and the results written into it. It is held by /dev/null instead; false when
// it was closed.
bool holdStandardDescriptor(int fd)
{
    if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF)
        return true;
    const int null = ::open("/dev/null", O_RDWR);
    if (null >= 0 && null != fd) {
        ::dup2(null, fd);
        ::close(null);
    }
    return false;
}

// The production-line commands: no display and no GUI library needed, as over SSH or in a service.
int runJobs(int argc, char *argv[])
{
    holdStandardDescriptor(STDIN_FILENO);
    const bool outOpen = holdStandardDescriptor(STDOUT_FILENO);
    const bool errOpen = holdStandardDescriptor(STDERR_FILENO);
    handleStopSignals();
    QCoreApplication app(argc, argv);
    panel::describeApplication();
    panel::CommandLine commandLine;
    const panel::CommandLine::Action action = commandLine.parse(QCoreApplication::arguments());
    if (action == panel::CommandLine::Action::Help || action == panel::CommandLine::Action::Version)
        commandLine.showHelpOrVersion(app);
    panel::TextOutput out(STDOUT_FILENO, &stopRequested);
    panel::TextOutput err(STDERR_FILENO, &stopRequested);
    if (!outOpen)
        out.setUnusable(QStringLiteral("standard output is closed"));
    if (!errOpen)
        err.setUnusable(QStringLiteral("standard error is closed"));
    if (action == panel::CommandLine::Action::History)
        return printHistory(commandLine, out, err);
    if (action == panel::CommandLine::Action::Site)
        return panel::listSite(commandLine.siteFolder(), panel::History(), commandLine.json(), commandLine.since(), out, err);
    if (action != panel::CommandLine::Action::Headless)
        return usageError(commandLine.error());

    panel::ProductionRun run;
    run.request = commandLine.request();
    run.devices = commandLine.ports();
    if (run.devices.isEmpty())
        run.devices << panel::choosePanelPort(panel::portCandidates(QString())).device;
    run.json = commandLine.json();
    run.repeat = commandLine.repeat();
    run.logPath = commandLine.logPath();
    run.trace = commandLine.trace();
    std::atomic<int> panelsRead{0};
    run.request.target.count = &panelsRead;

    if (!commandLine.noHistory() && panel::historyKept())
        run.historyFolder = panel::History::defaultFolder();
    if (const std::optional<panel::RunRefusal> refusal = panel::checkRun(run)) {
        if (refusal->exitCode == panel::kExitUsage)
            return usageError(refusal->message);
        err.writeLine(QStringLiteral("panelconfig: ") + panel::shownOnTerminal(refusal->message));
        return refusal->exitCode;
    }
    return panel::runProductionLine(run, out, err, stopRequested);
}

// The handover report, laid out with QtGui's fonts (offscreen).
int writeReport(const panel::CommandLine &commandLine)
{
    panel::TextOutput out(STDOUT_FILENO);
    panel::TextOutput err(STDERR_FILENO);
    panel::ReportRequest request;
    request.path = commandLine.reportPath();
    request.folder = commandLine.siteFolder();
    request.since = commandLine.since();
    request.force = commandLine.force();
    return panel::writeReport(request, panel::History(), out, err);
}

// Help, the version, the port list, the report and usage errors: printed without any display, whatever DISPLAY
// says, so Qt's -platform is set aside for the offscreen one.
int runWithoutWindow(int argc, char *argv[], panel::CommandLine &commandLine, panel::CommandLine::Action action)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    panel::quietenSessionlessStart();
    std::vector<char *> arguments;
    for (int i = 0; i < argc; ++i) {
        const bool platform = std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0;
        if (platform && i + 1 < argc)
            ++i;
        else
            arguments.push_back(argv[i]);
    }
    int count = int(arguments.size());
    arguments.push_back(nullptr);
    QApplication app(count, arguments.data());
    panel::describeApplication();
    switch (action) {
    case panel::CommandLine::Action::Help:
    case panel::CommandLine::Action::Version:
        commandLine.showHelpOrVersion(app);
    case panel::CommandLine::Action::ListPorts:
        return listPorts();
    case panel::CommandLine::Action::Legend: {
        // The legends are drawn in the window's fonts, which a GUI application finds.
        panel::TextOutput out(STDOUT_FILENO);
        panel::TextOutput err(STDERR_FILENO);
        return panel::writeLegends(commandLine.legendRequest(), out, err);
    }
    case panel::CommandLine::Action::Report:
        return writeReport(commandLine);
    case panel::CommandLine::Action::UsageError:
    case panel::CommandLine::Action::Headless: // taken by runJobs
    case panel::CommandLine::Action::History:
    case panel::CommandLine::Action::Site: // taken by runJobs
    case panel::CommandLine::Action::Window:
        break;
    }
    return usageError(commandLine.error());
}

} // namespace

int main(int argc, char *argv[])
{
    if (panel::CommandLine::wantsJob(argc, argv))
        return runJobs(argc, argv);

    panel::CommandLine commandLine;
    const panel::CommandLine::Action action = commandLine.parse(panel::CommandLine::withoutQtOptions(argc, argv));
    if (action != panel::CommandLine::Action::Window)
        return runWithoutWindow(argc, argv, commandLine, action);
    if (!panel::CommandLine::displayGiven(argc, argv)) {
        std::fprintf(stderr, "panelconfig: no display to show the window on (DISPLAY and WAYLAND_DISPLAY "
                             "are not set)\n");
        return 1;
    }

    QApplication app(argc, argv);
    panel::describeApplication();
    const panel::PortChoice port = panel::choosePanelPort(panel::portCandidates(commandLine.port()));
    panel::QtSerialLine line(port.device);
    panel::QtDialogs dialogs;
    panel::Form1 window(dialogs, line, panel::kTickMilliseconds);
    window.setPortSource(port.source);
    window.show();
    if (!commandLine.file().isEmpty())
        QTimer::singleShot(0, &window, [&window, file = commandLine.file()] { window.openFile(file); });
    return app.exec();
}
