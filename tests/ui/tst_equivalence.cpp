// The window and the command line's stand-in for it are one editor: random sequences of choices,
// typed texts, file opens and panel reads, applied to the window (rows and the box clicked, texts typed)
// and to the editor model with the command line's view, leave the same configuration in the controls
// as in the model, gather the same codes, and say the same messages in the same order.
#include "file/config_file_ops.h"
#include "model/collecting_view.h"
#include "model/panel_read.h"
#include "headless/job_host.h"
#include "idle_line.h"
#include "recording_dialogs.h"
#include "sample_record.h"
#include "window_controls.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

using namespace panel;
using test::heldBy;
using test::shownBy;

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
        // A fresh file each time: one truncated over and over is written out to the disk at each close.
        QFile::remove(path);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(test::lobbyWith(fields)) < 0)
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    // One step, the same on both sides: the window through its controls, clicked as the user clicks them,
    // the model directly. A hidden list takes no click, on either side.
    void step(WindowControls &window, EditorModel &model, JobHost &report)
    {
        const int k = pick(kButtons);
        switch (pick(12)) {
        case 0:
        case 1: {
            const int row = pick(kModuleRowCount);
            m_steps << QStringLiteral("module SW%1 %2").arg(k + 1).arg(row);
            WindowControls::clickRow(window.moduleList(k), row);
            model.setModulePosition(k, row);
            break;
        }
        case 2: {
            const int row = pick(kChannelRowCount);
            if (!window.channelList(k)->isVisible()) {
                m_steps << QStringLiteral("channel SW%1 hidden").arg(k + 1);
                break;
            }
            m_steps << QStringLiteral("channel SW%1 %2").arg(k + 1).arg(row);
            WindowControls::clickRow(window.channelList(k), row);
            model.setChannelPosition(k, row);
            break;
        }
        case 3:
        case 4: {
            const bool indicator = pick(2) == 0;
            const int row = pick(kIntensityRowCount);
            m_steps << QStringLiteral("%1 %2").arg(indicator ? "indicator" : "back-light").arg(row);
            WindowControls::clickRow(window.list(indicator ? 21 : 22), row);
            if (indicator)
                model.setIndicatorPosition(row);
            else
                model.setBacklightPosition(row);
            break;
        }
        case 5:
        case 6: {
            m_steps << QStringLiteral("box clicked");
            window.clickCheckBox();
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
        default: { // a panel read: the name cleared as it starts, then each register shown as it comes
            PanelConfig panel;
            for (int b = 0; b < kButtons; ++b)
                panel.code[b] = qint16(pick(4) ? pick(161) : 160 + pick(3));
            panel.feature = qint16(pick(3));
            panel.indicator = qint16(pick(11));
            panel.backlight = qint16(pick(11));
            const QList<int> values = registersOf(panel);
            QStringList texts;
            for (int value : values)
                texts << QString::number(value);
            m_steps << QStringLiteral("read %1").arg(texts.join(QLatin1Char(',')));
            for (EditorModel *editor : {&window.form->editor(), &model}) {
                editor->show_panel_name(QString());
                for (int reg : kReadRegisters)
                    show_register(*editor, reg, qint16(values[reg]));
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
            // What is compared is state, not pixels: a pressed box would repaint the whole window.
            window.form->setUpdatesEnabled(false);

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
