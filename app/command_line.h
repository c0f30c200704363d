#pragma once

#include "headless/legend_run.h"
#include "headless/panel_job.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QDateTime>
#include <QStringList>
#include <initializer_list>

namespace panel {

// The program's own options, read after Qt has taken its own (-style, -platform, -reverse, ...).
class CommandLine
{
public:
    enum class Action { Window, Headless, Help, Version, ListPorts, History, Legend, Site, Report, UsageError };

    CommandLine();

    // Reads the arguments; the program's name comes first, as in QCoreApplication::arguments().
    Action parse(const QStringList &arguments);

    // The first --port, for the window; every --port for the command line's jobs.
    QString port() const { return ports().value(0); }
    QStringList ports() const { return m_parser.values(m_port); }
    QString file() const { return m_file; }
    QString error() const { return m_error; }
    const JobRequest &request() const { return m_request; }
    bool json() const { return m_parser.isSet(m_json); }
    bool repeat() const { return m_parser.isSet(m_repeat); }
    QString logPath() const { return m_parser.value(m_log); }
    // --no-history: no history kept for this run.
    bool noHistory() const { return m_parser.isSet(m_noHistory); }
    // --legend: the PDF, the files and folders, the size.
    const LegendRequest &legendRequest() const { return m_legendRequest; }

    // --site DIR, or the folder after --report (empty: every panel of the history).
    QString siteFolder() const { return m_siteFolder; }
    // --report OUT: a .pdf, .csv or .html file, replaced only with --force.
    QString reportPath() const { return m_parser.value(m_report); }
    bool force() const { return m_parser.isSet(m_force); }
    // --since DATE: operations before it are not looked at; invalid when not given.
    QDateTime since() const { return m_sinceTime; }
    // --trace: every byte on the line printed to stderr as it goes.
    bool trace() const { return m_parser.isSet(m_trace); }

    // Prints the help (Qt's options too for --help-all) or the version, and ends the program.
    [[noreturn]] void showHelpOrVersion(QCoreApplication &app);

    // The arguments without the options that QGuiApplication and QApplication take for themselves
    // (-platform, -display, -style, ...), the program's name first: what parse() sees once Qt has
    // taken them, known before any display is needed.
    static QStringList withoutQtOptions(int argc, const char *const argv[]);
    // Whether they ask for a production-line command or the history, which run without any GUI library.
    static bool wantsJob(int argc, const char *const argv[]);
    // Whether any display could be reached: an X or Wayland display, or a platform named by the user.
    static bool displayGiven(int argc, const char *const argv[]);

private:
    Action usageError(const QString &text);
    QList<const QCommandLineOption *> commandsGiven() const;
    const QCommandLineOption *firstSet(std::initializer_list<const QCommandLineOption *> options) const;
    Action historyAction(const QList<const QCommandLineOption *> &commands, const QStringList &files);
    Action windowAction(const QStringList &files);
    Action jobAction(const QCommandLineOption &command);
    QString optionTakenForValue() const;
    Action legendAction(const QStringList &inputs);
    Action siteAction(const QList<const QCommandLineOption *> &commands, const QStringList &files);

    QCommandLineParser m_parser;
    QCommandLineOption m_port;
    QCommandLineOption m_listPorts;
    QCommandLineOption m_write;
    QCommandLineOption m_verify;
    QCommandLineOption m_read;
    QCommandLineOption m_name;
    QCommandLineOption m_json;
    QCommandLineOption m_repeat;
    QCommandLineOption m_log;
    QCommandLineOption m_force;
    QCommandLineOption m_backup;
    QCommandLineOption m_noHistory;
    QCommandLineOption m_history;
    QCommandLineOption m_legend;
    QCommandLineOption m_legendSize;
    QCommandLineOption m_site;
    QCommandLineOption m_report;
    QCommandLineOption m_since;
    QString m_siteFolder;
    QDateTime m_sinceTime;
    QCommandLineOption m_trace;
    QString m_file;
    QString m_error;
    JobRequest m_request;
    LegendRequest m_legendRequest;
};

} // namespace panel
