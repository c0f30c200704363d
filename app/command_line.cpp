#include "app/command_line.h"

#include "link/qt_serial_line.h"

#include <cstring>

namespace panel {

namespace {

QString portHelp()
{
    return QStringLiteral("Serial device of the panel. Without it the port is, in this order: "
                          "$PANELCONFIG_PORT; the port chosen in the window (right-click its background) "
                          "and remembered; the USB serial adapter when exactly one is present; %1.")
        .arg(QtSerialLine::firstPortName());
}

} // namespace

CommandLine::CommandLine()
    : m_port(QStringLiteral("port"), portHelp(), QStringLiteral("DEVICE"))
    , m_listPorts(QStringLiteral("list-ports"), QStringLiteral("Prints the serial ports present, one a line, and exits."))
{
    m_parser.setApplicationDescription(
        QStringLiteral("Configures a six-button dimmable switch panel over its serial line, "
                       "and saves and opens its configuration as a .pnl file."));
    m_parser.addHelpOption();
    m_parser.addVersionOption();
    m_parser.addOption(m_port);
    m_parser.addOption(m_listPorts);
    m_parser.addPositionalArgument(QStringLiteral("FILE.pnl"),
                                   QStringLiteral("A configuration file to open after start-up."),
                                   QStringLiteral("[FILE.pnl]"));
}

CommandLine::Action CommandLine::parse(const QStringList &arguments)
{
    m_file.clear();
    m_error.clear();
    if (!m_parser.parse(arguments)) {
        m_error = m_parser.errorText();
        return Action::UsageError;
    }
    if (m_parser.isSet(QStringLiteral("help")) || m_parser.isSet(QStringLiteral("help-all")))
        return Action::Help;
    if (m_parser.isSet(QStringLiteral("version")))
        return Action::Version;
    const QStringList files = m_parser.positionalArguments();
    if (files.size() > 1) {
        m_error = QStringLiteral("Only one file can be opened; given: %1.").arg(files.join(QStringLiteral(", ")));
        return Action::UsageError;
    }
    if (m_parser.isSet(m_listPorts))
        return Action::ListPorts;
    if (m_parser.isSet(m_port) && port().isEmpty()) {
        m_error = QStringLiteral("--port needs a device name.");
        return Action::UsageError;
    }
    m_file = files.value(0);
    return Action::Window;
}

void CommandLine::showHelpOrVersion(QCoreApplication &app)
{
    m_parser.process(app); // prints and exits for --help, --help-all and --version
    ::exit(0);
}

bool CommandLine::wantsWindow(int argc, const char *const argv[])
{
    for (int i = 1; i < argc; ++i) {
        for (const char *option : {"-h", "--help", "-?", "--help-all", "-v", "--version", "--list-ports"}) {
            if (std::strcmp(argv[i], option) == 0)
                return false;
        }
    }
    return true;
}

bool CommandLine::displayGiven(int argc, const char *const argv[])
{
    for (const char *variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        if (!qEnvironmentVariableIsEmpty(variable))
            return true;
    }
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0)
            return true;
    }
    return false;
}

} // namespace panel
