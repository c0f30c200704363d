// The window's panel operations against a scripted line: what the window shows of them, one command at a
// time, closing the window during one, and the history they keep.
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

// A short tick keeps the suite quick; the scripted panel answers at once.
constexpr int kWindowTick = 20;

} // namespace

class TestPanelProtocol : public QObject, private WindowControls
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void readShowsThePanel();
    void brokenLineEndsTheOperation_data();
    void brokenLineEndsTheOperation();
    void secondCommandIsIgnoredWhileWaiting();
    void closingTheWindowEndsTheOperation_data();
    void closingTheWindowEndsTheOperation();
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
    form = std::make_unique<Form1>(m_dialogs, *m_panel, kWindowTick);
    m_statusHistory.clear();
    connect(status(), &QPlainTextEdit::textChanged, this, [this] { m_statusHistory << status()->text(); });
}

void TestPanelProtocol::cleanup()
{
    form.reset();
    m_panel.reset();
}

void TestPanelProtocol::readShowsThePanel()
{
    type(control<QLineEdit>(QStringLiteral("Text2")), QStringLiteral("OLD NAME"));
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

void TestPanelProtocol::brokenLineEndsTheOperation_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("reg");
    QTest::addColumn<bool>("closeWindow"); // abandoned rather than broken
    QTest::addColumn<bool>("replyWaiting");
    QTest::newRow("line broken at register 1") << "READ_CONFIG" << int(ScriptedPanel::Read) << 1 << false << false;
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

void TestPanelProtocol::secondCommandIsIgnoredWhileWaiting()
{
    bool clicked = false;
    m_panel->script = [&](ScriptedPanel::Kind kind, const QByteArray &bytes) -> std::optional<ScriptedPanel::Reply> {
        if (kind == ScriptedPanel::Read && bytes[2] == 2 && !clicked) {
            clicked = true;
            QTimer::singleShot(10, this, [this] {
                click("WRITE_CONFIG");
                editor().setIndicatorPosition(3); // rules still work meanwhile
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
            QTimer::singleShot(kWindowTick / 2, form.get(), [&] {
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
