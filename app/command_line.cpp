#include "app/command_line.h"

#include "link/qt_serial_line.h"

#include <QFileInfo>
#include <QSet>

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

const char *const kJobOptions[] = {"--write", "--verify", "--read", "--history", "--site"};

const QString kDescription = QStringLiteral(
    "Configures a six-button dimmable switch panel over its serial line, and saves and opens its\n"
    "configuration as a .pnl file. Without --write, --verify or --read it opens its window;\n"
    "--legend writes the button legends of .pnl files into a PDF, --history lists the history.\n"
    "\n"
    "Production line: --write, --verify and --read run without a display, on every --port at once,\n"
    "one line per panel on stdout. Exit codes: 0 every panel done (and verified); 1 a verify found\n"
    "differences; 2 no answer or bad data on the line; 3 a panel of another identity; 4 the file was\n"
    "refused or could not be written; 5 the port could not be opened; 64 usage. With several panels,\n"
    "the highest code of any panel.");

} // namespace

CommandLine::CommandLine()
    : m_port(QStringLiteral("port"), portHelp() + QStringLiteral(" Repeat it to work on several panels at once."),
             QStringLiteral("DEVICE"))
    , m_listPorts(QStringLiteral("list-ports"), QStringLiteral("Prints the serial ports present, one a line, and exits."))
    , m_write(QStringLiteral("write"),
              QStringLiteral("Programs the panel with FILE, as OPEN CONFIGURATION FILE then WRITE CONFIGURATION would."),
              QStringLiteral("FILE.pnl"))
    , m_verify(QStringLiteral("verify"),
               QStringLiteral("Reads the panel and tells each difference from what FILE would write."),
               QStringLiteral("FILE.pnl"))
    , m_read(QStringLiteral("read"),
             QStringLiteral("Reads the panel and saves its configuration as FILE, which it never replaces without "
                            "--force. With several ports or --repeat, FILE holds {port} (the device's name), {n} "
                            "(001, 002, ..., after the highest already there) or {time} (UTC), replaced for each "
                            "panel."),
             QStringLiteral("FILE.pnl"))
    , m_name(QStringLiteral("name"), QStringLiteral("The panel name saved by --read (default: the file's base name)."),
             QStringLiteral("TEXT"))
    , m_json(QStringLiteral("json"), QStringLiteral("One JSON object per panel instead of a line of text."))
    , m_repeat(QStringLiteral("repeat"),
               QStringLiteral("Goes on with the next panel plugged into each port, until Ctrl+C."))
    , m_log(QStringLiteral("log"), QStringLiteral("Appends every result to FILE as a JSON line."), QStringLiteral("FILE"))
    , m_force(QStringLiteral("force"), QStringLiteral("Lets --read or --legend replace a file that exists."))
    , m_backup(QStringLiteral("backup"),
               QStringLiteral("With --write: reads the panel's configuration and keeps it in the history before writing."))
    , m_noHistory(QStringLiteral("no-history"), QStringLiteral("Keeps no history of this run."))
    , m_history(QStringLiteral("history"),
                QStringLiteral("Prints the history of panel operations, newest first (those of --port only, when "
                               "given; --json for the journal's lines), and exits."))
    , m_legend(QStringLiteral("legend"),
               QStringLiteral("Writes the button legends of the panels in the .pnl files and folders given after the "
                              "options into one PDF of A4 pages, as many to a page as fit, and exits. It never "
                              "replaces a file without --force."),
               QStringLiteral("OUT.pdf"))
    , m_legendSize(QStringLiteral("legend-size"),
                   QStringLiteral("The size of each legend in millimetres, width x height (default: 49x90, the face "
                                  "plate's)."),
                   QStringLiteral("WxH"))
    , m_site(QStringLiteral("site"),
             QStringLiteral("Prints each panel of a site, a folder of .pnl files and its sub-folders: file, panel "
                            "name, state in the history, when and on which port; then a summary (--json: JSON lines)."),
             QStringLiteral("DIR"))
    , m_report(QStringLiteral("report"),
               QStringLiteral("Writes the handover report of the site DIR given after it (or of every panel in the "
                              "history) as OUT.pdf, OUT.csv or OUT.html, from the history alone; --force replaces "
                              "an existing OUT."),
               QStringLiteral("OUT"))
    , m_since(QStringLiteral("since"),
              QStringLiteral("With --site or --report: operations before DATE (2026-12-08, or a time "
                             "2026-12-08T14:00) are not looked at."),
              QStringLiteral("DATE"))
    , m_trace(QStringLiteral("trace"),
              QStringLiteral("Prints every byte sent and received to stderr as it goes: the time since the "
                             "operation's start (ms), the direction, hex and text, and the command or reply it "
                             "forms. With several ports, each line begins with its port."))
{
    m_parser.setApplicationDescription(kDescription);
    m_parser.addHelpOption();
    m_parser.addVersionOption();
    for (const QCommandLineOption *option :
         {&m_port, &m_listPorts, &m_write, &m_verify, &m_read, &m_name, &m_force, &m_json, &m_repeat, &m_log,
          &m_backup, &m_noHistory, &m_history, &m_legend, &m_legendSize, &m_site, &m_report, &m_since, &m_trace})
        m_parser.addOption(*option);
    m_parser.addPositionalArgument(QStringLiteral("FILE.pnl"),
                                   QStringLiteral("A configuration file to open in the window after start-up; with --legend, "
                                                  "the .pnl files and folders of them to take the legends from."),
                                   QStringLiteral("[FILE.pnl]"));
}

CommandLine::Action CommandLine::usageError(const QString &text)
{
    m_error = text;
    return Action::UsageError;
}

CommandLine::Action CommandLine::parse(const QStringList &arguments)
{
    m_file.clear();
    m_error.clear();
    if (!m_parser.parse(arguments))
        return usageError(m_parser.errorText());
    if (m_parser.isSet(QStringLiteral("help")) || m_parser.isSet(QStringLiteral("help-all")))
        return Action::Help;
    if (m_parser.isSet(QStringLiteral("version")))
        return Action::Version;
    const QStringList files = m_parser.positionalArguments();
    if (m_parser.isSet(m_legend))
        return legendAction(files);
    if (m_parser.isSet(m_legendSize))
        return usageError(QStringLiteral("--legend-size goes with --legend."));
    if (files.size() > 1)
        return usageError(QStringLiteral("Only one file can be opened; given: %1.").arg(files.join(QStringLiteral(", "))));
    if (const QString missing = optionTakenForValue(); !missing.isEmpty())
        return usageError(missing);

    const QList<const QCommandLineOption *> commands = commandsGiven();
    if (m_parser.isSet(m_listPorts)) {
        if (!commands.isEmpty())
            return usageError(QStringLiteral("--list-ports goes alone, not with --write, --verify or --read."));
        return Action::ListPorts;
    }
    if (ports().contains(QString()))
        return usageError(QStringLiteral("--port needs a device name."));
    if (m_parser.isSet(m_history))
        return historyAction(commands, files);
    if (m_parser.isSet(m_site) || m_parser.isSet(m_report) || m_parser.isSet(m_since))
        return siteAction(commands, files);
    if (commands.isEmpty())
        return windowAction(files);
    if (commands.size() > 1 || m_parser.values(*commands.constFirst()).size() > 1)
        return usageError(QStringLiteral("Give one of --write, --verify and --read, once."));
    if (!files.isEmpty())
        return usageError(QStringLiteral("A file to open goes with the window, not with --write, --verify or --read."));
    return jobAction(*commands.constFirst());
}

QList<const QCommandLineOption *> CommandLine::commandsGiven() const
{
    QList<const QCommandLineOption *> commands;
    for (const QCommandLineOption *option : {&m_write, &m_verify, &m_read}) {
        if (m_parser.isSet(*option))
            commands << option;
    }
    return commands;
}

// The first of these options that is set, or nothing.
const QCommandLineOption *CommandLine::firstSet(std::initializer_list<const QCommandLineOption *> options) const
{
    for (const QCommandLineOption *option : options) {
        if (m_parser.isSet(*option))
            return option;
    }
    return nullptr;
}

CommandLine::Action CommandLine::historyAction(const QList<const QCommandLineOption *> &commands, const QStringList &files)
{
    if (!commands.isEmpty() || !files.isEmpty() || ports().size() > 1)
        return usageError(QStringLiteral("--history goes alone, with one --port and --json at most."));
    if (const QCommandLineOption *option =
            firstSet({&m_name, &m_force, &m_repeat, &m_log, &m_backup, &m_noHistory, &m_site, &m_report, &m_since, &m_trace}))
        return usageError(QStringLiteral("--%1 does not go with --history.").arg(option->names().constFirst()));
    return Action::History;
}

CommandLine::Action CommandLine::windowAction(const QStringList &files)
{
    if (const QCommandLineOption *option = firstSet({&m_name, &m_force, &m_json, &m_repeat, &m_log, &m_backup, &m_noHistory, &m_trace}))
        return usageError(QStringLiteral("--%1 goes with --write, --verify or --read.").arg(option->names().constFirst()));
    if (ports().size() > 1)
        return usageError(QStringLiteral("The window works with one port; several go with --write, --verify or --read."));
    m_file = files.value(0);
    return Action::Window;
}

CommandLine::Action CommandLine::jobAction(const QCommandLineOption &command)
{
    m_request.command = &command == &m_write    ? JobRequest::Command::Write
                        : &command == &m_verify ? JobRequest::Command::Verify
                                                : JobRequest::Command::Read;
    m_request.file = m_parser.value(command);
    m_request.target = ReadTarget();
    if (m_request.file.isEmpty())
        return usageError(QStringLiteral("--%1 needs a file.").arg(command.names().constFirst()));
    if (m_request.command == JobRequest::Command::Read) {
        m_request.target.pattern = m_request.file;
        m_request.target.panelName = m_parser.value(m_name);
        m_request.target.replace = m_parser.isSet(m_force);
        if (m_parser.isSet(m_name) && m_request.target.panelName.isEmpty())
            return usageError(QStringLiteral("--name needs a panel name."));
    } else if (const QCommandLineOption *option = firstSet({&m_name, &m_force})) {
        return usageError(QStringLiteral("--%1 goes with --read.").arg(option->names().constFirst()));
    }
    m_request.backup = m_parser.isSet(m_backup);
    if (m_request.backup && m_request.command != JobRequest::Command::Write)
        return usageError(QStringLiteral("--backup goes with --write."));
    if (m_parser.isSet(m_log) && logPath().isEmpty())
        return usageError(QStringLiteral("--log needs a file."));
    const QStringList devices = ports();
    if (QSet<QString>(devices.cbegin(), devices.cend()).size() != devices.size())
        return usageError(QStringLiteral("A port is given twice."));
    return Action::Headless;
}

// A site listed or reported: --site DIR [--json] [--since DATE], or --report OUT [DIR] [--since DATE] [--force].
CommandLine::Action CommandLine::siteAction(const QList<const QCommandLineOption *> &commands, const QStringList &files)
{
    const bool site = m_parser.isSet(m_site);
    const bool report = m_parser.isSet(m_report);
    if (site == report)
        return usageError(site ? QStringLiteral("Give one of --site and --report.")
                               : QStringLiteral("--since goes with --site or --report."));
    const QString option = site ? QStringLiteral("--site") : QStringLiteral("--report");
    if (!commands.isEmpty() || !ports().isEmpty())
        return usageError(option + QStringLiteral(" goes without --write, --verify, --read and --port."));
    if (const QCommandLineOption *other = firstSet({&m_name, &m_repeat, &m_log, &m_backup, &m_noHistory}))
        return usageError(QStringLiteral("--%1 does not go with %2.").arg(other->names().constFirst(), option));
    m_sinceTime = QDateTime();
    if (m_parser.isSet(m_since)) {
        const QString given = m_parser.value(m_since);
        const QDate day = QDate::fromString(given, Qt::ISODate);
        m_sinceTime = day.isValid() ? day.startOfDay() : QDateTime::fromString(given, Qt::ISODate);
        if (!m_sinceTime.isValid())
            return usageError(QStringLiteral("--since needs a date such as 2026-12-08 or a time such as 2026-12-08T14:00."));
    }
    if (site) {
        m_siteFolder = m_parser.value(m_site);
        if (m_siteFolder.isEmpty())
            return usageError(QStringLiteral("--site needs a folder."));
        if (!files.isEmpty() || m_parser.isSet(m_force))
            return usageError(QStringLiteral("--site goes alone, with --json and --since at most."));
        return Action::Site;
    }
    if (m_parser.isSet(m_json))
        return usageError(QStringLiteral("--json does not go with --report."));
    const QString suffix = QFileInfo(reportPath()).suffix().toLower();
    if (suffix != QLatin1String("pdf") && suffix != QLatin1String("csv") && suffix != QLatin1String("html"))
        return usageError(QStringLiteral("--report needs a file ending in .pdf, .csv or .html."));
    m_siteFolder = files.value(0);
    return Action::Report;
}

// QCommandLineParser takes the word after an option for its value, even when that word is one of
// the program's own options: "--port --write F" would read the port "--write".
QString CommandLine::optionTakenForValue() const
{
    QStringList known{QStringLiteral("help"), QStringLiteral("help-all"), QStringLiteral("version")};
    for (const QCommandLineOption *option : {&m_port, &m_listPorts, &m_write, &m_verify, &m_read, &m_name, &m_force,
                                              &m_json, &m_repeat, &m_log, &m_backup, &m_noHistory, &m_history,
                                              &m_legend, &m_legendSize, &m_site, &m_report, &m_since, &m_trace})
        known << option->names();
    for (const QCommandLineOption *option : {&m_port, &m_write, &m_verify, &m_read, &m_name, &m_log, &m_legend,
                                              &m_legendSize, &m_site, &m_report, &m_since}) {
        for (const QString &value : m_parser.values(*option)) {
            const QString name = value.section(QLatin1Char('='), 0, 0);
            if (name.startsWith(QLatin1String("--")) && known.contains(name.mid(2)))
                return QStringLiteral("--%1 needs %2 after it, not the option %3.")
                    .arg(option->names().constFirst(), option->valueName(), name);
        }
    }
    return QString();
}

CommandLine::Action CommandLine::legendAction(const QStringList &inputs)
{
    if (const QString missing = optionTakenForValue(); !missing.isEmpty())
        return usageError(missing);
    if (const QCommandLineOption *option = firstSet({&m_write, &m_verify, &m_read, &m_history, &m_listPorts, &m_port,
                                                     &m_name, &m_json, &m_repeat, &m_log, &m_backup, &m_noHistory}))
        return usageError(QStringLiteral("--%1 does not go with --legend.").arg(option->names().constFirst()));
    if (m_parser.values(m_legend).size() > 1 || m_parser.values(m_legendSize).size() > 1)
        return usageError(QStringLiteral("Give --legend and --legend-size once."));
    m_legendRequest = LegendRequest();
    m_legendRequest.output = m_parser.value(m_legend);
    m_legendRequest.inputs = inputs;
    m_legendRequest.replace = m_parser.isSet(m_force);
    if (m_legendRequest.output.isEmpty())
        return usageError(QStringLiteral("--legend needs the PDF to write."));
    if (inputs.isEmpty())
        return usageError(QStringLiteral("--legend needs the .pnl files or the folders of them to take the legends from."));
    if (m_parser.isSet(m_legendSize)) {
        QString problem;
        const std::optional<LegendSize> size = parseLegendSize(m_parser.value(m_legendSize), &problem);
        if (!size)
            return usageError(QStringLiteral("--legend-size: %1.").arg(problem));
        m_legendRequest.size = *size;
    }
    return Action::Legend;
}

void CommandLine::showHelpOrVersion(QCoreApplication &app)
{
    m_parser.process(app); // prints and exits for --help, --help-all and --version
    ::exit(0);
}

bool CommandLine::wantsJob(int argc, const char *const argv[])
{
    for (int i = 1; i < argc; ++i) {
        for (const char *option : kJobOptions) {
            const size_t length = std::strlen(option);
            if (std::strncmp(argv[i], option, length) == 0 && (argv[i][length] == 0 || argv[i][length] == '='))
                return true;
        }
    }
    return false;
}

namespace {

// Qt's own options that take a value, and those that do not, as Qt 6 reads them. Qt sets them aside only
// in QGuiApplication's constructor, which needs a display: the production line, which runs without one,
// reads past them with this list.
const char *const kQtOptionsWithValue[] = {"platform", "platformpluginpath", "platformtheme", "plugin",
                                           "qwindowgeometry", "qwindowicon", "qwindowtitle", "session",
                                           "display", "geometry", "title", "icon", "style",
                                           "stylesheet", "qmljsdebugger"};
const char *const kQtFlags[] = {"reverse", "widgetcount", "testability", "nograb", "dograb"};

} // namespace

QStringList CommandLine::withoutQtOptions(int argc, const char *const argv[])
{
    QStringList arguments{QString::fromLocal8Bit(argv[0])};
    for (int i = 1; i < argc; ++i) {
        const QString argument = QString::fromLocal8Bit(argv[i]);
        // Qt reads -option and --option alike; ours are --option only.
        QString name = argument.startsWith(QLatin1String("--")) ? argument.mid(2)
                       : argument.startsWith(QLatin1Char('-'))  ? argument.mid(1)
                                                                : QString();
        const bool hasEquals = name.contains(QLatin1Char('='));
        name = name.section(QLatin1Char('='), 0, 0);
        bool qtOption = false;
        for (const char *option : kQtOptionsWithValue) {
            if (name == QLatin1String(option)) {
                qtOption = true;
                i += hasEquals ? 0 : 1;
            }
        }
        for (const char *flag : kQtFlags)
            qtOption = qtOption || name == QLatin1String(flag);
        if (!qtOption)
            arguments << argument;
    }
    return arguments;
}

bool CommandLine::displayGiven(int argc, const char *const argv[])
{
    for (const char *variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        if (!qEnvironmentVariableIsEmpty(variable))
            return true;
    }
    for (int i = 1; i < argc; ++i) {
        for (const char *option : {"-platform", "--platform", "-display", "--display"}) {
            if (std::strcmp(argv[i], option) == 0)
                return true;
        }
    }
    return false;
}

} // namespace panel
