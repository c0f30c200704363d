// The panel link against a scripted line: bytes on the wire, replies, retries and failure paths.
#include "link/protocol.h"
#include "file/history.h"
#include "files.h"
#include "journal_entries.h"
#include "model/editor_model.h"
#include "sample_record.h"
#include "model/status_texts.h"
#include "recording_dialogs.h"
#include "scripted_panel.h"
#include "ui/form1.h"
#include "ui/rule_check_box.h"
#include "ui/selection_list.h"
#include "ui/status_box.h"
#include "window_controls.h"

#include <QDir>
#include <QJsonObject>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QPushButton>
#include <QtTest>
#include <memory>

using namespace panel;

namespace {

QByteArray readCmd(int reg)
{
    return readCommand(quint8(reg));
}


} // namespace

class TestPanelProtocol : public QObject, private WindowControls
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void commandBytes();
    void replyValues_data();
    void replyValues();

    void readShowsThePanel();
    void hailAnsweredOnThirdAttempt();
    void lateDoubleAnswerIsRefused();
    void hailAnswerWithTheTickIsRefused();
    void silentPanelFailsAfterSixHails();
    void readRegisterValues_data();
    void readRegisterValues();
    void shortIdentityReplyIsNeverStale();
    void identityMismatchShowsMessage_data();
    void identityMismatchShowsMessage();

    void writeStoresTenRegisters();
    void verification_data();
    void verification();
    void failureAtRegisterFourLeavesTheRest();
    void incompleteConfigurationSendsNothing();
    void portThatCannotOpen();
    void brokenLineEndsTheOperation_data();
    void brokenLineEndsTheOperation();
    void lateAcknowledgementIsNoReadReply_data();
    void lateAcknowledgementIsNoReadReply();
    void secondCommandIsIgnoredWhileWaiting();
    void closingTheWindowEndsTheOperation_data();
    void closingTheWindowEndsTheOperation();
    void identityThatDoesNotFitIsNeverTheIdentity();
    void repeatedReplyShiftsNothing();
    void readFailingAtBacklightKeepsItsCode();
    void windowKeepsHistory();

private:
    RecordingDialogs m_dialogs;
    std::unique_ptr<ScriptedPanel> m_panel;
    QStringList m_statusHistory;
};

void TestPanelProtocol::init()
{
    m_dialogs = RecordingDialogs();
    m_panel = std::make_unique<ScriptedPanel>();
    form = std::make_unique<Form1>(m_dialogs, *m_panel);
    m_statusHistory.clear();
    connect(status(), &QPlainTextEdit::textChanged, this, [this] { m_statusHistory << status()->text(); });
}

void TestPanelProtocol::cleanup()
{
    form.reset();
    m_panel.reset();
}

void TestPanelProtocol::commandBytes()
{
    QCOMPARE(hailCommand(), QByteArray("A"));
    QCOMPARE(writeCommand(2, 13), QByteArray("S\x00\x02\x00\x0d" "D", 6));
    QCOMPARE(readCommand(63), QByteArray("V\x00\x3f" "00V", 6));
}

void TestPanelProtocol::replyValues_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<bool>("fits");
    QTest::addColumn<int>("value");
    QTest::newRow("identity") << QByteArray("0730\r") << true << 73;
    QTest::newRow("160.5 rounds to even 160") << QByteArray("1605") << true << 160;
    QTest::newRow("161.5 rounds to even 162") << QByteArray("1615") << true << 162;
    QTest::newRow("162.5 rounds to even 162") << QByteArray("1625") << true << 162;
    QTest::newRow("blanks skipped") << QByteArray("  07 30\r") << true << 73;
    QTest::newRow("letter first") << QByteArray("X730\r") << true << 0;
    QTest::newRow("trailing text") << QByteArray("1590 OK\r\n") << true << 159;
    QTest::newRow("decimal fraction") << QByteArray("0734.9") << true << 73;
    QTest::newRow("negative") << QByteArray("-100") << true << -10;
    QTest::newRow("largest 16-bit") << QByteArray("327670") << true << 32767;
    QTest::newRow("beyond 16 bits") << QByteArray("327680") << false << 0;
    QTest::newRow("absurdly long") << QByteArray(40, '9') << false << 0;
    QTest::newRow("leading zeros do not count") << QByteArray("0000000000012") << true << 1;
    QTest::newRow("many leading zeros") << QByteArray(60, '0') + "0730" << true << 73;
    QTest::newRow("blanks between every digit") << QByteArray("0 7 3 0\r") << true << 73;
    QTest::newRow("half with a fraction rounds up") << QByteArray("1605.01") << true << 161;
    QTest::newRow("lowest 16-bit") << QByteArray("-327680") << true << -32768;
    QTest::newRow("below 16 bits") << QByteArray("-327690") << false << 0;
}

void TestPanelProtocol::replyValues()
{
    QFETCH(QByteArray, reply);
    QFETCH(bool, fits);
    QFETCH(int, value);
    const ReplyValue result = replyValue(reply);
    QCOMPARE(result.fits, fits);
    if (fits)
        QCOMPARE(int(result.value), value);
}

void TestPanelProtocol::readShowsThePanel()
{
    control<QLineEdit>(QStringLiteral("Text2"))->setText(QStringLiteral("OLD NAME"));
    click("READ_CONFIG");

    QByteArray expected = "A" + readCmd(63);
    for (int reg : {0, 1, 2, 3, 4, 5, 7, 8, 9})
        expected += readCmd(reg);
    QCOMPARE(m_panel->wire, expected);
    QCOMPARE(m_statusHistory.constFirst(),
             QStringLiteral("STARTING COMMUNICATIONS TO READ SWITCH PANEL CONFIGURATION"));
    QCOMPARE(status()->text(), kReadSuccessful);
    QCOMPARE(status()->colour(), 0xFF00u);
    QVERIFY(status()->isVisibleTo(form.get()));
    QCOMPARE(control<QLineEdit>(QStringLiteral("Text2"))->text(), QString());
    QCOMPARE(m_panel->closes, 1);

    QCOMPARE(control<SelectionList>(QStringLiteral("List1"))->position(), 1); // code 0: "A", "1"
    QCOMPARE(control<SelectionList>(QStringLiteral("List2"))->position(), 0);
    QCOMPARE(control<SelectionList>(QStringLiteral("List3"))->position(), 2); // code 12: "B", "3"
    QCOMPARE(control<SelectionList>(QStringLiteral("List4"))->position(), 2);
    QCOMPARE(control<SelectionList>(QStringLiteral("List5"))->position(), 17); // 159: "BL/MR"
    QVERIFY(!control<SelectionList>(QStringLiteral("List6"))->isVisibleTo(form.get()));
    QCOMPARE(control<SelectionList>(QStringLiteral("List7"))->position(), 0); // 160: "N/A"
    for (const char *box : {"Text3", "Text4", "Text5", "Text6", "Text7", "Text8"}) {
        QCOMPARE(control<QLineEdit>(box)->text(), QString());
        QVERIFY(!control<QLineEdit>(box)->isVisibleTo(form.get()));
    }
    QCOMPARE(control<RuleCheckBox>(QStringLiteral("Check1"))->state(), 1);
    QCOMPARE(form->editor().feature(), qint16(1));
    QCOMPARE(control<SelectionList>(QStringLiteral("List21"))->position(), 0); // 10: "100"
    QCOMPARE(control<SelectionList>(QStringLiteral("List22"))->position(), 5); // 3: "50"
    QCOMPARE(form->editor().blpercent(), qint16(3));
    QVERIFY(m_dialogs.messages.isEmpty());
}

void TestPanelProtocol::hailAnsweredOnThirdAttempt()
{
    m_panel->script = [this](ScriptedPanel::Kind kind, const QByteArray &) -> std::optional<ScriptedPanel::Reply> {
        if (kind == ScriptedPanel::Hail && m_panel->hails < 3)
            return ScriptedPanel::Reply{};
        return std::nullopt;
    };
    click("READ_CONFIG");
    QVERIFY(m_panel->wire.startsWith("AAA" + readCmd(63)));
    QCOMPARE(status()->text(), kReadSuccessful);
}

void TestPanelProtocol::lateDoubleAnswerIsRefused()
{
    // The first hail's answer comes after its wait has ended, together with the second one's.
    m_panel->script = [this](ScriptedPanel::Kind kind, const QByteArray &) -> std::optional<ScriptedPanel::Reply> {
        if (kind == ScriptedPanel::Hail && m_panel->hails == 1)
            return ScriptedPanel::Reply{};
        if (kind == ScriptedPanel::Hail && m_panel->hails == 2)
            return ScriptedPanel::Reply{"D000DD000D", 50};
        return std::nullopt;
    };
    click("READ_CONFIG");
    QCOMPARE(m_panel->wire, QByteArray("AA"));
    QCOMPARE(status()->text(), kNoResponse);
    QCOMPARE(status()->colour(), 0xFFu);
    QCOMPARE(m_panel->closes, 1);
}

void TestPanelProtocol::hailAnswerWithTheTickIsRefused()
{
    // The answer to the first hail lands in the same event pass as the tick that ends its wait.
    bool answerWithTick = false;
    m_panel->script = [&](ScriptedPanel::Kind kind, const QByteArray &) -> std::optional<ScriptedPanel::Reply> {
        if (kind != ScriptedPanel::Hail || m_panel->hails > 1)
            return std::nullopt;
        answerWithTick = true;
        return ScriptedPanel::Reply{};
    };
    QObject::connect(form->findChild<QTimer *>(QStringLiteral("Timer1")), &QTimer::timeout, &m_panel->timerOwner,
                     [&] {
                         if (std::exchange(answerWithTick, false))
                             m_panel->input += "D000D";
                     });
    click("READ_CONFIG");
    QCOMPARE(m_panel->wire, QByteArray("A"));
    QCOMPARE(status()->text(), kNoResponse);
}

void TestPanelProtocol::silentPanelFailsAfterSixHails()
{
    m_panel->script = [](ScriptedPanel::Kind, const QByteArray &) { return ScriptedPanel::Reply{}; };
    control<SelectionList>(QStringLiteral("List1"))->setPosition(3);
    click("READ_CONFIG");
    QCOMPARE(m_panel->wire, QByteArray("AAAAAA"));
    QCOMPARE(status()->text(), kNoResponse);
    QCOMPARE(control<SelectionList>(QStringLiteral("List1"))->position(), 3);
    QCOMPARE(control<QLineEdit>(QStringLiteral("Text2"))->text(), QString());
}

void TestPanelProtocol::readRegisterValues_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("module");
    QTest::addColumn<int>("channel");
    QTest::addColumn<QString>("finalStatus");
    const QString ok = kReadSuccessful;
    QTest::newRow("1605 is 160, in range") << QByteArray("1605\r") << 0 << 0 << ok;
    QTest::newRow("1615 is 162, out of range") << QByteArray("1615\r") << 0 << 0 << kBadData;
    QTest::newRow("letter reply is 0") << QByteArray("Z999\r") << 1 << 0 << ok;
    QTest::newRow("158 is P, 9") << QByteArray("1580\r") << 16 << 8 << ok;
    QTest::newRow("three characters") << QByteArray("073") << -1 << -1 << kBadData;
    QTest::newRow("four characters are enough") << QByteArray("1580") << 16 << 8 << ok;
}

void TestPanelProtocol::readRegisterValues()
{
    QFETCH(QByteArray, reply);
    QFETCH(int, module);
    QFETCH(int, channel);
    QFETCH(QString, finalStatus);
    m_panel->script = [reply](ScriptedPanel::Kind kind, const QByteArray &bytes) -> std::optional<ScriptedPanel::Reply> {
        if (kind == ScriptedPanel::Read && bytes[2] == 0)
            return ScriptedPanel::Reply{reply};
        return std::nullopt;
    };
    click("READ_CONFIG");
    QCOMPARE(status()->text(), finalStatus);
    QCOMPARE(control<SelectionList>(QStringLiteral("List1"))->position(), module);
    if (module != 0)
        QCOMPARE(control<SelectionList>(QStringLiteral("List2"))->position(), channel);
    if (finalStatus == kBadData)
        QVERIFY(!m_panel->wire.contains(readCmd(1))); // the read stops at the failed register
}

void TestPanelProtocol::shortIdentityReplyIsNeverStale()
{
    click("READ_CONFIG"); // an earlier operation read good values, 73 among them
    m_panel->script = [](ScriptedPanel::Kind kind, const QByteArray &bytes) -> std::optional<ScriptedPanel::Reply> {
        if (kind == ScriptedPanel::Read && bytes[2] == 63)
            return ScriptedPanel::Reply{"07"};
        return std::nullopt;
    };
    m_panel->wire.clear();
    click("READ_CONFIG");
    QCOMPARE(status()->text(), kBadData);
    QCOMPARE(status()->colour(), 0xFFu);
    QCOMPARE(m_panel->wire, "A" + readCmd(63));
    QVERIFY(m_dialogs.messages.isEmpty());

    m_panel->wire.clear();
    control<SelectionList>(QStringLiteral("List1"))->setPosition(0);
    control<SelectionList>(QStringLiteral("List3"))->setPosition(0);
    control<SelectionList>(QStringLiteral("List5"))->setPosition(0);
    click("WRITE_CONFIG");
    QCOMPARE(status()->text(), kBadData);
    QCOMPARE(m_panel->wire, "A" + readCmd(63));
}

void TestPanelProtocol::identityMismatchShowsMessage_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("text");
    QTest::newRow("read") << "READ_CONFIG"
                          << "THE SWITCH PANEL THAT YOU HAVE ATTEMPTED TO READ DATA FROM DOES NOT MATCH THIS "
                             "CONFIGURATION PROGRAM";
    QTest::newRow("write") << "WRITE_CONFIG"
                           << "THE SWITCH PANEL THAT YOU HAVE ATTEMPTED TO WRITE DATA TO DOES NOT MATCH THIS "
                              "CONFIGURATION PROGRAM";
}

void TestPanelProtocol::identityMismatchShowsMessage()
{
    QFETCH(QString, command);
    QFETCH(QString, text);
    for (int k = 0; k < kButtons; ++k)
        setButton(k, 0);
    m_panel->registers[63] = 74;
    click(qPrintable(command));
    QCOMPARE(m_dialogs.messages.size(), 1);
    QCOMPARE(m_dialogs.messages[0].text, text);
    QCOMPARE(m_dialogs.messages[0].title, kMismatchTitle);
    QCOMPARE(status()->text(), kCommunicationsOk);
    QCOMPARE(status()->colour(), 0xFFFFu);
    QCOMPARE(m_panel->wire, "A" + readCmd(63));
    QCOMPARE(m_panel->closes, 1);
}

void TestPanelProtocol::writeStoresTenRegisters()
{
    for (int k = 0; k < kButtons; ++k)
        setButton(k, 0);
    setButton(2, 2, 3); // SW3 on "B", "4": 13
    click("WRITE_CONFIG");
    const QList<QPair<int, int>> expected = {{0, 160}, {1, 160}, {2, 13}, {3, 160}, {4, 160},
                                             {5, 160}, {6, 159}, {7, 0},  {8, 10},  {9, 10}};
    QCOMPARE(m_panel->writes, expected);
    QByteArray wire = "A" + readCmd(63);
    for (const auto &[reg, value] : expected)
        wire += writeCommand(quint8(reg), quint8(value)) + readCmd(reg);
    QCOMPARE(m_panel->wire, wire);
    QCOMPARE(m_statusHistory.constFirst(),
             QStringLiteral("STARTING COMMUNICATIONS TO WRITE SWITCH PANEL CONFIGURATION"));
    QCOMPARE(status()->text(), kProgrammed);
    QCOMPARE(status()->colour(), 0xFF00u);
    QCOMPARE(m_statusHistory.count(kCommunicationsOk), 11);
}

void TestPanelProtocol::verification_data()
{
    QTest::addColumn<int>("channel"); // SW1 on module "H" (70): channel 3 gives 73, 4 gives 74
    QTest::addColumn<QByteArray>("readBack");
    QTest::addColumn<QString>("registerStatus");
    QTest::addColumn<QString>("finalStatus");
    QTest::newRow("0730 verifies 73") << 3 << QByteArray("0730\r") << "COMMUNICATIONS OK"
                                      << "SWITCH PANEL HAS BEEN PROGRAMMED";
    QTest::newRow("0730 fails 74") << 4 << QByteArray("0730\r") << "DATA FAILED TO VERIFY" << kBadData;
    QTest::newRow("short read-back") << 3 << QByteArray("073") << "COMMUNICATIONS CORRUPTED" << kBadData;
    QTest::newRow("four-character read-back") << 3 << QByteArray("0730") << "COMMUNICATIONS OK"
                                              << "SWITCH PANEL HAS BEEN PROGRAMMED";
}

void TestPanelProtocol::verification()
{
    QFETCH(int, channel);
    QFETCH(QByteArray, readBack);
    QFETCH(QString, registerStatus);
    QFETCH(QString, finalStatus);
    for (int k = 0; k < kButtons; ++k)
        setButton(k, 0);
    setButton(0, 8, channel);
    m_panel->script = [readBack](ScriptedPanel::Kind kind, const QByteArray &bytes) -> std::optional<ScriptedPanel::Reply> {
        if (kind == ScriptedPanel::Read && bytes[2] == 0)
            return ScriptedPanel::Reply{readBack};
        return std::nullopt;
    };
    click("WRITE_CONFIG");
    QCOMPARE(m_statusHistory.value(m_statusHistory.indexOf(kCommunicationsOk) + 1), registerStatus);
    QCOMPARE(status()->text(), finalStatus);
}

void TestPanelProtocol::failureAtRegisterFourLeavesTheRest()
{
    for (int k = 0; k < kButtons; ++k)
        setButton(k, 0);
    m_panel->script = [this](ScriptedPanel::Kind kind, const QByteArray &bytes) -> std::optional<ScriptedPanel::Reply> {
        if (kind == ScriptedPanel::Write && bytes[2] == 4) {
            m_panel->registers[4] = 7; // acknowledged, but stored wrong
            return ScriptedPanel::Reply{"D000D"};
        }
        return std::nullopt;
    };
    m_panel->registers.fill(99);
    m_panel->registers[63] = 73;
    click("WRITE_CONFIG");
    QCOMPARE(status()->text(), kBadData);
    QCOMPARE(status()->colour(), 0xFFu);
    for (int reg = 0; reg < 4; ++reg)
        QCOMPARE(m_panel->registers[reg], 160);
    QCOMPARE(m_panel->registers[4], 7);
    for (int reg = 5; reg <= 9; ++reg)
        QCOMPARE(m_panel->registers[reg], 99);
    QVERIFY(!m_panel->wire.contains(writeCommand(5, 160)));
}

void TestPanelProtocol::incompleteConfigurationSendsNothing()
{
    for (int k = 0; k < kButtons; ++k)
        setButton(k, 0);
    setButton(1, 4); // SW2 on "D" without a channel
    click("WRITE_CONFIG");
    QCOMPARE(m_panel->wire, QByteArray());
    QCOMPARE(m_panel->opens, 1);
    QCOMPARE(m_panel->closes, 1);
    QCOMPARE(status()->text(), QStringLiteral("DATA MUST BE ENTERED (CLICKED) FOR ALL SWITCHES BEFORE WRITING DATA"));
    QCOMPARE(status()->colour(), 0xFFu);
}

void TestPanelProtocol::portThatCannotOpen()
{
    m_panel->openError = QStringLiteral("Permission denied");
    click("READ_CONFIG");
    QCOMPARE(status()->text(), QStringLiteral("COMMUNICATIONS FAILURE SERIAL PORT COULD NOT BE OPENED\n"
                                              "/dev/ttyFAKE: Permission denied"));
    QCOMPARE(status()->colour(), 0xFFu);
    QCOMPARE(m_panel->wire, QByteArray());
}

void TestPanelProtocol::brokenLineEndsTheOperation_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("reg");
    QTest::addColumn<bool>("closeWindow"); // abandoned rather than broken
    QTest::addColumn<bool>("replyWaiting");
    QTest::newRow("read, register 1") << "READ_CONFIG" << int(ScriptedPanel::Read) << 1 << false << false;
    QTest::newRow("read, last register, reply waiting") << "READ_CONFIG" << int(ScriptedPanel::Read) << 9 << false << true;
    QTest::newRow("write, last register, acknowledgement waiting")
        << "WRITE_CONFIG" << int(ScriptedPanel::Write) << 9 << false << true;
    QTest::newRow("write, last read-back, reply waiting")
        << "WRITE_CONFIG" << int(ScriptedPanel::Read) << 9 << false << true;
    QTest::newRow("window closed at the last read-back, reply waiting")
        << "WRITE_CONFIG" << int(ScriptedPanel::Read) << 9 << true << true;
    QTest::newRow("window closed at the last read, reply waiting")
        << "READ_CONFIG" << int(ScriptedPanel::Read) << 9 << true << true;
}

// A line that breaks, or an operation abandoned, never ends in success, even with a whole reply waiting.
// Its journal line tells a stop as the command line does, on the port the operation started on.
void TestPanelProtocol::brokenLineEndsTheOperation()
{
    QFETCH(QString, command);
    QFETCH(int, kind);
    QFETCH(int, reg);
    QFETCH(bool, closeWindow);
    QFETCH(bool, replyWaiting);
    for (int k = 0; k < kButtons; ++k)
        setButton(k, 0);
    form->show();
    m_panel->script = [&](ScriptedPanel::Kind sent, const QByteArray &bytes) -> std::optional<ScriptedPanel::Reply> {
        if (sent != kind || bytes[2] != reg)
            return std::nullopt;
        m_panel->setDeviceName(QStringLiteral("/dev/ttyCHOSEN")); // another port chosen in the menu meanwhile
        if (closeWindow)
            form->close();
        else
            m_panel->broken = true;
        return replyWaiting ? m_panel->standardReply(sent, bytes) : ScriptedPanel::Reply{};
    };
    click(qPrintable(command));
    QCOMPARE(status()->text(), kBadData);
    QCOMPARE(m_panel->closes, 1);

    const QJsonObject entry = journalEntries(History()).value(0);
    QCOMPARE(entry.value("result").toString(), closeWindow ? QStringLiteral("STOPPED BEFORE THE END") : kBadData);
    QCOMPARE(entry.value("exit_code").toInt(), 2);
    QCOMPARE(entry.value("port").toString(), QStringLiteral("/dev/ttyFAKE"));
    QVERIFY(entry.value("snapshot").isNull());
    int seen = 0;
    for (const QJsonValue value : entry.value("registers").toArray())
        seen += value.isNull() ? 0 : 1;
    QCOMPARE(seen, command == "WRITE_CONFIG" || reg <= kBacklightRegister ? reg : reg - 1); // a read skips register 6
}

void TestPanelProtocol::lateAcknowledgementIsNoReadReply_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("reg");
    QTest::addColumn<QString>("result");
    QTest::newRow("identity read") << "READ_CONFIG" << 63 << "SWITCH PANEL DATA READ SUCCESSFUL";
    QTest::newRow("register read") << "READ_CONFIG" << 4 << "SWITCH PANEL DATA READ SUCCESSFUL";
    QTest::newRow("read-back") << "WRITE_CONFIG" << 4 << "SWITCH PANEL HAS BEEN PROGRAMMED";
}

// An acknowledgement that comes late, just as a read is sent, is dropped; the read takes its own reply.
void TestPanelProtocol::lateAcknowledgementIsNoReadReply()
{
    QFETCH(QString, command);
    QFETCH(int, reg);
    QFETCH(QString, result);
    for (int k = 0; k < kButtons; ++k)
        setButton(k, 0);
    m_panel->script = [&](ScriptedPanel::Kind kind, const QByteArray &bytes) -> std::optional<ScriptedPanel::Reply> {
        if (kind != ScriptedPanel::Read || bytes[2] != reg)
            return std::nullopt;
        m_panel->input += "D000D";
        ScriptedPanel::Reply reply = m_panel->standardReply(kind, bytes);
        reply.delayMs = 30;
        return reply;
    };
    click(qPrintable(command));
    QCOMPARE(status()->text(), result);
    QVERIFY(m_dialogs.messages.isEmpty());
    QCOMPARE(control<SelectionList>(QStringLiteral("List9"))->position(), kModuleNaPosition); // register 4 holds 160, not 0
}

void TestPanelProtocol::secondCommandIsIgnoredWhileWaiting()
{
    bool clicked = false;
    m_panel->script = [&](ScriptedPanel::Kind kind, const QByteArray &bytes) -> std::optional<ScriptedPanel::Reply> {
        if (kind == ScriptedPanel::Read && bytes[2] == 2 && !clicked) {
            clicked = true;
            QTimer::singleShot(10, this, [this] {
                click("WRITE_CONFIG");
                control<SelectionList>(QStringLiteral("List21"))->setPosition(3); // rules still work meanwhile
            });
        }
        return std::nullopt;
    };
    click("READ_CONFIG");
    QVERIFY(clicked);
    QCOMPARE(m_panel->opens, 1);
    QVERIFY(m_panel->writes.isEmpty());
    QCOMPARE(status()->text(), kReadSuccessful);
}

void TestPanelProtocol::closingTheWindowEndsTheOperation_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("kind");
    QTest::newRow("read") << "READ_CONFIG" << int(ScriptedPanel::Read);
    QTest::newRow("write") << "WRITE_CONFIG" << int(ScriptedPanel::Write);
}

// Closed during the pause before a register, the operation ends there: nothing more reaches the panel.
void TestPanelProtocol::closingTheWindowEndsTheOperation()
{
    QFETCH(QString, command);
    QFETCH(int, kind);
    for (int k = 0; k < kButtons; ++k)
        setButton(k, 0);
    form->show();
    qsizetype sentBeforeClose = -1;
    m_panel->script = [&](ScriptedPanel::Kind sent, const QByteArray &bytes) -> std::optional<ScriptedPanel::Reply> {
        if (sent == kind && bytes[2] == 1) {
            QTimer::singleShot(50, form.get(), [&] {
                sentBeforeClose = m_panel->wire.size();
                form->close();
            });
        }
        return std::nullopt;
    };
    QElapsedTimer clock;
    clock.start();
    click(qPrintable(command));
    QVERIFY(clock.elapsed() < 5000);
    QVERIFY(sentBeforeClose > 0);
    QCOMPARE(m_panel->wire.size(), sentBeforeClose);
    QCOMPARE(m_panel->isOpen, false);
    QTRY_VERIFY(!form->isVisible());
}

// A value that does not fit 16 bits is never the identity, whatever A held before.
// A reply sent twice must not be taken for the next register's: every later value would be one off.
void TestPanelProtocol::repeatedReplyShiftsNothing()
{
    m_panel->script = [this](ScriptedPanel::Kind kind, const QByteArray &bytes) -> std::optional<ScriptedPanel::Reply> {
        if (kind == ScriptedPanel::Read && bytes[2] == 1) {
            const ScriptedPanel::Reply reply = m_panel->standardReply(kind, bytes);
            QTimer::singleShot(20, &m_panel->timerOwner, [this, reply] { m_panel->input += reply.bytes; });
            return reply;
        }
        return std::nullopt;
    };
    click("READ_CONFIG");
    QCOMPARE(status()->text(), kReadSuccessful);
    QCOMPARE(control<SelectionList>(QStringLiteral("List5"))->position(), kModuleBlMrPosition); // register 2, not a copy of 1
}

// A read that fails at the back-light leaves the back-light code the one its list shows.
void TestPanelProtocol::readFailingAtBacklightKeepsItsCode()
{
    control<SelectionList>(QStringLiteral("List22"))->setPosition(4); // 60 %
    m_panel->script = [](ScriptedPanel::Kind kind, const QByteArray &bytes) -> std::optional<ScriptedPanel::Reply> {
        if (kind == ScriptedPanel::Read && bytes[2] == 9)
            return ScriptedPanel::Reply{"03"};
        return std::nullopt;
    };
    click("READ_CONFIG");
    QCOMPARE(status()->text(), kBadData);
    const SelectionList *backlight = control<SelectionList>(QStringLiteral("List22"));
    QCOMPARE(int(form->editor().blpercent()), backlight->itemDatum(backlight->position()));
}

void TestPanelProtocol::identityThatDoesNotFitIsNeverTheIdentity()
{
    click("READ_CONFIG"); // an earlier operation read 73
    m_panel->script = [](ScriptedPanel::Kind kind, const QByteArray &bytes) -> std::optional<ScriptedPanel::Reply> {
        if (kind == ScriptedPanel::Read && bytes[2] == 63)
            return ScriptedPanel::Reply{"99999990\r"};
        return std::nullopt;
    };
    m_panel->wire.clear();
    click("READ_CONFIG");
    QCOMPARE(m_dialogs.messages.size(), 1);
    QCOMPARE(m_dialogs.messages[0].title, kMismatchTitle);
    QVERIFY(!m_panel->wire.contains(readCmd(0)));
}

// Each read and write leaves its journal line; a write's snapshot is what SAVE CONFIGURATION FILE writes;
// with the tick the write first reads the panel, and only then writes, as it writes without it.
void TestPanelProtocol::windowKeepsHistory()
{
    QDir(History::defaultFolder()).removeRecursively(); // what the suite's other operations kept
    QTemporaryDir dir;
    QVERIFY(writeAll(dir.filePath(QStringLiteral("LOBBY.pnl")), test::lobbyWith({})));
    form->openFile(dir.filePath(QStringLiteral("LOBBY.pnl")));
    click("WRITE_CONFIG");
    const QByteArray plainWrite = m_panel->wire;
    m_dialogs.fileAnswers = {dir.filePath(QStringLiteral("saved.pnl"))};
    click("WRITE_FILE");
    click("READ_CONFIG");
    m_panel->script = [](ScriptedPanel::Kind kind, const QByteArray &bytes) -> std::optional<ScriptedPanel::Reply> {
        if (kind == ScriptedPanel::Read && bytes[2] == 2)
            return ScriptedPanel::Reply{"0010\r"};
        return std::nullopt;
    };
    click("WRITE_CONFIG");
    m_panel->script = nullptr;
    setBackupBeforeWrite(true);
    m_panel->wire.clear();
    click("WRITE_CONFIG");
    QCOMPARE(status()->text(), kProgrammed);

    QByteArray reads;
    for (int reg : {0, 1, 2, 3, 4, 5, 7, 8, 9})
        reads += readCmd(reg);
    const QByteArray identity = "A" + readCmd(63);
    QVERIFY(plainWrite.startsWith(identity));
    QCOMPARE(m_panel->wire, identity + reads + plainWrite.mid(identity.size()));

    const History history;
    QStringList told;
    for (const QJsonObject &line : journalEntries(history)) {
        told << QStringLiteral("%1 %2 %3").arg(line.value("command").toString()).arg(line.value("exit_code").toInt())
                    .arg(line.value("snapshot").isNull() ? "-" : "snapshot");
    }
    QCOMPARE(told, QStringList({"write 0 snapshot", "backup 0 snapshot", "write 2 -", "read 0 snapshot", "write 0 snapshot"}));
    const QString firstWrite = journalEntries(history).constLast().value("snapshot").toString();
    QVERIFY(firstWrite.endsWith(QStringLiteral("-write-LOBBY-ttyFAKE.pnl")));
    QCOMPARE(readAll(history.folder() + QLatin1Char('/') + firstWrite), readAll(dir.filePath(QStringLiteral("saved.pnl"))));

    // Untick the history and reads and writes keep nothing more.
    setHistoryKept(false);
    click("READ_CONFIG");
    click("WRITE_CONFIG");
    QCOMPARE(status()->text(), kProgrammed);
    setHistoryKept(true);
    setBackupBeforeWrite(false);
    QCOMPARE(journalEntries(History()).size(), told.size());
}

QTEST_MAIN(TestPanelProtocol)
#include "tst_panel_protocol.moc"
