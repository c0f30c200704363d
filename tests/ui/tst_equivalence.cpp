// The window and the command line's stand-in for it are one editor: random sequences of choices,
// typed texts, file opens and panel reads, applied to the window (through its controls) and to the
// editor model with the command line's view, leave the same configuration in the controls as in the
// model, gather the same codes, and say the same messages in the same order.
#include "file/config_file_ops.h"
#include "model/collecting_view.h"
#include "headless/job_host.h"
#include "idle_line.h"
#include "recording_dialogs.h"
#include "sample_record.h"
#include "window_controls.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

using namespace panel;

namespace {

constexpr int kWindows = 20;
constexpr int kSequencesPerWindow = 150;
constexpr int kLongestSequence = 10;

QList<int> registersOf(const std::optional<PanelConfig> &config)
{
    QList<int> values;
    if (config) {
        for (qint16 value : config->registers())
            values << value;
    }
    return values;
}

// A button as a line: its positions, whether its channel list and designation are shown, and the text.
QString buttonLine(int k, int module, int channel, bool channelShown, const QString &designation, bool shown)
{
    return QStringLiteral("SW%1 %2/%3 %4 [%5] %6")
        .arg(k + 1)
        .arg(module)
        .arg(channel)
        .arg(channelShown ? "channel" : "-")
        .arg(designation)
        .arg(shown ? "shown" : "hidden");
}

QString lightingLine(const QString &name, int box, int indicator, int backlight)
{
    return QStringLiteral("name [%1] box %2 indicator %3 back-light %4").arg(name).arg(box).arg(indicator).arg(backlight);
}

// The configuration as the window's controls show it.
QStringList shownBy(const WindowControls &w)
{
    QStringList state;
    for (int k = 0; k < kButtons; ++k) {
        state << buttonLine(k, w.moduleList(k)->position(), w.channelList(k)->position(),
                            w.channelList(k)->isVisibleTo(w.form.get()), w.desig(k)->text(),
                            w.desig(k)->isVisibleTo(w.form.get()));
    }
    return state << lightingLine(w.text(2)->text(), w.check()->state(), w.list(21)->position(), w.list(22)->position());
}

// The same, as the model holds it.
QStringList heldBy(const EditorModel &e)
{
    QStringList state;
    for (int k = 0; k < kButtons; ++k) {
        state << buttonLine(k, e.modulePosition(k), e.channelPosition(k), e.channelListShown(k), e.designation(k),
                            e.designationShown(k));
    }
    return state << lightingLine(e.panelName(), e.checkState(), e.indicatorPosition(), e.backlightPosition());
}

} // namespace

class TestEquivalence : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QRandomGenerator m_random{20261208};
    QStringList m_steps; // of the sequence under way, to tell a failure

    int pick(int below) { return int(m_random.bounded(below)); }

    // A file as a technician might bring one: mostly sound, sometimes odd codes, flags and intensities,
    // sometimes not a panel file at all.
    QString randomFile()
    {
        static const int kCodes[] = {0, 9, 10, 13, 99, 150, 158, 159, 160, 161, 200, -1};
        QList<QPair<int, QByteArray>> fields;
        for (int k = 0; k < kButtons; ++k)
            fields.append({4 + 2 * k, QByteArray::number(pick(3) ? pick(161) : kCodes[pick(12)])});
        fields.append({17, QByteArray::number(pick(3))});
        fields.append({19, QByteArray::number(pick(12))});
        fields.append({21, QByteArray::number(pick(12))});
        if (pick(10) == 0)
            fields.append({1, "\"00-04412-mdl\""});
        const QString path = m_dir.filePath(QStringLiteral("random.pnl"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(test::lobbyWith(fields)) < 0)
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    // One step, the same on both sides: the window through its controls, the model directly.
    void step(WindowControls &window, EditorModel &model, JobHost &report)
    {
        const int k = pick(kButtons);
        switch (pick(12)) {
        case 0:
        case 1: {
            const int row = pick(19) - 1;
            m_steps << QStringLiteral("module SW%1 %2").arg(k + 1).arg(row);
            window.moduleList(k)->setPosition(row);
            model.setModulePosition(k, row);
            break;
        }
        case 2: {
            const int row = pick(11) - 1;
            m_steps << QStringLiteral("channel SW%1 %2").arg(k + 1).arg(row);
            window.channelList(k)->setPosition(row);
            model.setChannelPosition(k, row);
            break;
        }
        case 3:
        case 4: {
            const bool indicator = pick(2) == 0;
            const int row = pick(kIntensityRowCount);
            m_steps << QStringLiteral("%1 %2").arg(indicator ? "indicator" : "back-light").arg(row);
            window.list(indicator ? 21 : 22)->setPosition(row);
            if (indicator)
                model.setIndicatorPosition(row);
            else
                model.setBacklightPosition(row);
            break;
        }
        case 5: {
            const int state = pick(3); // 2: any non-zero state ticks
            m_steps << QStringLiteral("box set %1").arg(state);
            window.check()->setState(state);
            model.setCheckState(state);
            break;
        }
        case 6: {
            m_steps << QStringLiteral("box clicked");
            QTest::mouseClick(window.check(), Qt::LeftButton);
            model.setCheckState(model.checkState() == 0 ? 1 : 0);
            break;
        }
        case 7: {
            const QString typed = QStringLiteral("T%1").arg(pick(100));
            m_steps << QStringLiteral("typed SW%1 %2").arg(k + 1).arg(typed);
            WindowControls::type(window.desig(k), typed);
            model.setDesignationText(k, typed);
            if (pick(2) == 0) {
                WindowControls::type(window.text(2), typed);
                model.setPanelNameText(typed);
            }
            break;
        }
        case 8:
        case 9: {
            const QString path = randomFile();
            QFile file(path);
            file.open(QIODevice::ReadOnly);
            m_steps << QStringLiteral("open %1").arg(QString::fromLatin1(file.readAll().trimmed()));
            window.form->openFile(path);
            open_config_file_named(report, model, path);
            break;
        }
        default: { // a panel read, shown register by register as the read shows it
            NamedPanelConfig panel;
            for (int b = 0; b < kButtons; ++b)
                panel.config.code[b] = qint16(pick(4) ? pick(161) : 160 + pick(3));
            panel.config.feature = qint16(pick(3));
            panel.config.indicator = qint16(pick(11));
            panel.config.backlight = qint16(pick(11));
            QStringList values;
            for (int value : registersOf(panel.config))
                values << QString::number(value);
            m_steps << QStringLiteral("read %1").arg(values.join(QLatin1Char(',')));
            for (EditorModel *editor : {&window.form->editor(), &model}) {
                editor->show_panel_name(QString());
                for (int b = 0; b < kButtons; ++b) {
                    editor->show_switch_code(b, panel.config.code[b]);
                    editor->clear_designation(b);
                }
                editor->show_independent_lighting(panel.config.feature == 0 ? 0 : 1);
                editor->show_indicator_code(panel.config.indicator);
                editor->show_backlight_code(panel.config.backlight);
            }
            break;
        }
        }
    }

private slots:
    void windowAndCommandLineAgree()
    {
        int sequences = 0;
        int steps = 0;
        for (int w = 0; w < kWindows; ++w) {
            RecordingDialogs dialogs;
            IdleLine line;
            WindowControls window;
            window.form = std::make_unique<Form1>(dialogs, line);
            window.form->show();
            QVERIFY(QTest::qWaitForWindowExposed(window.form.get()));

            CollectingView messages;
            EditorModel model(messages);
            model.runStartUpSteps();
            JobHost report(messages);

            for (int s = 0; s < kSequencesPerWindow; ++s, ++sequences) {
                m_steps.clear();
                const int length = 1 + pick(kLongestSequence);
                for (int i = 0; i < length; ++i, ++steps)
                    step(window, model, report);
                QStringList said;
                for (const RecordingDialogs::Message &message : dialogs.messages)
                    said << message.text;
                const QString context = QStringLiteral("window %1, sequence %2: %3").arg(w).arg(s).arg(m_steps.join("; "));
                QVERIFY2(shownBy(window) == heldBy(model), qPrintable(context + "\n" + shownBy(window).join('\n')
                                                                       + "\n--\n" + heldBy(model).join('\n')));
                QVERIFY2(said == messages.messages(), qPrintable(context));
                QVERIFY2(registersOf(window.form->editor().gather_config()) == registersOf(model.gather_config()),
                         qPrintable(context));
            }
        }
        qInfo("%d sequences, %d steps", sequences, steps);
    }
};

QTEST_MAIN(TestEquivalence)
#include "tst_equivalence.moc"
