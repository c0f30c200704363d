// Compare with panel: the panel read against the scripted line and told against the window, which keeps
// everything it shows, makes no undo step and runs no rule.
#include "model/status_texts.h"
#include "recording_dialogs.h"
#include "scripted_panel.h"
#include "ui/window_commands.h"
#include "window_controls.h"

#include <QMenu>
#include <QtTest>

using namespace panel;
using test::heldBy;
using test::shownBy;

using Registers = QList<QPair<int, int>>;

namespace {

constexpr int kShortTick = 5;

} // namespace

class TestCompare : public QObject, private WindowControls
{
    Q_OBJECT

    RecordingDialogs dialogs;
    std::unique_ptr<ScriptedPanel> line;

private slots:
    // The window shows what the scripted panel holds: read from it first.
    void init()
    {
        dialogs = RecordingDialogs();
        line = std::make_unique<ScriptedPanel>();
        form = std::make_unique<Form1>(dialogs, *line, kShortTick);
        form->commands().readConfig();
        QCOMPARE(status()->text(), kReadSuccessful);
        QVERIFY(dialogs.messages.isEmpty());
    }

    void cleanup()
    {
        form.reset();
        line.reset();
    }

    void compare_data()
    {
        QTest::addColumn<Registers>("panelHolds");
        QTest::addColumn<bool>("sw1Unfinished"); // the window's SW1 channel taken away
        QTest::addColumn<bool>("answers");
        QTest::addColumn<QString>("statusText");
        QTest::addColumn<quint32>("colour");
        QTest::addColumn<QStringList>("shown"); // the dialog's lines, then its title
        const QString title = QStringLiteral("Compare with panel");
        QTest::newRow("matching") << Registers{} << false << true << kMatchesWindow << kGreen
                                  << QStringList{"The panel holds what the window shows.", title};
        QTest::newRow("one difference") << Registers{{1, 13}} << false << true << kDiffersFromWindow << kRed
                                        << QStringList{"SW2: window B/3, panel B/4", title};
        QTest::newRow("every field different")
            << Registers{{0, 1}, {1, 159}, {2, 160}, {3, 0}, {4, 42}, {5, 159}, {7, 0}, {8, 4}, {9, 5}} << false << true
            << kDiffersFromWindow << kRed
            << QStringList{"SW1: window A/1, panel A/2", "SW2: window B/3, panel BL/MR", "SW3: window BL/MR, panel N/A",
                           "SW4: window N/A, panel A/1", "SW5: window N/A, panel E/3", "SW6: window N/A, panel BL/MR",
                           "independent lighting: window on, panel off", "indicator: window 100 %, panel 60 %",
                           "backlight: window 50 %, panel 70 %", title};
        QTest::newRow("a button the window has not chosen whole")
            << Registers{} << true << true << kDiffersFromWindow << kRed
            << QStringList{"SW1: window A/no channel, panel A/1", title};
        QTest::newRow("a panel of another model") << Registers{{63, 74}} << false << true << kMismatchTitle << kRed
                                                  << QStringList{kReadMismatch, kMismatchTitle};
        QTest::newRow("no answer") << Registers{} << false << false << kNoResponse << kRed << QStringList{};
    }

    void compare()
    {
        QFETCH(Registers, panelHolds);
        QFETCH(bool, sw1Unfinished);
        QFETCH(bool, answers);
        QFETCH(QString, statusText);
        QFETCH(quint32, colour);
        QFETCH(QStringList, shown);
        if (sw1Unfinished)
            editor().setChannelPosition(0, -1);
        ScriptedPanel &panel = *line;
        for (const auto &reg : panelHolds)
            panel.registers[size_t(reg.first)] = reg.second;
        if (!answers)
            panel.script = [](ScriptedPanel::Kind, const QByteArray &) { return ScriptedPanel::Reply{}; };
        const QStringList before = shownBy(*this);
        const EditorState held = editor().state();
        const int steps = editor().steps().count();
        panel.wire.clear();

        auto menu = form->windowMenu();
        menu->findChild<QAction *>(QStringLiteral("compareWithPanel"))->trigger();

        QCOMPARE(status()->text(), statusText);
        QCOMPARE(status()->colour(), colour);
        QStringList told;
        for (const RecordingDialogs::Message &message : std::as_const(dialogs.messages))
            told << message.text.split(QChar(10)) << message.title;
        QCOMPARE(told, shown);
        QCOMPARE(shownBy(*this), before);
        QCOMPARE(heldBy(editor()), before);
        QVERIFY(editor().state() == held);
        QCOMPARE(editor().steps().count(), steps);
        QVERIFY(!panel.wire.contains('S')); // nothing written
        if (answers)
            QVERIFY(panel.wire.startsWith("AV"));
    }
};

QTEST_MAIN(TestCompare)
#include "tst_compare.moc"
