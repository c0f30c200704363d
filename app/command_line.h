#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>

namespace panel {

// EX_USAGE of sysexits.h: the command line could not be understood.
constexpr int kUsageExitCode = 64;

// The program's own options, read after Qt has taken its own (-style, -platform, -reverse, ...).
class CommandLine
{
public:
    enum class Action { Window, Help, Version, ListPorts, UsageError };

    CommandLine();

    // Reads the arguments; the program's name comes first, as in QCoreApplication::arguments().
    Action parse(const QStringList &arguments);

    QString port() const { return m_parser.value(m_port); }
    QString file() const { return m_file; }
    QString error() const { return m_error; }
    // Prints the help (Qt's options too for --help-all) or the version, and ends the program.
    [[noreturn]] void showHelpOrVersion(QCoreApplication &app);

    // Whether the arguments ask for a window at all: --help, --version and --list-ports need no display.
    static bool wantsWindow(int argc, const char *const argv[]);
    // Whether any display could be reached: an X or Wayland display, or a platform named by the user.
    static bool displayGiven(int argc, const char *const argv[]);

private:
    QCommandLineParser m_parser;
    QCommandLineOption m_port;
    QCommandLineOption m_listPorts;
    QString m_file;
    QString m_error;
};

} // namespace panel
