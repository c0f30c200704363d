#include "faultplan.h"
#include "panelsimulator.h"
#include "pseudoterminal.h"
#include "registerbank.h"
#include "signalwatcher.h"
#include "simoptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

namespace {

enum ExitCode { Success = 0, LineFailure = 1, BadUsage = 2 };

int fail(int code, const QString &message)
{
    std::fprintf(stderr, "panelsim: %s\n", qPrintable(message));
    return code;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("panelsim"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PANELSIM_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
            QStringLiteral("Simulated six-button switch panel on a pseudo-terminal.\n"
                           "Prints the device path as the first line of stdout, then answers the\n"
                           "panel protocol until SIGTERM or SIGINT.\n"
                           "SIGUSR1 pulls the cable: nothing sent reaches the panel and it answers\n"
                           "nothing, until the next SIGUSR1 plugs it in again. Each change is\n"
                           "confirmed on stderr.\n\n")
            + RegisterBank::factoryDescription());
    parser.addHelpOption();
    parser.addVersionOption();
    addSimOptions(&parser);
    parser.process(app);

    SimOptions options;
    QString error;
    if (!readSimOptions(parser, &options, &error))
        return fail(BadUsage, error);

    if (options.showFaults > 0) {
        const FaultDraw draw(options.faultSeed);
        for (qint64 session = options.firstSession; session < options.firstSession + options.showFaults; ++session)
            std::printf("session=%lld %s\n", static_cast<long long>(session), qPrintable(draw.draw(session).describe()));
        return Success;
    }

    RegisterBank registers;
    if (!options.statePath.isEmpty() && !registers.load(options.statePath, &error))
        return fail(BadUsage, error);

    SignalWatcher signalWatcher;
    if (!signalWatcher.install())
        return fail(LineFailure, QStringLiteral("cannot watch for signals"));
    QObject::connect(&signalWatcher, &SignalWatcher::terminationRequested, &app, &QCoreApplication::quit);

    PseudoTerminal line;
    if (!line.open(&error))
        return fail(LineFailure, error);

    PanelSimulator panel(options, &registers, &line);
    if (!panel.openFaultLog(&error))
        return fail(BadUsage, error);
    QObject::connect(&panel, &PanelSimulator::lineClosed, &app, &QCoreApplication::quit);
    QObject::connect(&signalWatcher, &SignalWatcher::answeringToggled, &panel, &PanelSimulator::toggleAnswering);

    std::printf("%s\n", qPrintable(line.slavePath()));
    std::fflush(stdout);

    return app.exec();
}
