// The window against the simulated panel on a real pseudo-terminal, through QSerialPort.
#include "headless/job_host.h"
#include "link/panel_operations.h"
#include "link/qt_serial_line.h"
#include "model/status_texts.h"
#include "recording_dialogs.h"
#include "sim_process.h"
#include "ui/form1.h"
#include "ui/rule_check_box.h"
#include "ui/selection_list.h"
#include "ui/status_box.h"
#include "window_controls.h"

#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using namespace panel;

class TestPanelEndToEnd : public QObject, private WindowControls
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void readShowsTheRegisters();
    void writeStoresExactlyTenRegisters();
    void writeThenReadRoundTrips();
    void replyStylesAtByteTiming_data();
    void replyStylesAtByteTiming();
    void lateRepliesAreNeverAnotherPanel();
    void faultModes_data();
    void faultModes();
    void missingDevice();

private:
    void startPanel(const QStringList &options);
    QMap<int, int> storedRegisters();

    QTemporaryDir m_dir;
    QProcess m_sim;
    RecordingDialogs m_dialogs;
    std::unique_ptr<QtSerialLine> m_line;
};

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
    list(1)->setPosition(17); // BL/MR
    list(3)->setPosition(3);  // "C", "5": 24
    list(4)->setPosition(4);
    for (int n : {5, 7, 9, 11})
        list(n)->setPosition(0);
    form->findChild<RuleCheckBox *>(QStringLiteral("Check1"))->setState(1);
    list(21)->setPosition(2); // "80": 6
    list(22)->setPosition(5); // "50": 3
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

void TestPanelEndToEnd::writeThenReadRoundTrips()
{
    startPanel({QStringLiteral("--baud-timing")});
    const int modules[6] = {16, 1, 17, 0, 8, 12};
    const int channels[6] = {9, 0, -1, -1, 3, 7};
    for (int k = 0; k < 6; ++k) {
        list(2 * k + 1)->setPosition(modules[k]);
        if (channels[k] >= 0)
            list(2 * k + 2)->setPosition(channels[k]);
    }
    list(21)->setPosition(4);
    list(22)->setPosition(6);
    click("WRITE_CONFIG");
    QCOMPARE(status()->text(), kProgrammed);

    // A fresh window shows exactly what was written.
    form = std::make_unique<Form1>(m_dialogs, *m_line);
    click("READ_CONFIG");
    QCOMPARE(status()->text(), kReadSuccessful);
    // "P" with channel "10" is code 159, which reads back as "BL/MR".
    QCOMPARE(list(1)->position(), 17);
    for (int k = 1; k < 6; ++k) {
        QCOMPARE(list(2 * k + 1)->position(), modules[k]);
        if (channels[k] >= 0)
            QCOMPARE(list(2 * k + 2)->position(), channels[k]);
    }
    QCOMPARE(list(21)->position(), 4);
    QCOMPARE(list(22)->position(), 6);
    QCOMPARE(form->findChild<RuleCheckBox *>(QStringLiteral("Check1"))->state(), 0);
}

void TestPanelEndToEnd::replyStylesAtByteTiming_data()
{
    QTest::addColumn<QString>("style");
    for (const char *style : {"plain", "spaced", "long", "crlf"})
        QTest::newRow(style) << QString::fromLatin1(style);
}

// Each reply is taken whole, however long: a value never spills into the next register's reply.
void TestPanelEndToEnd::replyStylesAtByteTiming()
{
    QFETCH(QString, style);
    startPanel({QStringLiteral("--baud-timing"), QStringLiteral("--reply-style"), style});
    PanelConfig config;
    config.code = {159, 24, 158, 0, 9, 160};
    config.feature = 1;
    config.indicator = 6;
    config.backlight = 3;
    CollectingView messages;
    JobHost host(messages);
    QCOMPARE(write_config(host, host, *m_line, config).outcome, PanelOutcome::Done);
    EditorModel editor(messages);
    editor.runStartUpSteps();
    const PanelResult read = read_config(host, host, *m_line, editor);
    QCOMPARE(read.outcome, PanelOutcome::Done);
    QCOMPARE(host.status(), kReadSuccessful);
    QVERIFY(configSeen(read.registers) == config);
    QCOMPARE(messages.messages(), QStringList());
}

// Replies that come after their tick answer nothing: at worst no answer, never a panel of another kind.
void TestPanelEndToEnd::lateRepliesAreNeverAnotherPanel()
{
    startPanel({QStringLiteral("--baud-timing"), QStringLiteral("--late-replies"), QStringLiteral("300")});
    for (int run = 0; run < 4; ++run) {
        CollectingView messages;
        JobHost host(messages);
        EditorModel editor(messages);
        editor.runStartUpSteps();
        const PanelOutcome outcome = read_config(host, host, *m_line, editor).outcome;
        QVERIFY2(outcome == PanelOutcome::BadData || outcome == PanelOutcome::NoResponse, qPrintable(host.status()));
        QCOMPARE(messages.messages(), QStringList());
    }
}

void TestPanelEndToEnd::faultModes_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("finalStatus");
    QTest::addColumn<QString>("messageTitle");

    const QString read = QStringLiteral("READ_CONFIG");
    const QString write = QStringLiteral("WRITE_CONFIG");
    QTest::newRow("no answer") << QStringList{"--no-answer"} << read << kNoResponse << QString();
    QTest::newRow("hail answered from attempt 3") << QStringList{"--hail-from", "3"} << read << kReadSuccessful << QString();
    QTest::newRow("hail answered from attempt 7") << QStringList{"--hail-from", "7"} << write << kNoResponse
                                                  << QString();
    QTest::newRow("another identity, read") << QStringList{"--identity", "74"} << read
                                            << QStringLiteral("COMMUNICATIONS OK") << kMismatchTitle;
    QTest::newRow("another identity, write") << QStringList{"--identity", "74"} << write
                                             << QStringLiteral("COMMUNICATIONS OK") << kMismatchTitle;
    QTest::newRow("read-back differs at 4") << QStringList{"--readback-differs", "4"} << write << kBadData
                                            << QString();
    QTest::newRow("out of range at 2") << QStringList{"--out-of-range", "2"} << read << kBadData << QString();
    QTest::newRow("short replies, read") << QStringList{"--short-replies"} << read << kBadData << QString();
    QTest::newRow("short replies, write") << QStringList{"--short-replies"} << write << kBadData << QString();
    // Answers that come only after the sixth hail's wait has ended.
    QTest::newRow("late replies") << QStringList{"--late-replies", "700"} << read << kNoResponse << QString();
    QTest::newRow("line closed during a read") << QStringList{"--close-after", "5"} << read << kBadData << QString();
    QTest::newRow("line closed during a write") << QStringList{"--close-after", "6"} << write << kBadData
                                                << QString();
    QTest::newRow("spaced replies") << QStringList{"--reply-style", "spaced"} << read << kReadSuccessful << QString();
    QTest::newRow("long replies") << QStringList{"--reply-style", "long"} << read << kReadSuccessful << QString();
}

void TestPanelEndToEnd::faultModes()
{
    QFETCH(QStringList, options);
    QFETCH(QString, command);
    QFETCH(QString, finalStatus);
    QFETCH(QString, messageTitle);
    startPanel(options);
    for (int n : {1, 3, 5, 7, 9, 11})
        list(n)->setPosition(0);
    click(qPrintable(command));
    QCOMPARE(status()->text(), finalStatus);
    QCOMPARE(m_dialogs.messages.size(), messageTitle.isEmpty() ? 0 : 1);
    if (!messageTitle.isEmpty())
        QCOMPARE(m_dialogs.messages[0].title, messageTitle);
    // The window is still usable: the next operation runs to its end as well.
    click(qPrintable(command));
    QVERIFY(!status()->text().isEmpty());
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

QTEST_MAIN(TestPanelEndToEnd)
#include "tst_panel_e2e.moc"
