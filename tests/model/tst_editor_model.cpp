// The selection rules on the editor model, without widgets: each row is a sequence of choices and
// shown configurations, then what the codes and the controls hold, and everything the model told its
// view in order: positions, lists shown or hidden, designations, messages, nesting included.
#include "model/editor_model.h"
#include "model/panel_read.h"
#include "model/selection_rules.h"

#include <QtTest>

using namespace panel;

namespace {

// Every change the model tells, as a short word: M3=17 (module list of SW3), C1=0, I=2, B=5, X=1,
// ch3- (channel list hidden), d2+[HALL] (designation shown), name[LOBBY], msg:lighting.
class RecordingView : public EditorView
{
public:
    void showPosition(EditorList list, int k, int position) override
    {
        static const char *const kLetters[] = {"M", "C", "I", "B"};
        const QString which = QLatin1String(kLetters[int(list)]);
        log << (list == EditorList::Module || list == EditorList::Channel ? which + QString::number(k + 1) : which)
                   + QLatin1Char('=') + QString::number(position);
    }
    void showCheckState(int state) override { log << QStringLiteral("X=%1").arg(state); }
    void showChannelList(int k, bool shown) override { log << QStringLiteral("ch%1%2").arg(k + 1).arg(shown ? '+' : '-'); }
    void showDesignation(int k, const QString &text, bool shown) override
    {
        log << QStringLiteral("d%1%2[%3]").arg(k + 1).arg(shown ? '+' : '-').arg(text);
    }
    void showPanelName(const QString &name) override { log << QStringLiteral("name[%1]").arg(name); }
    void message(const QString &text, const QString &title) override
    {
        const QString which = text == indicatorMessage()  ? QStringLiteral("indicator")
                              : text == backlightMessage() ? QStringLiteral("backlight")
                              : text == lightingMessage() && title == kLightingTitle ? QStringLiteral("lighting")
                                                                                     : QStringLiteral("other");
        log << QStringLiteral("msg:") + which;
        messages << which;
    }

    QStringList log;
    QStringList messages;
};

// "c1,c2,c3,c4,c5,c6,flag,indicator,backlight": a configuration as a file or the panel holds it.
NamedPanelConfig configOf(const QString &values)
{
    const QStringList v = values.split(QLatin1Char(','));
    NamedPanelConfig named;
    named.panel = QStringLiteral("P");
    for (int k = 0; k < kButtons; ++k) {
        named.config.code[k] = qint16(v[k].toInt());
        named.designation[k] = QStringLiteral("D%1").arg(k + 1);
    }
    named.config.feature = qint16(v[6].toInt());
    named.config.indicator = qint16(v[7].toInt());
    named.config.backlight = qint16(v[8].toInt());
    return named;
}

// What a panel read shows: the name cleared as it starts, then each register as it comes.
void showRead(EditorModel &editor, const PanelConfig &panel)
{
    editor.show_panel_name(QString());
    const std::array<qint16, kConfigRegisters> values = panel.registers();
    for (int reg : kReadRegisters)
        show_register(editor, reg, values[size_t(reg)]);
}

// Runs one action: m3=17, c1=0, i=2, b=5, x=1, file:..., read:..., and r7=2 or r0=none (one register as
// a read shows it, its value come whole or not).
void act(EditorModel &editor, const QString &action)
{
    if (action.startsWith(QLatin1String("file:")))
        return editor.show_named_config(configOf(action.mid(5)));
    if (action.startsWith(QLatin1String("read:")))
        return showRead(editor, configOf(action.mid(5)).config);
    const QString key = action.section(QLatin1Char('='), 0, 0);
    const QString given = action.section(QLatin1Char('='), 1);
    const int value = given.toInt();
    if (key.startsWith(QLatin1Char('r'))) {
        const bool came = given != QLatin1String("none");
        return show_register(editor, key.mid(1).toInt(), came ? std::optional<qint16>(value) : std::nullopt);
    }
    const int k = key.mid(1).toInt() - 1;
    if (key.startsWith(QLatin1Char('m')))
        editor.setModulePosition(k, value);
    else if (key.startsWith(QLatin1Char('c')))
        editor.setChannelPosition(k, value);
    else if (key == QLatin1String("i"))
        editor.setIndicatorPosition(value);
    else if (key == QLatin1String("b"))
        editor.setBacklightPosition(value);
    else if (key == QLatin1String("x"))
        editor.setCheckState(value);
    else
        qFatal("unknown action %s", qPrintable(action));
}

// The value a check names: s3, m3, c3 (codes), M3, C3, I, B, X (positions, box), ind, bl, feature,
// ch3 and d3 (shown or hidden), d3text, name.
QString valueOf(const EditorModel &e, const QString &key)
{
    const int k = key.right(1).toInt() - 1;
    if (key == QLatin1String("ind"))
        return QString::number(e.indpercent());
    if (key == QLatin1String("bl"))
        return QString::number(e.blpercent());
    if (key == QLatin1String("feature"))
        return QString::number(e.feature());
    if (key == QLatin1String("I"))
        return QString::number(e.indicatorPosition());
    if (key == QLatin1String("B"))
        return QString::number(e.backlightPosition());
    if (key == QLatin1String("X"))
        return QString::number(e.checkState());
    if (key == QLatin1String("name"))
        return e.panelName();
    if (key.startsWith(QLatin1String("ch")))
        return e.channelListShown(k) ? QStringLiteral("shown") : QStringLiteral("hidden");
    if (key.startsWith(QLatin1String("dtext")))
        return e.designation(k);
    if (key.startsWith(QLatin1Char('d')))
        return e.designationShown(k) ? QStringLiteral("shown") : QStringLiteral("hidden");
    if (key.startsWith(QLatin1Char('s')))
        return QString::number(e.button(k).s);
    if (key.startsWith(QLatin1Char('m')))
        return QString::number(e.button(k).m);
    if (key.startsWith(QLatin1Char('c')))
        return QString::number(e.button(k).c);
    if (key.startsWith(QLatin1Char('M')))
        return QString::number(e.modulePosition(k));
    if (key.startsWith(QLatin1Char('C')))
        return QString::number(e.channelPosition(k));
    qFatal("unknown key %s", qPrintable(key));
}

QStringList words(const char *text) { return QString::fromLatin1(text).split(QLatin1Char(' '), Qt::SkipEmptyParts); }

} // namespace

class TestEditorModel : public QObject
{
    Q_OBJECT

private slots:
    void startUp()
    {
        RecordingView view;
        EditorModel editor(view);
        QCOMPARE(editor.checkState(), 1); // built ticked
        editor.runStartUpSteps();
        QCOMPARE(view.log, words("X=0 I=0 B=0"));
        for (const QString &check : words("X=0 feature=0 I=0 B=0 ind=10 bl=10 M1=-1 C6=-1 ch1=shown d6=shown dtext1")) {
            const QString key = check.section(QLatin1Char('='), 0, 0);
            const QString expected = check.contains(QLatin1Char('=')) ? check.section(QLatin1Char('='), 1)
                                                                      : QStringLiteral("DESIGNATION ");
            QCOMPARE(valueOf(editor, key), expected);
        }
    }

    void rules_data()
    {
        QTest::addColumn<QStringList>("setUp");   // done first; must say nothing
        QTest::addColumn<QStringList>("actions"); // then these, recorded
        QTest::addColumn<QStringList>("log");     // what the view was told; empty: not compared; "nothing": nothing
        QTest::addColumn<QStringList>("checks");  // key=value afterwards

        const QStringList none;
        // The module rule.
        QTest::newRow("SW1 N/A") << none << words("m1=0") << words("M1=0 ch1-") << words("s1=160 ch1=hidden");
        QTest::newRow("SW1 BL/MR") << none << words("m1=17") << words("M1=17 ch1-") << words("s1=159 m1=0 c1=0");
        QTest::newRow("SW1 C") << none << words("m1=3") << words("M1=3 ch1+") << words("s1=20 m1=20 c1=0");
        QTest::newRow("SW2 B before a channel") << none << words("m2=2") << none << words("s2=10 m2=10 c2=0");
        QTest::newRow("SW5 D after channel 7") << words("c5=6") << words("m5=4") << none << words("s5=36 m5=30 c5=6");
        QTest::newRow("SW6 N/A after channel 7") << words("c6=6") << words("m6=0") << none << words("s6=160 c6=6 ch6=hidden");
        QTest::newRow("SW3 P and channel 10") << words("c3=9") << words("m3=16") << none << words("s3=159 m3=150 c3=9");
        QTest::newRow("the same row again") << words("m3=5") << words("m3=5") << words("M3=5 ch3+") << words("s3=40");
        QTest::newRow("no module") << words("m1=4") << words("m1=-1") << words("M1=-1") << words("s1=30 ch1=shown");
        // The channel rule adds whatever module datum is kept, and shows the designation.
        QTest::newRow("channel 4 of SW2") << words("m2=2 read:0,0,0,0,0,0,0,10,10 m2=2") << words("c2=3")
                                          << words("C2=3 d2+[]") << words("c2=3 s2=13 d2=shown");
        QTest::newRow("designation stays for N/A") << words("m2=2 c2=3") << words("m2=0") << words("M2=0 ch2-")
                                                   << words("s2=160 c2=3 d2=shown");
        QTest::newRow("channel after N/A adds the old module") << words("m1=5 m1=0") << words("c1=2") << none
                                                               << words("s1=42 m1=40");
        // The intensity rules.
        QTest::newRow("indicator below back-light") << words("b=1 i=1") << words("i=2") << words("I=2 msg:indicator B=2")
                                                    << words("I=2 B=2 ind=6 bl=6");
        QTest::newRow("indicator 30 below 100") << none << words("i=7") << words("I=7 msg:indicator B=7")
                                                << words("ind=1 bl=1");
        QTest::newRow("indicator raised") << words("b=3 i=3") << words("i=0") << words("I=0") << words("I=0 B=3 ind=10 bl=5");
        QTest::newRow("indicator equal") << words("b=3") << words("i=3") << words("I=3") << words("ind=5 bl=5");
        QTest::newRow("back-light above indicator") << words("b=4 i=4") << words("b=0") << words("B=0 msg:backlight B=4")
                                                    << words("B=4 ind=4 bl=4");
        QTest::newRow("back-light equal") << words("b=5 i=4") << words("b=4") << words("B=4") << words("bl=4");
        QTest::newRow("back-light lower") << words("b=2 i=2") << words("b=7") << words("B=7") << words("ind=6 bl=1");
        // Independent lighting.
        QTest::newRow("ticked without BL/MR") << words("m1=1 m4=0") << words("x=1") << words("X=1 msg:lighting X=0")
                                              << words("X=0 feature=0");
        QTest::newRow("ticked with BL/MR") << words("m3=17") << words("x=1") << words("X=1") << words("X=1 feature=1");
        QTest::newRow("any non-zero state ticks") << words("m3=17") << words("x=2") << words("X=1") << words("X=1 feature=1");
        QTest::newRow("the last BL/MR leaves") << words("m3=17 x=1") << words("m3=1")
                                               << words("M3=1 msg:lighting X=0 ch3+") << words("X=0 feature=0 M3=1 m3=0");
        QTest::newRow("another BL/MR keeps it") << words("m1=17 m4=17 x=1") << words("m1=0") << words("M1=0 ch1-")
                                                << words("X=1 feature=1");
        QTest::newRow("unticking never complains") << words("m6=17 x=1") << words("x=0") << words("X=0")
                                                   << words("feature=0");
        QTest::newRow("the state it has runs nothing") << none << words("x=0") << words("nothing") << words("feature=0");
        // An opened file.
        QTest::newRow("LOBBY opened")
            << none << words("file:0,12,159,160,160,160,1,10,3")
            << words("name[P] d1+[D1] M1=1 ch1+ C1=0 d1+[D1] d2+[D2] M2=2 ch2+ C2=2 d2+[D2] d3+[D3] M3=17 ch3- C3=2 "
                     "d3+[D3] d4+[D4] M4=0 ch4- C4=2 d4+[D4] d5+[D5] M5=0 ch5- C5=2 d5+[D5] d6+[D6] M6=0 ch6- C6=2 "
                     "d6+[D6] X=1 I=0 B=5")
            << words("X=1 feature=1 ind=10 bl=3 s2=12 name=P");
        QTest::newRow("file flag 1 without BL/MR")
            << none << words("file:0,0,0,0,0,0,1,10,10") << none << words("X=0 feature=0");
        QTest::newRow("file flag 2 unticks") << words("m1=17 x=1") << words("file:159,0,0,0,0,0,2,10,10") << none
                                             << words("X=0 feature=0");
        QTest::newRow("file flag 0 into a ticked window") << words("m1=17 x=1") << words("file:159,0,0,0,0,0,0,10,10")
                                                          << none << words("X=0 feature=0");
        QTest::newRow("file back-light above indicator") << none << words("file:0,0,0,0,0,0,0,3,5") << none
                                                         << words("I=5 B=5 ind=3 bl=3");
        QTest::newRow("file intensities out of range") << words("b=3 i=3") << words("file:0,0,0,0,0,0,0,0,11") << none
                                                       << words("I=0 B=0 ind=10 bl=10");
        QTest::newRow("file P channel 10 is BL/MR") << none << words("file:159,0,0,0,0,0,0,10,10") << none
                                                    << words("M1=17 C1=0 s1=0 ch1=hidden");
        // A panel read.
        QTest::newRow("read BL/MR in register 0") << none << words("read:159,0,0,0,0,0,0,10,10") << none
                                                  << words("M1=17 ch1=hidden d1=hidden dtext1= name=");
        QTest::newRow("read flag 2 without BL/MR") << none << words("read:0,0,0,0,0,0,2,10,10") << none
                                                   << words("X=0 feature=0");
        QTest::newRow("read flag 2 with BL/MR") << none << words("read:159,0,0,0,0,0,2,10,10") << none
                                               << words("X=1 feature=1");
        QTest::newRow("read back-light above indicator") << none << words("read:0,0,0,0,0,0,0,3,5") << none
                                                         << words("I=5 B=5 ind=3 bl=3");
        QTest::newRow("read indicator 0") << none << words("read:0,0,0,0,0,0,0,0,10") << none << words("I=0 ind=10");
        // One register as a read shows it: a value out of range still reaches the lists, one that did not come
        // whole reaches none; a button's designation is cleared either way.
        QTest::newRow("register 2 beyond N/A") << words("m3=3 c3=4") << words("r2=200") << none
                                               << words("M3=0 ch3=hidden d3=hidden dtext3=");
        QTest::newRow("register 0 not come") << words("m1=3 c1=4") << words("r0=none") << words("d1-[]")
                                             << words("M1=3 C1=4 s1=24");
        QTest::newRow("register 7 not come") << words("m1=17 x=1") << words("r7=none") << words("nothing")
                                             << words("X=1");
        QTest::newRow("register 8 not come") << words("b=3 i=3") << words("r8=none") << words("nothing")
                                             << words("I=3 ind=5");
        QTest::newRow("register 9 not come") << words("b=3") << words("r9=none") << words("nothing") << words("B=3");
        QTest::newRow("read leaves no BL/MR under a ticked box") << words("m2=17 x=1") << words("read:0,0,0,0,0,0,1,10,10")
                                                                 << none << words("X=0 feature=0");
    }

    void rules()
    {
        QFETCH(QStringList, setUp);
        QFETCH(QStringList, actions);
        QFETCH(QStringList, log);
        QFETCH(QStringList, checks);

        RecordingView view;
        EditorModel editor(view);
        editor.runStartUpSteps();
        for (const QString &action : setUp)
            act(editor, action);
        QCOMPARE(view.messages, QStringList());
        view.log.clear();
        for (const QString &action : actions)
            act(editor, action);
        if (log == QStringList{QStringLiteral("nothing")})
            QCOMPARE(view.log, QStringList());
        else if (!log.isEmpty())
            QCOMPARE(view.log, log);
        for (const QString &check : checks)
            QCOMPARE(valueOf(editor, check.section(QLatin1Char('='), 0, 0)), check.section(QLatin1Char('='), 1));
        // Whatever the rules did, the codes are those the controls show.
        QCOMPARE(int(editor.feature()), editor.checkState());
        QCOMPARE(editor.indpercent(), intensityRows()[editor.indicatorPosition()].datum);
        QCOMPARE(editor.blpercent(), intensityRows()[editor.backlightPosition()].datum);
    }

    void messagesInOrder()
    {
        RecordingView view;
        EditorModel editor(view);
        editor.runStartUpSteps();
        // A file with both faults: the lighting message while the buttons are shown, then the back-light one.
        editor.show_named_config(configOf(QStringLiteral("0,0,0,0,0,0,1,3,7")));
        QCOMPARE(view.messages, QStringList({"lighting", "backlight"}));
    }

    void gather_data()
    {
        QTest::addColumn<QStringList>("actions");
        QTest::addColumn<QString>("registers"); // empty: incomplete
        QTest::newRow("start") << QStringList{} << "";
        QTest::newRow("all N/A") << words("m1=0 m2=0 m3=0 m4=0 m5=0 m6=0") << "160 160 160 160 160 160 159 0 10 10";
        QTest::newRow("SW3 B 4") << words("m1=0 m2=0 m3=2 c3=3 m4=0 m5=0 m6=0") << "160 160 13 160 160 160 159 0 10 10";
        QTest::newRow("SW2 D without channel") << words("m1=0 m2=4 m3=0 m4=0 m5=0 m6=0") << "";
        QTest::newRow("LOBBY") << words("file:0,12,159,160,160,160,1,10,3") << "0 12 159 160 160 160 159 1 10 3";
    }

    void gather()
    {
        QFETCH(QStringList, actions);
        QFETCH(QString, registers);
        RecordingView view;
        EditorModel editor(view);
        editor.runStartUpSteps();
        for (const QString &action : actions)
            act(editor, action);
        const std::optional<NamedPanelConfig> named = editor.gather_named_config();
        QCOMPARE(named.has_value(), !registers.isEmpty());
        if (!named)
            return;
        QStringList values;
        for (qint16 value : named->config.registers())
            values << QString::number(value);
        QCOMPARE(values.join(QLatin1Char(' ')), registers);
    }

    // One step undone brings back exactly the state before it, codes included, and one redone the state
    // after it; neither runs a rule nor says anything. A grouped step (a READ, an OPEN) is one, however it ended.
    void undoAndRedo_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QStringList>("step");
        QTest::addColumn<bool>("grouped");
        QTest::addColumn<QString>("undoText");
        QTest::newRow("a choice whose rule unticks the box") << QStringList{"m1=17", "x=1"} << QStringList{"m1=1"}
                                                             << false << "SW1 module";
        QTest::newRow("an indicator that pulls the back-light down") << QStringList{"i=1", "b=1"} << QStringList{"i=4"}
                                                                    << false << "indicator intensity";
        QTest::newRow("typing in a box, one step") << QStringList{"m2=3", "c2=1"} << QStringList{"t2=H", "t2=HA", "t2=HAL"}
                                                   << false << "SW2 designation";
        QTest::newRow("OPEN") << QStringList{"m1=17", "x=1", "t3=OLD"} << QStringList{"file:12,159,0,160,160,160,1,3,5"}
                              << true << "OPEN";
        QTest::newRow("READ stopped half-way") << QStringList{"m4=2", "c4=5", "b=3"}
                                               << QStringList{"name=", "r0=159", "r1=10", "r2=none"} << true << "READ";
    }

    void undoAndRedo()
    {
        QFETCH(QStringList, before);
        QFETCH(QStringList, step);
        QFETCH(bool, grouped);
        QFETCH(QString, undoText);
        RecordingView view;
        EditorModel editor(view);
        editor.runStartUpSteps();
        const auto run = [&editor](const QString &action) {
            if (action.startsWith(QLatin1Char('t')))
                editor.setDesignationText(action.mid(1, 1).toInt() - 1, action.section(QLatin1Char('='), 1));
            else if (action.startsWith(QLatin1String("name=")))
                editor.show_panel_name(action.mid(5));
            else
                act(editor, action);
        };
        for (const QString &action : before)
            run(action);
        const EditorState earlier = editor.state();
        if (grouped)
            editor.beginStep(undoText);
        for (const QString &action : step)
            run(action);
        if (grouped)
            editor.endStep();
        const EditorState later = editor.state();
        QVERIFY(later != earlier);
        QCOMPARE(editor.steps().undoText(), undoText);
        const qsizetype said = view.messages.size();

        editor.steps().undo();
        QVERIFY(editor.state() == earlier);
        editor.steps().redo();
        QVERIFY(editor.state() == later);
        editor.steps().undo();
        QVERIFY(editor.state() == earlier);
        QCOMPARE(view.messages.size(), said);
        QCOMPARE(editor.modulePosition(0), earlier.module[0]); // and the view was told: the last word is the state
        QVERIFY(view.log.contains(QStringLiteral("M1=%1").arg(earlier.module[0])));
    }

    // The configuration counts as changed until it is back as it was last marked, by whatever way.
    void changedSinceMarked()
    {
        RecordingView view;
        EditorModel editor(view);
        editor.runStartUpSteps();
        QVERIFY(!editor.changedSinceMarked());
        editor.setModulePosition(0, 3);
        QVERIFY(editor.changedSinceMarked());
        editor.steps().undo();
        QVERIFY(!editor.changedSinceMarked());
        editor.setPanelNameText(QStringLiteral("LOBBY"));
        editor.markUnchanged();
        QVERIFY(!editor.changedSinceMarked());
        editor.setPanelNameText(QStringLiteral("LOBB"));
        QVERIFY(editor.changedSinceMarked());
        editor.setPanelNameText(QStringLiteral("LOBBY"));
        QVERIFY(!editor.changedSinceMarked());
    }
};

QTEST_GUILESS_MAIN(TestEditorModel)
#include "tst_editor_model.moc"
