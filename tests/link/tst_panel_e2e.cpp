// Panel operations against the simulated panel on real pseudo-terminals, through QSerialPort: the window
// itself for a read and a write, and the link for every fault and reply style the simulator offers.
// Those run all at once, one panel and one thread each, when the suite starts; each row then checks its own.
#include "at_once.h"
#include "link/panel_operations.h"
#include "link/qt_serial_line.h"
#include "model/collecting_view.h"
#include "model/editor_model.h"
#include "model/status_texts.h"
#include "recording_dialogs.h"
#include "recording_host.h"
#include "sim_process.h"
#include "ui/form1.h"
#include "ui/rule_check_box.h"
#include "ui/selection_list.h"
#include "ui/status_box.h"
#include "window_controls.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using namespace panel;

namespace {

const QString kAnyStatus = QStringLiteral("*"); // a row whose status does not matter

// One simulated panel and the operations run on it, in order: true a write of kConfiguration, false a read.
struct SimCase {
    const char *name;
    QStringList options;
    QList<bool> writes;
    QString status; // the first operation's last status, or kAnyStatus
    QString messageTitle;

    std::unique_ptr<SimProcess> sim;
    QList<PanelResult> done;
    QStringList statuses; // each operation's last status
    QStringList messages; // the link's and the rules' messages, as "title|text" and "|text"
};

// Every field differs from the simulator's factory set, and every kind of code is there.
PanelConfig configuration()
{
    PanelConfig config;
    config.code = {159, 24, 158, 0, 9, 160};
    config.feature = 1;
    config.indicator = 6;
    config.backlight = 3;
    return config;
}

std::vector<SimCase> simCases()
{
    std::vector<SimCase> cases;
    const auto add = [&cases](const char *name, QStringList options, QList<bool> writes, QString status,
                              QString title = QString()) {
        cases.push_back({name, std::move(options), std::move(writes), std::move(status), std::move(title), {}, {}, {}, {}});
    };
    const QString baud = QStringLiteral("--baud-timing");
    // A faulty panel, and the next operation on it, which must run to its end as well.
    add("no answer", {"--no-answer"}, {false, false}, kNoResponse);
    add("hail answered from attempt 3", {"--hail-from", "3"}, {false, false}, kReadSuccessful);
    add("hail answered from attempt 7", {"--hail-from", "7"}, {true, true}, kNoResponse);
    add("another identity, read", {"--identity", "74"}, {false, false}, kCommunicationsOk, kMismatchTitle);
    add("another identity, write", {"--identity", "74"}, {true, true}, kCommunicationsOk, kMismatchTitle);
    add("read-back differs at 4", {"--readback-differs", "4"}, {true, true}, kBadData);
    add("out of range at 2", {"--out-of-range", "2"}, {false, false}, kBadData);
    add("short replies, read", {"--short-replies"}, {false, false}, kBadData);
    add("short replies, write", {"--short-replies"}, {true, true}, kBadData);
    // Answers that come only after the sixth hail's wait has ended.
    add("late replies", {"--late-replies", "700"}, {false, false}, kNoResponse);
    add("line closed during a read", {"--close-after", "5"}, {false, false}, kBadData);
    add("line closed during a write", {"--close-after", "6"}, {true, true}, kBadData);
    // Each reply style at byte timing: a write, then a read that must bring back exactly what was written.
    for (const char *style : {"plain", "spaced", "long", "crlf"})
        add(style, {baud, "--reply-style", style}, {true, false}, kProgrammed);
    // Replies that come after their tick answer nothing: at worst no answer, never a panel of another kind.
    for (const char *late : {"late by 300 ms", "late by 300 ms again", "late by 300 ms, third", "late by 300 ms, fourth"})
        add(late, {baud, "--late-replies", "300"}, {false}, kAnyStatus);
    return cases;
}

// The operations of one case, on the thread that runs it.
void runCase(SimCase &c)
{
    QtSerialLine line(c.sim->devicePath());
    for (const bool writing : c.writes) {
        RecordingHost host(kTickMilliseconds);
        CollectingView view;
        EditorModel editor(view);
        editor.runStartUpSteps();
        c.done << (writing ? write_config(host, host, line, configuration()) : read_config(host, host, line, editor));
        c.statuses << host.status();
        c.messages << host.messages;
        for (const QString &message : view.messages())
            c.messages << QLatin1Char('|') + message;
    }
}

} // namespace

class TestPanelEndToEnd : public QObject, private WindowControls
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void readShowsTheRegisters();
    void writeStoresExactlyTenRegisters();
    void missingDevice();
    void faultModes_data();
    void faultModes();
    void replyStylesAtByteTiming_data();
    void replyStylesAtByteTiming();
    void lateRepliesAreNeverAnotherPanel();

private:
    void startPanel(const QStringList &options);
    QMap<int, int> storedRegisters();
    void addRows(const QString &kind);
    SimCase &caseOfRow();

    QTemporaryDir m_dir;
    QProcess m_sim;
    RecordingDialogs m_dialogs;
    std::unique_ptr<QtSerialLine> m_line;
    std::vector<SimCase> m_cases;
};

void TestPanelEndToEnd::initTestCase()
{
    m_cases = simCases();
    std::vector<std::function<void()>> jobs;
    for (size_t i = 0; i < m_cases.size(); ++i) {
        SimCase &c = m_cases[i];
        c.sim = std::make_unique<SimProcess>();
        const QString state = m_dir.filePath(QStringLiteral("case%1.txt").arg(i));
        QVERIFY2(c.sim->start(QStringList{QStringLiteral("--state"), state} + c.options), c.name);
        jobs.push_back([&c] { runCase(c); });
    }
    runAtOnce(jobs);
}

void TestPanelEndToEnd::init()
{
    m_dialogs = RecordingDialogs();
    QFile::remove(m_dir.filePath(QStringLiteral("state.txt")));
}

void TestPanelEndToEnd::cleanup()
{
    form.reset();
    m_line.reset();
    if (m_sim.state() != QProcess::NotRunning) {
        m_sim.terminate();
        QVERIFY(m_sim.waitForFinished(5000));
    }
}

void TestPanelEndToEnd::startPanel(const QStringList &options)
{
    m_sim.start(QStringLiteral(PANELSIM_PATH),
                QStringList{QStringLiteral("--state"), m_dir.filePath(QStringLiteral("state.txt"))} + options);
    QVERIFY(m_sim.waitForStarted());
    QVERIFY(m_sim.waitForReadyRead(5000));
    const QString device = QString::fromLocal8Bit(m_sim.readLine()).trimmed();
    QVERIFY(device.startsWith(QLatin1String("/dev/")));
    m_line = std::make_unique<QtSerialLine>(device);
    form = std::make_unique<Form1>(m_dialogs, *m_line);
}

QMap<int, int> TestPanelEndToEnd::storedRegisters()
{
    return readSimState(m_dir.filePath(QStringLiteral("state.txt")));
}

void TestPanelEndToEnd::readShowsTheRegisters()
{
    startPanel({QStringLiteral("--baud-timing")});
    click("READ_CONFIG");
    QCOMPARE(status()->text(), kReadSuccessful);
    QCOMPARE(status()->colour(), 0xFF00u);
    // SW1..SW6 hold 0, 1, 10, 11, 159 and 160 in the simulator's factory set.
    const int modules[] = {1, 1, 2, 2, 17, 0};
    const int channels[] = {0, 1, 0, 1};
    for (int k = 0; k < 6; ++k)
        QCOMPARE(list(2 * k + 1)->position(), modules[k]);
    for (int k = 0; k < 4; ++k)
        QCOMPARE(list(2 * k + 2)->position(), channels[k]);
    QCOMPARE(form->findChild<RuleCheckBox *>(QStringLiteral("Check1"))->state(), 1);
    QCOMPARE(list(21)->position(), 0);
    QCOMPARE(list(22)->position(), 3); // code 5: "70"
    QVERIFY(m_dialogs.messages.isEmpty());
}

void TestPanelEndToEnd::writeStoresExactlyTenRegisters()
{
    startPanel({});
    setButton(0, 17);   // BL/MR
    setButton(1, 3, 4); // "C", "5": 24
    for (int k : {2, 3, 4, 5})
        setButton(k, 0);
    editor().setCheckState(1);
    editor().setIndicatorPosition(2); // "80": 6
    editor().setBacklightPosition(5); // "50": 3
    const QMap<int, int> before = storedRegisters();
    click("WRITE_CONFIG");
    QCOMPARE(status()->text(), kProgrammed);
    QCOMPARE(status()->colour(), 0xFF00u);

    const QMap<int, int> after = storedRegisters();
    const int expected[10] = {159, 24, 160, 160, 160, 160, 159, 1, 6, 3};
    for (int reg = 0; reg < 10; ++reg)
        QCOMPARE(after.value(reg), expected[reg]);
    for (int reg = 10; reg < 64; ++reg)
        QCOMPARE(after.value(reg), before.value(reg, reg == 63 ? 73 : 0));
}

void TestPanelEndToEnd::missingDevice()
{
    m_line = std::make_unique<QtSerialLine>(m_dir.filePath(QStringLiteral("ttyNONE")));
    form = std::make_unique<Form1>(m_dialogs, *m_line);
    click("WRITE_CONFIG");
    const QString text = status()->text();
    QVERIFY2(text.startsWith(QStringLiteral("COMMUNICATIONS FAILURE SERIAL PORT COULD NOT BE OPENED\n")
                             + m_dir.filePath(QStringLiteral("ttyNONE")) + QStringLiteral(": ")),
             qPrintable(text));
    QCOMPARE(status()->colour(), 0xFFu);
}

// One row for each case whose options hold `kind` ("" for the faults: no byte timing).
void TestPanelEndToEnd::addRows(const QString &kind)
{
    QTest::addColumn<int>("index");
    for (size_t i = 0; i < m_cases.size(); ++i) {
        const QStringList &options = m_cases[i].options;
        const bool timed = options.contains(QStringLiteral("--baud-timing"));
        if (kind.isEmpty() ? !timed : options.contains(kind))
            QTest::newRow(m_cases[i].name) << int(i);
    }
}

SimCase &TestPanelEndToEnd::caseOfRow()
{
    QFETCH(int, index);
    return m_cases[size_t(index)];
}

void TestPanelEndToEnd::faultModes_data() { addRows(QString()); }

void TestPanelEndToEnd::faultModes()
{
    const SimCase &c = caseOfRow();
    QCOMPARE(c.statuses.size(), 2);
    QCOMPARE(c.statuses[0], c.status);
    QCOMPARE(c.messages.size(), c.messageTitle.isEmpty() ? 0 : 2); // once for each operation
    if (!c.messageTitle.isEmpty())
        QVERIFY(c.messages[0].startsWith(c.messageTitle + QLatin1Char('|')));
    // The line is still usable: the next operation runs to its end as well.
    QVERIFY(!c.statuses[1].isEmpty());
}

void TestPanelEndToEnd::replyStylesAtByteTiming_data() { addRows(QStringLiteral("--reply-style")); }

// Each reply is taken whole, however long: a value never spills into the next register's reply.
void TestPanelEndToEnd::replyStylesAtByteTiming()
{
    const SimCase &c = caseOfRow();
    QCOMPARE(c.statuses, QStringList({kProgrammed, kReadSuccessful}));
    QVERIFY(configSeen(c.done[0].registers) == configuration());
    QVERIFY(configSeen(c.done[1].registers) == configuration());
    QCOMPARE(c.messages, QStringList());
}

void TestPanelEndToEnd::lateRepliesAreNeverAnotherPanel()
{
    for (const SimCase &c : m_cases) {
        if (!c.options.contains(QStringLiteral("--late-replies")) || !c.options.contains(QStringLiteral("--baud-timing")))
            continue;
        const PanelOutcome outcome = c.done.value(0).outcome;
        QVERIFY2(outcome == PanelOutcome::BadData || outcome == PanelOutcome::NoResponse, qPrintable(c.statuses.value(0)));
        QCOMPARE(c.messages, QStringList());
    }
}

QTEST_MAIN(TestPanelEndToEnd)
#include "tst_panel_e2e.moc"
