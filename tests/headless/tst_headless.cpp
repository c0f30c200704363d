// The command line's panel jobs against a scripted panel: they write exactly what the window writes
// for the same file, say what the window says, and end with the exit code of what happened.
#include "headless/panel_job.h"
#include "recording_dialogs.h"
#include "sample_record.h"
#include "scripted_panel.h"
#include "ui/form1.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace panel;
using test::lobbyWith;
using Command = JobRequest::Command;
using Registers = QList<QPair<int, int>>;

namespace {

Registers registersOf(const std::array<qint16, kConfigRegisters> &values)
{
    Registers writes;
    for (int r = 0; r < kConfigRegisters; ++r)
        writes.append({r, values[r]});
    return writes;
}

} // namespace

class TestHeadless : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString file(const QByteArray &bytes, const QString &name = QStringLiteral("in.pnl"))
    {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

private slots:
    // The window opens the file and writes; the command line writes the file: the same registers,
    // and the window's messages as the command line's warnings.
    void writesWhatTheWindowWrites_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("LOBBY") << lobbyWith({});
        QTest::newRow("codes of every kind") << lobbyWith({{4, "9"}, {6, "155"}, {8, "160"}, {10, "159"}, {12, "40"}, {14, "199"}});
        QTest::newRow("flag without BL/MR") << lobbyWith({{8, "160"}});
        QTest::newRow("flag 2") << lobbyWith({{17, "2"}});
        QTest::newRow("backlight above indicator") << lobbyWith({{19, "3"}, {21, "7"}});
        QTest::newRow("both messages") << lobbyWith({{8, "160"}, {19, "3"}, {21, "7"}});
        QTest::newRow("intensities out of range") << lobbyWith({{19, "0"}, {21, "11"}});
        QTest::newRow("words for numbers") << lobbyWith({{4, "WORD"}, {19, "x"}, {21, "y"}});
    }

    void writesWhatTheWindowWrites()
    {
        QFETCH(QByteArray, bytes);
        const QString path = file(bytes);

        RecordingDialogs dialogs;
        ScriptedPanel windowPanel;
        Form1 window(dialogs, windowPanel);
        window.openFile(path);
        window.findChild<QPushButton *>(QStringLiteral("WRITE_CONFIG"))->click();
        QStringList shown;
        for (const auto &m : dialogs.messages)
            shown << QString(m.text).replace(QChar(10), QChar(' '));

        ScriptedPanel linePanel;
        const JobResult result = runJob({Command::Write, path, {}}, linePanel);
        QCOMPARE(result.exitCode, int(kExitDone));
        QCOMPARE(result.result, QStringLiteral("SWITCH PANEL HAS BEEN PROGRAMMED"));
        QCOMPARE(linePanel.writes, windowPanel.writes);
        QCOMPARE(registersOf(*result.registers), linePanel.writes);
        QCOMPARE(result.warnings, shown);
    }

    void verifyTellsDifferences_data()
    {
        QTest::addColumn<Registers>("panelRegisters");
        QTest::addColumn<QStringList>("differences");
        QTest::newRow("same") << Registers{} << QStringList{};
        QTest::newRow("channel and back-light")
            << Registers{{1, 13}, {9, 4}}
            << QStringList{"SW2: panel B/4, file B/3", "back-light: panel 60 %, file 50 %"};
        QTest::newRow("module, lighting, indicator")
            << Registers{{0, 160}, {7, 0}, {8, 7}}
            << QStringList{"SW1: panel N/A, file A/1", "independent lighting: panel off, file on",
                           "indicator: panel 90 %, file 100 %"};
    }

    void verifyTellsDifferences()
    {
        QFETCH(Registers, panelRegisters);
        QFETCH(QStringList, differences);
        ScriptedPanel panel; // holds the LOBBY configuration
        for (const auto &reg : panelRegisters)
            panel.registers[reg.first] = reg.second;
        const JobResult result = runJob({Command::Verify, file(lobbyWith({})), {}}, panel);
        QCOMPARE(result.differences, differences);
        QCOMPARE(result.exitCode, differences.isEmpty() ? int(kExitDone) : int(kExitDifferences));
        QVERIFY(panel.writes.isEmpty());
    }

    void readThenVerify()
    {
        ScriptedPanel panel;
        panel.registers[1] = 47;
        const QString path = m_dir.filePath(QStringLiteral("EAST WING.pnl"));
        const JobResult read = runJob({Command::Read, path, {}}, panel);
        QCOMPARE(read.exitCode, int(kExitDone));
        QFile saved(path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), QByteArray("\"00-04412-MDL\",\"EAST WING\",\"\",0,\"\",47,\"\",159,\"\",160,\"\",160,"
                                             "\"\",160,159,\"feature\",1,\"ind%\",10,\"bl%\",3\r\n"));
        QCOMPARE(runJob({Command::Verify, path, {}}, panel).exitCode, int(kExitDone));
        QCOMPARE(runJob({Command::Read, path, QStringLiteral("LOBBY")}, panel).exitCode, int(kExitDone));
        QFile again(path); // the save replaced the file
        QVERIFY(again.open(QIODevice::ReadOnly));
        QVERIFY(again.readAll().startsWith("\"00-04412-MDL\",\"LOBBY\","));
    }

    void exitCodes_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("result");
        for (const Command command : {Command::Write, Command::Verify, Command::Read}) {
            const char *name = command == Command::Write ? "write" : command == Command::Verify ? "verify" : "read";
            QTest::addRow("%s silent", name) << int(command) << "silent" << int(kExitLineFailure)
                                             << "COMMUNICATIONS FAILURE SWITCH PANEL FAILED TO RESPOND";
            QTest::addRow("%s identity 74", name) << int(command) << "identity" << int(kExitOtherPanel)
                                                  << QStringLiteral("THE SWITCH PANEL THAT YOU HAVE ATTEMPTED TO %1 "
                                                                    "DOES NOT MATCH THIS CONFIGURATION PROGRAM")
                                                         .arg(command == Command::Write ? "WRITE DATA TO" : "READ DATA FROM");
            QTest::addRow("%s port", name) << int(command) << "port" << int(kExitPortFailure)
                                           << "COMMUNICATIONS FAILURE SERIAL PORT COULD NOT BE OPENED\n/dev/ttyFAKE: Permission denied";
        }
        QTest::newRow("write read-back differs") << int(Command::Write) << "readback" << int(kExitLineFailure)
                                                 << "COMMUNICATIONS FAILURE-BAD SWITCH PANEL DATA";
        QTest::newRow("write refused file") << int(Command::Write) << "file" << int(kExitFileFailure)
                                            << "FILE REFUSED: the model tag is not 00-04412-MDL";
        QTest::newRow("read into a folder") << int(Command::Read) << "folder" << int(kExitFileFailure) << "";
    }

    void exitCodes()
    {
        QFETCH(int, command);
        QFETCH(QString, fault);
        QFETCH(int, exitCode);
        QFETCH(QString, result);
        ScriptedPanel panel;
        panel.script = [&](ScriptedPanel::Kind kind, const QByteArray &bytes) -> std::optional<ScriptedPanel::Reply> {
            if (fault == "silent")
                return ScriptedPanel::Reply{};
            if (fault == "identity" && kind == ScriptedPanel::Read && bytes[2] == 63)
                return ScriptedPanel::Reply{"0740\r"};
            if (fault == "readback" && kind == ScriptedPanel::Read && bytes[2] == 2)
                return ScriptedPanel::Reply{"0010\r"};
            return std::nullopt;
        };
        if (fault == "port")
            panel.openError = QStringLiteral("Permission denied");
        QString path = file(fault == "file" ? lobbyWith({{1, "\"00-04412-mdl\""}}) : lobbyWith({}));
        if (fault == "folder")
            path = m_dir.path();
        const JobResult job = runJob({Command(command), path, {}}, panel);
        QCOMPARE(job.exitCode, exitCode);
        if (!result.isEmpty())
            QCOMPARE(job.result, result);
    }
};

QTEST_MAIN(TestHeadless)
#include "tst_headless.moc"
