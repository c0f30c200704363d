#pragma once

// One scenario of the production-line suite: a folder of its own, its simulated panels, and the
// program's runs. It may run on any thread and never uses Qt Test's macros: what goes wrong before
// anything can be checked is kept in `failure`, and the checks run later on the test's own thread.
#include "files.h"
#include "sample_record.h"
#include "sim_process.h"

#include <QDir>
#include <QProcess>
#include <QVariantMap>
#include <QtTest>
#include <csignal>
#include <memory>
#include <vector>

// One program's end: its exit code (-1 when it hung), its stdout lines and its stderr.
struct Ran
{
    int code = -1;
    QProcess::ExitStatus status = QProcess::NormalExit;
    QStringList lines;
    QString errors;
};

// How the program is started: its display, its data folder (the history's home), where its output goes.
struct Launch
{
    QString display;
    QString dataHome;
    QString stdoutFile;
    QString stderrFile;
    QString executable = QStringLiteral(PANELCONFIG_PATH);
};

// What a scenario saw, for the checks.
struct Seen
{
    QString failure;
    QList<Ran> runs;
    QVariantMap facts;
};

class ProductionScene
{
public:
    explicit ProductionScene(QString folder) : m_folder(std::move(folder)) { QDir().mkpath(m_folder); }

    QString path(const QString &name) const { return m_folder + QLatin1Char('/') + name; }
    QString folder() const { return m_folder; }

    // "@" in an argument stands for the scenario's folder.
    QStringList placed(QStringList arguments) const
    {
        for (QString &argument : arguments)
            argument.replace(QLatin1Char('@'), m_folder + QLatin1Char('/'));
        return arguments;
    }

    QString lobby() const
    {
        const QString file = path(QStringLiteral("LOBBY.pnl"));
        writeAll(file, panel::test::lobbyWith({}));
        return file;
    }

    // A panel on a pseudo-terminal keeping its registers in `state` (in the folder): its device.
    QString startSim(const QStringList &options, const QString &state)
    {
        m_sims.push_back(std::make_unique<SimProcess>());
        if (!m_sims.back()->start(QStringList{QStringLiteral("--state"), path(state)} + options)) {
            fail(QStringLiteral("the simulated panel did not start"));
            return path(QStringLiteral("no-sim"));
        }
        return m_sims.back()->devicePath();
    }

    SimProcess &lastSim() { return *m_sims.back(); }

    static void start(QProcess &program, const QStringList &arguments, const Launch &launch = {})
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        if (!launch.dataHome.isEmpty())
            environment.insert(QStringLiteral("XDG_DATA_HOME"), launch.dataHome);
        for (const char *variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "PANELCONFIG_PORT"})
            environment.remove(QString::fromLatin1(variable));
        if (!launch.display.isEmpty())
            environment.insert(QStringLiteral("DISPLAY"), launch.display);
        program.setProcessEnvironment(environment);
        if (!launch.stdoutFile.isEmpty())
            program.setStandardOutputFile(launch.stdoutFile);
        if (!launch.stderrFile.isEmpty())
            program.setStandardErrorFile(launch.stderrFile);
        program.start(launch.executable, arguments);
        program.waitForStarted();
    }

    static Ran finish(QProcess &program, int timeoutMs = 60000)
    {
        Ran ran;
        const bool ended = program.state() == QProcess::NotRunning || program.waitForFinished(timeoutMs);
        if (!ended)
            program.kill();
        program.waitForFinished(5000);
        ran.status = program.exitStatus();
        ran.code = ended && ran.status == QProcess::NormalExit ? program.exitCode() : -1;
        if (!program.isReadable()) // both outputs went to files
            return ran;
        ran.lines = QString::fromUtf8(program.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        ran.errors = QString::fromUtf8(program.readAllStandardError());
        return ran;
    }

    // Runs the program to its end and keeps what it did.
    Ran run(const QStringList &arguments, const Launch &launch = {})
    {
        QProcess program;
        start(program, arguments, launch);
        seen.runs.append(finish(program));
        return seen.runs.constLast();
    }

    // Waits for lines of output and then for afterMs, then stops the program with the signal.
    static bool stopAfterLines(QProcess &program, int lines, int signal, int afterMs = 0)
    {
        if (!QTest::qWaitFor([&] { return linesSoFar(program) >= lines; }, 20000))
            return false;
        QTest::qWait(afterMs);
        ::kill(pid_t(program.processId()), signal);
        return true;
    }

    static int linesSoFar(QProcess &program) { return int(QString::fromUtf8(program.peek(1 << 16)).count(QLatin1Char('\n'))); }

    void fail(const QString &why)
    {
        if (seen.failure.isEmpty())
            seen.failure = why;
    }

    Seen seen;

private:
    QString m_folder;
    std::vector<std::unique_ptr<SimProcess>> m_sims;
};
