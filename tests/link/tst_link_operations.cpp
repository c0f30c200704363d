// The panel link's whole-panel read and write against a scripted line, without a window: bytes on the
// wire, replies, retries and failure paths, with a short tick.
#include "link/line_log.h"
#include "link/panel_operations.h"
#include "link/panel_runs.h"
#include "link/protocol.h"
#include "link/read_reply.h"
#include "model/collecting_view.h"
#include "model/editor_model.h"
#include "model/status_texts.h"
#include "recording_host.h"
#include "scripted_panel.h"

#include <QtTest>
#include <memory>

using namespace panel;

Q_DECLARE_METATYPE(PanelOutcome)
Q_DECLARE_METATYPE(TraceLine)

namespace {

// Short enough for a quick suite; the rows that time a reply within a tick take the longer one.
constexpr int kTick = 5;
constexpr int kTimedTick = 40;

QByteArray readCmd(int reg) { return readCommand(quint8(reg)); }

QByteArray panelReads()
{
    QByteArray reads;
    for (int reg : {0, 1, 2, 3, 4, 5, 7, 8, 9})
        reads += readCmd(reg);
    return reads;
}

using Script = std::function<std::optional<ScriptedPanel::Reply>(ScriptedPanel::Kind, const QByteArray &)>;

// The reply to one register's read replaced.
Script readOf(int reg, const QByteArray &reply)
{
    return [reg, reply](ScriptedPanel::Kind kind, const QByteArray &bytes) -> std::optional<ScriptedPanel::Reply> {
        if (kind == ScriptedPanel::Read && bytes[2] == reg)
            return ScriptedPanel::Reply{reply};
        return std::nullopt;
    };
}

// What the trace of an operation says of each stretch of bytes, "→ " or "← " first.
QStringList meaningsOf(const LineLog &log)
{
    QStringList meanings;
    for (const TraceLine &line : log.operations().back().lines)
        meanings << (line.sent ? QStringLiteral("→ ") : QStringLiteral("← ")) + line.meaning;
    return meanings;
}

} // namespace

Q_DECLARE_METATYPE(Script)

class TestLinkOperations : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScriptedPanel> m_panel;
    std::unique_ptr<RecordingHost> m_host;
    CollectingView m_view;
    std::unique_ptr<EditorModel> m_editor;

    void useTick(int tick) { m_host = std::make_unique<RecordingHost>(tick); }
    PanelResult read() { return read_config(*m_host, *m_host, *m_panel, *m_editor); }
    PanelResult write() { return write_config(*m_host, *m_host, *m_panel, m_editor->gather_config()); }
    void allNotUsed()
    {
        for (int k = 0; k < kButtons; ++k)
            m_editor->setModulePosition(k, kModuleNaPosition);
    }

private slots:
    void init()
    {
        m_panel = std::make_unique<ScriptedPanel>();
        useTick(kTick);
        m_view = CollectingView();
        m_editor = std::make_unique<EditorModel>(m_view);
        m_editor->runStartUpSteps();
    }

    void commandBytes()
    {
        QCOMPARE(hailCommand(), QByteArray("A"));
        QCOMPARE(writeCommand(2, 13), QByteArray("S\x00\x02\x00\x0d" "D", 6));
        QCOMPARE(readCommand(63), QByteArray("V\x00\x3f" "00V", 6));
    }

    void replyValues_data()
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

    void replyValues()
    {
        QFETCH(QByteArray, reply);
        QFETCH(bool, fits);
        QFETCH(int, value);
        const ReplyValue result = replyValue(reply);
        QCOMPARE(result.fits, fits);
        if (fits)
            QCOMPARE(int(result.value), value);
    }

    void readReplyFraming_data()
    {
        using Chunks = QList<QPair<QByteArray, int>>; // bytes and the millisecond they arrived
        QTest::addColumn<Chunks>("chunks");
        QTest::addColumn<int>("tickMs"); // -1: the reply is whole before the tick
        QTest::addColumn<QByteArray>("reply");
        QTest::newRow("plain") << Chunks{{"0730\r", 6}} << -1 << QByteArray("0730\r");
        QTest::newRow("spaced, a byte at a time") << Chunks{{" ", 6}, {" 0", 7}, {"73", 9}, {"0\r", 11}} << -1
                                                  << QByteArray("  0730\r");
        QTest::newRow("long, line feed dropped") << Chunks{{"0730 OK\r\n", 6}} << -1 << QByteArray("0730 OK\r");
        QTest::newRow("late acknowledgement first") << Chunks{{"D00", 2}, {"0D", 3}, {"1590\r", 9}} << -1
                                                    << QByteArray("1590\r");
        QTest::newRow("line feed left by the last reply") << Chunks{{"\n", 1}, {"0100\r", 8}} << -1
                                                          << QByteArray("0100\r");
        QTest::newRow("whole without a line end") << Chunks{{"0730", 6}} << 100 << QByteArray("0730");
        QTest::newRow("cut off by the tick") << Chunks{{"  07", 99}} << 100 << QByteArray();
        QTest::newRow("still coming at the tick") << Chunks{{"  ", 97}, {"07", 99}} << 100 << QByteArray();
        QTest::newRow("only the start of an acknowledgement") << Chunks{{"D000", 40}} << 100 << QByteArray();
        QTest::newRow("nothing") << Chunks{} << 100 << QByteArray();
        QTest::newRow("three characters") << Chunks{{"073", 6}} << 100 << QByteArray("073");
    }

    void readReplyFraming()
    {
        using Chunks = QList<QPair<QByteArray, int>>;
        QFETCH(Chunks, chunks);
        QFETCH(int, tickMs);
        QFETCH(QByteArray, reply);
        constexpr qint64 kMs = 1'000'000;
        ReadReply frame;
        for (const auto &chunk : chunks)
            frame.add(chunk.first, chunk.second * kMs);
        QCOMPARE(frame.whole(), tickMs < 0);
        QCOMPARE(tickMs < 0 ? frame.reply() : frame.atTick(tickMs * kMs), reply);
    }

    void readTakesEveryRegister()
    {
        m_editor->setPanelNameText(QStringLiteral("OLD NAME"));
        QCOMPARE(read().outcome, PanelOutcome::Done);
        QCOMPARE(m_panel->wire, "A" + readCmd(63) + panelReads());
        QCOMPARE(m_host->statuses.constFirst(), QStringLiteral("STARTING COMMUNICATIONS TO READ SWITCH PANEL CONFIGURATION"));
        QCOMPARE(m_host->status(), kReadSuccessful);
        QCOMPARE(m_host->colour, kGreen);
        QCOMPARE(m_panel->closes, 1);
        QCOMPARE(m_editor->panelName(), QString());
        const int modules[kButtons] = {1, 2, kModuleBlMrPosition, kModuleNaPosition, kModuleNaPosition, kModuleNaPosition};
        for (int k = 0; k < kButtons; ++k) {
            QCOMPARE(m_editor->modulePosition(k), modules[k]);
            QCOMPARE(m_editor->designation(k), QString());
            QVERIFY(!m_editor->designationShown(k));
        }
        QCOMPARE(m_editor->channelPosition(0), 0); // code 0: "A", "1"
        QCOMPARE(m_editor->channelPosition(1), 2); // code 12: "B", "3"
        QVERIFY(!m_editor->channelListShown(2));
        QCOMPARE(m_editor->checkState(), 1);
        QCOMPARE(m_editor->feature(), qint16(1));
        QCOMPARE(m_editor->indicatorPosition(), 0); // 10: "100"
        QCOMPARE(m_editor->backlightPosition(), 5); // 3: "50"
        QCOMPARE(m_editor->blpercent(), qint16(3));
        QCOMPARE(m_view.messages(), QStringList());
    }

    void hailAnsweredOnThirdAttempt()
    {
        m_panel->script = [this](ScriptedPanel::Kind kind, const QByteArray &) -> std::optional<ScriptedPanel::Reply> {
            if (kind == ScriptedPanel::Hail && m_panel->hails < 3)
                return ScriptedPanel::Reply{};
            return std::nullopt;
        };
        QCOMPARE(read().outcome, PanelOutcome::Done);
        QVERIFY(m_panel->wire.startsWith("AAA" + readCmd(63)));
    }

    void lateDoubleAnswerIsRefused()
    {
        useTick(kTimedTick);
        // The first hail's answer comes after its wait has ended, together with the second one's.
        m_panel->script = [this](ScriptedPanel::Kind kind, const QByteArray &) -> std::optional<ScriptedPanel::Reply> {
            if (kind == ScriptedPanel::Hail && m_panel->hails == 1)
                return ScriptedPanel::Reply{};
            if (kind == ScriptedPanel::Hail && m_panel->hails == 2)
                return ScriptedPanel::Reply{"D000DD000D", kTimedTick / 2};
            return std::nullopt;
        };
        QCOMPARE(read().outcome, PanelOutcome::NoResponse);
        QCOMPARE(m_panel->wire, QByteArray("AA"));
        QCOMPARE(m_host->status(), kNoResponse);
        QCOMPARE(m_host->colour, kRed);
        QCOMPARE(m_panel->closes, 1);
    }

    void hailAnswerWithTheTickIsRefused()
    {
        // The answer to the first hail lands in the same event pass as the tick that ends its wait.
        bool answerWithTick = false;
        m_panel->script = [&](ScriptedPanel::Kind kind, const QByteArray &) -> std::optional<ScriptedPanel::Reply> {
            if (kind != ScriptedPanel::Hail || m_panel->hails > 1)
                return std::nullopt;
            answerWithTick = true;
            return ScriptedPanel::Reply{};
        };
        QObject::connect(&m_host->timer(), &QTimer::timeout, &m_panel->timerOwner, [&] {
            if (std::exchange(answerWithTick, false))
                m_panel->input += "D000D";
        });
        QCOMPARE(read().outcome, PanelOutcome::NoResponse);
        QCOMPARE(m_panel->wire, QByteArray("A"));
    }

    void silentPanelFailsAfterSixHails()
    {
        m_panel->script = [](ScriptedPanel::Kind, const QByteArray &) { return ScriptedPanel::Reply{}; };
        m_editor->setModulePosition(0, 3);
        m_editor->setPanelNameText(QStringLiteral("OLD NAME"));
        QCOMPARE(read().outcome, PanelOutcome::NoResponse);
        QCOMPARE(m_panel->wire, QByteArray("AAAAAA"));
        QCOMPARE(m_host->status(), kNoResponse);
        QCOMPARE(m_editor->modulePosition(0), 3);
        QCOMPARE(m_editor->panelName(), QString());
    }

    void readRegisterValues_data()
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
        QTest::newRow("spaced") << QByteArray("  1580\r") << 16 << 8 << ok;
        QTest::newRow("trailing text and CR LF") << QByteArray("1580 OK\r\n") << 16 << 8 << ok;
    }

    void readRegisterValues()
    {
        QFETCH(QByteArray, reply);
        QFETCH(int, module);
        QFETCH(int, channel);
        QFETCH(QString, finalStatus);
        m_panel->script = readOf(0, reply);
        read();
        QCOMPARE(m_host->status(), finalStatus);
        QCOMPARE(m_editor->modulePosition(0), module);
        if (module != 0)
            QCOMPARE(m_editor->channelPosition(0), channel);
        if (finalStatus == kBadData)
            QVERIFY(!m_panel->wire.contains(readCmd(1))); // the read stops at the failed register
    }

    // The window busy painting while a reply comes: when the time is up, what the system holds is the rest.
    void replyHeldByTheSystemAtTheTick()
    {
        m_panel->script = [this](ScriptedPanel::Kind kind, const QByteArray &bytes) -> std::optional<ScriptedPanel::Reply> {
            if (kind != ScriptedPanel::Read || bytes[2] != 0)
                return std::nullopt;
            m_panel->held = "010\r";
            return ScriptedPanel::Reply{"  0"};
        };
        QCOMPARE(read().outcome, PanelOutcome::Done);
        QCOMPARE(m_editor->channelPosition(0), 1); // 0010: "A", "2"
    }

    void shortIdentityReplyIsNeverStale_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::newRow("two characters") << QByteArray("07");
        QTest::newRow("the start of a late acknowledgement") << QByteArray("D000");
    }

    void shortIdentityReplyIsNeverStale()
    {
        QFETCH(QByteArray, reply);
        read(); // an earlier operation read good values, 73 among them
        m_panel->script = readOf(63, reply);
        m_panel->wire.clear();
        QCOMPARE(read().outcome, PanelOutcome::BadData);
        QCOMPARE(m_host->status(), kBadData);
        QCOMPARE(m_host->colour, kRed);
        QCOMPARE(m_panel->wire, "A" + readCmd(63));
        m_panel->wire.clear();
        QCOMPARE(write().outcome, PanelOutcome::BadData);
        QCOMPARE(m_panel->wire, "A" + readCmd(63));
        QCOMPARE(m_host->messages, QStringList());
    }

    void identityMismatch_data()
    {
        QTest::addColumn<bool>("writing");
        QTest::addColumn<QByteArray>("identity");
        QTest::addColumn<QString>("text");
        const QString read = kReadMismatch;
        const QString write = kWriteMismatch;
        QTest::newRow("read") << false << QByteArray("0740\r") << read;
        QTest::newRow("write") << true << QByteArray("0740\r") << write;
        QTest::newRow("a value beyond 16 bits is never the identity") << false << QByteArray("99999990\r") << read;
    }

    void identityMismatch()
    {
        QFETCH(bool, writing);
        QFETCH(QByteArray, identity);
        QFETCH(QString, text);
        allNotUsed();
        read(); // an earlier operation read 73
        m_panel->wire.clear();
        m_panel->script = readOf(63, identity);
        QCOMPARE(writing ? write().outcome : read().outcome, PanelOutcome::IdentityMismatch);
        QCOMPARE(m_host->messages, QStringList{kMismatchTitle + QLatin1Char('|') + text});
        QCOMPARE(m_panel->wire, "A" + readCmd(63));
        QCOMPARE(m_panel->closes, 2);
    }

    void writeStoresTenRegisters()
    {
        allNotUsed();
        m_editor->setModulePosition(2, 2); // SW3 on "B", "4": 13
        m_editor->setChannelPosition(2, 3);
        QCOMPARE(write().outcome, PanelOutcome::Done);
        const QList<QPair<int, int>> expected = {{0, 160}, {1, 160}, {2, 13}, {3, 160}, {4, 160},
                                                 {5, 160}, {6, 159}, {7, 0},  {8, 10},  {9, 10}};
        QCOMPARE(m_panel->writes, expected);
        QByteArray wire = "A" + readCmd(63);
        for (const auto &[reg, value] : expected)
            wire += writeCommand(quint8(reg), quint8(value)) + readCmd(reg);
        QCOMPARE(m_panel->wire, wire);
        QCOMPARE(m_host->statuses.constFirst(), QStringLiteral("STARTING COMMUNICATIONS TO WRITE SWITCH PANEL CONFIGURATION"));
        QCOMPARE(m_host->status(), kProgrammed);
        QCOMPARE(m_host->colour, kGreen);
        QCOMPARE(m_host->statuses.count(kCommunicationsOk), 11);
    }

    void verification_data()
    {
        QTest::addColumn<int>("channel"); // SW1 on module "H" (70): channel 3 gives 73, 4 gives 74
        QTest::addColumn<QByteArray>("readBack");
        QTest::addColumn<QString>("registerStatus");
        QTest::addColumn<QString>("finalStatus");
        QTest::newRow("0730 verifies 73") << 3 << QByteArray("0730\r") << "COMMUNICATIONS OK" << kProgrammed;
        QTest::newRow("0730 fails 74") << 4 << QByteArray("0730\r") << "DATA FAILED TO VERIFY" << kBadData;
        QTest::newRow("short read-back") << 3 << QByteArray("073") << "COMMUNICATIONS CORRUPTED" << kBadData;
        QTest::newRow("four-character read-back") << 3 << QByteArray("0730") << "COMMUNICATIONS OK" << kProgrammed;
        QTest::newRow("spaced read-back") << 3 << QByteArray("  0730\r") << "COMMUNICATIONS OK" << kProgrammed;
    }

    void verification()
    {
        QFETCH(int, channel);
        QFETCH(QByteArray, readBack);
        QFETCH(QString, registerStatus);
        QFETCH(QString, finalStatus);
        allNotUsed();
        m_editor->setModulePosition(0, 8);
        m_editor->setChannelPosition(0, channel);
        m_panel->script = readOf(0, readBack);
        write();
        const QStringList &statuses = m_host->statuses;
        QCOMPARE(statuses.value(statuses.indexOf(kCommunicationsOk) + 1), registerStatus);
        QCOMPARE(m_host->status(), finalStatus);
    }

    void failureAtRegisterFourLeavesTheRest()
    {
        allNotUsed();
        m_panel->script = [this](ScriptedPanel::Kind kind, const QByteArray &bytes) -> std::optional<ScriptedPanel::Reply> {
            if (kind == ScriptedPanel::Write && bytes[2] == 4) {
                m_panel->registers[4] = 7; // acknowledged, but stored wrong
                return ScriptedPanel::Reply{"D000D"};
            }
            return std::nullopt;
        };
        m_panel->registers.fill(99);
        m_panel->registers[63] = 73;
        const PanelResult done = write();
        QCOMPARE(done.outcome, PanelOutcome::BadData);
        QCOMPARE(m_host->colour, kRed);
        for (int reg = 0; reg < 4; ++reg) {
            QCOMPARE(m_panel->registers[reg], 160);
            QCOMPARE(done.registers[size_t(reg)], std::optional<qint16>(160));
        }
        QCOMPARE(m_panel->registers[4], 7);
        QCOMPARE(done.registers[4], std::optional<qint16>(7));
        for (int reg = 5; reg <= 9; ++reg) {
            QCOMPARE(m_panel->registers[reg], 99);
            QVERIFY(!done.registers[size_t(reg)]);
        }
        QVERIFY(!m_panel->wire.contains(writeCommand(5, 160)));
    }

    void incompleteConfigurationSendsNothing()
    {
        allNotUsed();
        m_editor->setModulePosition(1, 4); // SW2 on "D" without a channel
        QCOMPARE(write().outcome, PanelOutcome::Incomplete);
        QCOMPARE(m_panel->wire, QByteArray());
        QCOMPARE(m_panel->opens, 1);
        QCOMPARE(m_panel->closes, 1);
        QCOMPARE(m_host->status(), kIncompleteData);
        QCOMPARE(m_host->colour, kRed);
    }

    void portThatCannotOpen()
    {
        m_panel->openError = QStringLiteral("Permission denied");
        QCOMPARE(read().outcome, PanelOutcome::PortNotOpened);
        QCOMPARE(m_host->status(), QStringLiteral("COMMUNICATIONS FAILURE SERIAL PORT COULD NOT BE OPENED\n"
                                                  "/dev/ttyFAKE: Permission denied"));
        QCOMPARE(m_host->colour, kRed);
        QCOMPARE(m_panel->wire, QByteArray());
    }

    void brokenLineEndsTheOperation_data()
    {
        QTest::addColumn<bool>("writing");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("reg");
        QTest::addColumn<bool>("abandoned"); // rather than broken
        QTest::addColumn<bool>("replyWaiting");
        QTest::addColumn<PanelOutcome>("outcome");
        const int read = ScriptedPanel::Read;
        const int write = ScriptedPanel::Write;
        QTest::newRow("read, register 1") << false << read << 1 << false << false << PanelOutcome::BadData;
        QTest::newRow("read, last register, reply waiting") << false << read << 9 << false << true << PanelOutcome::BadData;
        QTest::newRow("write, last register, acknowledgement waiting")
            << true << write << 9 << false << true << PanelOutcome::BadData;
        QTest::newRow("write, last read-back, reply waiting") << true << read << 9 << false << true << PanelOutcome::BadData;
        QTest::newRow("abandoned at the last read-back, reply waiting")
            << true << read << 9 << true << true << PanelOutcome::Stopped;
        QTest::newRow("abandoned at the last read, reply waiting") << false << read << 9 << true << true << PanelOutcome::Stopped;
    }

    // A line that breaks, or an operation abandoned, never ends in success, even with a whole reply waiting.
    void brokenLineEndsTheOperation()
    {
        QFETCH(bool, writing);
        QFETCH(int, kind);
        QFETCH(int, reg);
        QFETCH(bool, abandoned);
        QFETCH(bool, replyWaiting);
        QFETCH(PanelOutcome, outcome);
        allNotUsed();
        m_panel->script = [&](ScriptedPanel::Kind sent, const QByteArray &bytes) -> std::optional<ScriptedPanel::Reply> {
            if (sent != kind || bytes[2] != reg)
                return std::nullopt;
            (abandoned ? m_host->abandoned : m_panel->broken) = true;
            return replyWaiting ? m_panel->standardReply(sent, bytes) : ScriptedPanel::Reply{};
        };
        QCOMPARE(writing ? write().outcome : read().outcome, outcome);
        QCOMPARE(m_host->status(), kBadData);
        QCOMPARE(m_panel->closes, 1);
    }

    // Stopped after the last register verified, a write has programmed the panel: it is not stopped.
    void abandonedInTheFinalPauseIsDone()
    {
        allNotUsed();
        m_host->onStatus = [this](const QString &) {
            if (m_host->statuses.count(kCommunicationsOk) == 1 + kConfigRegisters) // the identity, then each register
                m_host->abandoned = true;
        };
        QCOMPARE(write().outcome, PanelOutcome::Done);
        QCOMPARE(m_host->status(), kProgrammed);
        QCOMPARE(m_panel->writes.size(), kConfigRegisters);
    }

    void lateAcknowledgementIsNoReadReply_data()
    {
        QTest::addColumn<bool>("writing");
        QTest::addColumn<int>("reg");
        QTest::newRow("identity read") << false << 63;
        QTest::newRow("register read") << false << 4;
        QTest::newRow("read-back") << true << 4;
    }

    // An acknowledgement that comes late, just as a read is sent, is dropped; the read takes its own reply.
    void lateAcknowledgementIsNoReadReply()
    {
        QFETCH(bool, writing);
        QFETCH(int, reg);
        useTick(kTimedTick);
        allNotUsed();
        m_panel->script = [&](ScriptedPanel::Kind kind, const QByteArray &bytes) -> std::optional<ScriptedPanel::Reply> {
            if (kind != ScriptedPanel::Read || bytes[2] != reg)
                return std::nullopt;
            m_panel->input += "D000D";
            ScriptedPanel::Reply reply = m_panel->standardReply(kind, bytes);
            reply.delayMs = kTimedTick / 4;
            return reply;
        };
        QCOMPARE(writing ? write().outcome : read().outcome, PanelOutcome::Done);
        QCOMPARE(m_host->messages, QStringList());
        QCOMPARE(m_editor->modulePosition(4), kModuleNaPosition); // register 4 holds 160, not 0
    }

    // A reply sent twice must not be taken for the next register's: every later value would be one off.
    void repeatedReplyShiftsNothing()
    {
        useTick(kTimedTick);
        m_panel->script = [this](ScriptedPanel::Kind kind, const QByteArray &bytes) -> std::optional<ScriptedPanel::Reply> {
            if (kind == ScriptedPanel::Read && bytes[2] == 1) {
                const ScriptedPanel::Reply reply = m_panel->standardReply(kind, bytes);
                QTimer::singleShot(kTimedTick / 5, &m_panel->timerOwner, [this, reply] { m_panel->input += reply.bytes; });
                return reply;
            }
            return std::nullopt;
        };
        QCOMPARE(read().outcome, PanelOutcome::Done);
        QCOMPARE(m_editor->modulePosition(2), kModuleBlMrPosition); // register 2, not a copy of 1
    }

    // A read that fails at the back-light leaves the back-light code the one its list shows: 60 %, whose
    // code the next write sends.
    void readFailingAtBacklightKeepsItsCode()
    {
        m_editor->setBacklightPosition(4);
        m_panel->script = readOf(9, "03");
        QCOMPARE(read().outcome, PanelOutcome::BadData);
        QCOMPARE(m_editor->backlightPosition(), 4);
        QCOMPARE(m_editor->blpercent(), qint16(4));
        QCOMPARE(m_editor->gather_config().value_or(PanelConfig()).backlight, qint16(4));
    }

    void traceLineText_data()
    {
        QTest::addColumn<TraceLine>("line");
        QTest::addColumn<QString>("text");
        QTest::newRow("a read command") << TraceLine{12, true, readCmd(63), QStringLiteral("read r=63")}
                                        << QStringLiteral("   12 ms → 56 00 3F 30 30 56  V.?00V  read r=63");
        QTest::newRow("its reply") << TraceLine{27, false, QByteArray("0730\r"), QStringLiteral("read r=63 → 73")}
                                   << QStringLiteral("   27 ms ← 30 37 33 30 0D     0730.   read r=63 → 73");
        QTest::newRow("a percent sign is shown") << TraceLine{123456, false, QByteArray("%1"), QStringLiteral("unexpected")}
                                                 << QStringLiteral("123456 ms ← 25 31              %1      unexpected");
    }

    void traceLineText()
    {
        QFETCH(TraceLine, line);
        QFETCH(QString, text);
        QCOMPARE(panel::traceLineText(line), text);
    }

    // The monitor's lines of a read: the hail, the identity and every register, each reply with its value.
    void traceOfARead()
    {
        LineLog log;
        QCOMPARE(read_panel(*m_host, *m_host, *m_panel, *m_editor, QStringLiteral("read"), std::nullopt, &log).done.outcome,
                 PanelOutcome::Done);
        QCOMPARE(log.operations().size(), size_t(1));
        QCOMPARE(log.operations().back().port, QStringLiteral("/dev/ttyFAKE"));
        QStringList expected{QStringLiteral("→ hail"), QStringLiteral("← hail answered")};
        for (const int reg : {63, 0, 1, 2, 3, 4, 5, 7, 8, 9}) {
            expected << QStringLiteral("→ read r=%1").arg(reg)
                     << QStringLiteral("← read r=%1 → %2").arg(reg).arg(m_panel->registers[size_t(reg)]);
        }
        QCOMPARE(meaningsOf(log), expected);
        QByteArray sent;
        for (const TraceLine &line : log.operations().back().lines)
            sent += line.sent ? line.bytes : QByteArray();
        QCOMPARE(sent, m_panel->wire);
    }

    void lateAndUnexpectedReplies_data()
    {
        QTest::addColumn<QByteArray>("before");   // waiting on the line before the first hail
        QTest::addColumn<QByteArray>("again");    // sent once more, late, after the identity's reply
        QTest::addColumn<QStringList>("meanings"); // the first ones of the trace
        QTest::newRow("the identity's reply sent twice") << QByteArray() << QByteArray("0730\r")
            << QStringList{"→ hail", "← hail answered", "→ read r=63", "← read r=63 → 73", "← late", "→ read r=0"};
        QTest::newRow("a late acknowledgement") << QByteArray() << QByteArray("D000D")
            << QStringList{"→ hail", "← hail answered", "→ read r=63", "← read r=63 → 73", "← late", "→ read r=0"};
        QTest::newRow("noise before the hail's answer") << QByteArray("@#") << QByteArray()
            << QStringList{"→ hail", "← unexpected"};
    }

    void lateAndUnexpectedReplies()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, again);
        QFETCH(QStringList, meanings);
        m_panel->input = before;
        m_panel->script = [this, again](ScriptedPanel::Kind kind, const QByteArray &bytes) -> std::optional<ScriptedPanel::Reply> {
            if (kind == ScriptedPanel::Read && quint8(bytes[2]) == kIdentityRegister && !again.isEmpty())
                QTimer::singleShot(kTick / 2, Qt::PreciseTimer, &m_panel->timerOwner, [this, again] { m_panel->input += again; });
            return std::nullopt;
        };
        LineLog log;
        read_panel(*m_host, *m_host, *m_panel, *m_editor, QStringLiteral("read"), std::nullopt, &log);
        QCOMPARE(meaningsOf(log).mid(0, meanings.size()), meanings);
    }

    // After a failure, what the line showed of it, for the status's tooltip and the history.
    void failureExplained_data()
    {
        QTest::addColumn<bool>("write");
        QTest::addColumn<Script>("script");
        QTest::addColumn<QString>("explanation");
        const Script silent = [](ScriptedPanel::Kind, const QByteArray &) { return ScriptedPanel::Reply{}; };
        const Script noise = [](ScriptedPanel::Kind, const QByteArray &) { return ScriptedPanel::Reply{"D0"}; };
        const QString again = QStringLiteral(" Write again: the write starts again from register 0.");
        QTest::newRow("no answer, no byte") << false << silent
            << "No byte at all came back to the 6 hails: look at the cable, the serial port chosen and the panel's power.";
        QTest::newRow("no answer, some bytes") << false << noise
            << "6 bytes came back to the 3 hails, but not the answer \"D000D\": \"D0D0D0\" (44 30 44 30 44 30). A wrong "
               "baud rate, another device on the port or a panel answering twice sends such bytes.";
        QTest::newRow("read, out of range") << false << readOf(2, "1615\r")
            << "Register 2 failed: its reply was \"1615.\" (31 36 31 35 0D), worth 162, outside 0 to 160.";
        QTest::newRow("read, no reply") << false << readOf(4, QByteArray())
            << "Register 4 failed: no reply came.";
        QTest::newRow("read, identity cut short") << false << readOf(63, "07")
            << "The identity register 63 failed: its reply was \"07\" (30 37), which holds no value.";
        QTest::newRow("read, another panel") << false << readOf(63, "0740\r")
            << "The identity register 63 holds 74, not 73: \"0740.\" (30 37 34 30 0D).";
        QTest::newRow("write, read-back differs at register 4") << true << readOf(4, "0120\r")
            << "Registers 0 to 3 written and verified; register 4 was not: it read back as 12 instead of 160: "
               "\"0120.\" (30 31 32 30 0D). Registers 5 to 9 not written." + again;
        QTest::newRow("write, register 0 not acknowledged") << true
            << Script([](ScriptedPanel::Kind kind, const QByteArray &) -> std::optional<ScriptedPanel::Reply> {
                   if (kind == ScriptedPanel::Write)
                       return ScriptedPanel::Reply{"D00"};
                   return std::nullopt;
               })
            << "Register 0 was not: its write was not acknowledged (the reply was \"D00\" (44 30 30)). Registers 1 "
               "to 9 not written." + again;
        QTest::newRow("write, identity cut short") << true << readOf(63, "07")
            << "Nothing was written to the panel. The identity register 63 failed: its reply was \"07\" (30 37), "
               "which holds no value." + again;
        QTest::newRow("write, last read-back short") << true << readOf(9, "073")
            << "Registers 0 to 8 written and verified; register 9 was not: its read-back was too short: \"073\" "
               "(30 37 33)." + again;
    }

    void failureExplained()
    {
        QFETCH(bool, write);
        QFETCH(Script, script);
        QFETCH(QString, explanation);
        allNotUsed();
        m_panel->script = script;
        WriteOrder order;
        order.config = m_editor->gather_config();
        const PanelRun run = write ? write_panel(*m_host, *m_host, *m_panel, order)
                                   : read_panel(*m_host, *m_host, *m_panel, *m_editor);
        QCOMPARE(run.explanation, explanation);
        QCOMPARE(run.history.last().detail, explanation);
    }
};

QTEST_MAIN(TestLinkOperations)
#include "tst_link_operations.moc"
