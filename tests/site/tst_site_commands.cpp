// --site and --report on a site and its history: the lines printed, the report's CSV, HTML and PDF (read
// back with pdftotext), --since, an existing output, a bad folder and a history that cannot be read.
#include "file/history.h"
#include "files.h"
#include "headless/report_command.h"
#include "headless/site_listing.h"
#include "headless/text_output.h"
#include "site_history.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QtTest>

using namespace panel;
using namespace panel::test;

namespace {

const QDateTime kStart(QDate(2026, 12, 8), QTime(9, 0, 0), Qt::UTC);

// A site of three panels and a refused file: LOBBY verified, HALL written, STAIRS never written.
struct Site {
    QTemporaryDir dir;
    QString folder = dir.filePath(QStringLiteral("site"));
    History history{dir.filePath(QStringLiteral("history"))};

    bool make()
    {
        NamedPanelConfig hall = sitePanel(QStringLiteral("HALL"), 7);
        hall.designation[0] = QStringLiteral("DOOR, EAST");
        return saveSitePanel(folder, QStringLiteral("LOBBY.pnl"), sitePanel(QStringLiteral("LOBBY")))
            && saveSitePanel(folder, QStringLiteral("floor1/HALL.pnl"), hall)
            && saveSitePanel(folder, QStringLiteral("floor1/STAIRS.pnl"), sitePanel(QStringLiteral("STAIRS")))
            && writeAll(folder + QStringLiteral("/floor1/BAD.pnl"), "\"00-04412-MDL\"\r\n")
            && keepOperations(history, sitePanel(QStringLiteral("LOBBY")), {"write:same", "verify:same"}, kStart)
            && keepOperations(history, hall, {"write:same"}, kStart.addDays(1));
    }
};

// What a command printed on its standard output and error.
struct Printed {
    QTemporaryFile outFile;
    QTemporaryFile errFile;
    std::unique_ptr<TextOutput> out;
    std::unique_ptr<TextOutput> err;

    Printed()
    {
        if (outFile.open() && errFile.open()) {
            out = std::make_unique<TextOutput>(outFile.handle());
            err = std::make_unique<TextOutput>(errFile.handle());
        }
    }
    QStringList outLines() const { return QString::fromUtf8(readAll(outFile.fileName())).split('\n', Qt::SkipEmptyParts); }
    QString errText() const { return QString::fromUtf8(readAll(errFile.fileName())); }
};

QString pdfText(const QString &path)
{
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    return pdftotext.waitForFinished(30000) ? QString::fromUtf8(pdftotext.readAllStandardOutput()) : QString();
}

} // namespace

class TestSiteCommands : public QObject
{
    Q_OBJECT

private slots:
    void siteListing_data()
    {
        QTest::addColumn<bool>("json");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("text") << false
                              << QStringList{"LOBBY.pnl  \"LOBBY\"  verified  2026-12-08 09:01:00 +00:00  /dev/ttyUSB0",
                                             "floor1/BAD.pnl  refused: The file ends before field 2 of 21 is complete.",
                                             "floor1/HALL.pnl  \"HALL\"  written  2026-12-09 09:00:00 +00:00  /dev/ttyUSB0",
                                             "floor1/STAIRS.pnl  \"STAIRS\"  not written",
                                             "4 panels: 1 verified, 1 written, 1 not written, 1 refused"};
        QTest::newRow("json") << true
                              << QStringList{R"({"command":"verify","file":"LOBBY.pnl","panel_name":"LOBBY","port":"/dev/ttyUSB0","result":"SWITCH PANEL MATCHES THE FILE","state":"verified","time":"2026-12-08T09:01:00.000Z"})",
                                             R"({"file":"floor1/BAD.pnl","refusal":"The file ends before field 2 of 21 is complete.","state":"refused"})",
                                             R"({"command":"write","file":"floor1/HALL.pnl","panel_name":"HALL","port":"/dev/ttyUSB0","result":"SWITCH PANEL HAS BEEN PROGRAMMED","state":"written","time":"2026-12-09T09:00:00.000Z"})",
                                             R"({"file":"floor1/STAIRS.pnl","panel_name":"STAIRS","state":"not written"})",
                                             R"({"summary":"4 panels: 1 verified, 1 written, 1 not written, 1 refused"})"};
    }
    void siteListing()
    {
        QFETCH(bool, json);
        QFETCH(QStringList, lines);
        qputenv("TZ", "UTC");
        Site site;
        QVERIFY(site.make());
        Printed printed;
        QCOMPARE(listSite(site.folder, site.history, json, QDateTime(), *printed.out, *printed.err), int(kExitDone));
        QCOMPARE(printed.outLines(), lines);
        QCOMPARE(printed.errText(), QString());
    }

    void badSiteFolder()
    {
        QTemporaryDir dir;
        Printed printed;
        QCOMPARE(listSite(dir.filePath("NONE"), History(dir.filePath("history")), false, QDateTime(), *printed.out, *printed.err),
                 int(kExitFileFailure));
        QCOMPARE(printed.errText(), QStringLiteral("panelconfig: %1 does not exist\n").arg(dir.filePath("NONE")));
        QVERIFY(printed.outLines().isEmpty());
    }

    // The CSV's rows agree with the history, a comma in a text quoted; --since leaves out what came before.
    void csvReport_data()
    {
        QTest::addColumn<QDateTime>("since");
        QTest::addColumn<QStringList>("states");
        QTest::addColumn<QString>("hallWritten");
        QTest::newRow("whole history") << QDateTime() << QStringList{"verified", "written", "not written"}
                                       << "2026-12-09 09:00:00 +00:00";
        QTest::newRow("since the second day") << kStart.addDays(1) << QStringList{"not written", "written", "not written"}
                                              << "2026-12-09 09:00:00 +00:00";
    }
    void csvReport()
    {
        QFETCH(QDateTime, since);
        QFETCH(QStringList, states);
        QFETCH(QString, hallWritten);
        qputenv("TZ", "UTC");
        Site site;
        QVERIFY(site.make());
        ReportRequest request{site.dir.filePath(QStringLiteral("report.csv")), site.folder, since, false};
        Printed printed;
        QCOMPARE(writeReport(request, site.history, *printed.out, *printed.err), int(kExitDone));
        const QList<QByteArray> rows = readAll(request.path).split('\n');
        QCOMPARE(rows.size(), 6); // the column names, four files, and the end of the last line
        QVERIFY(rows[0].startsWith("file,panel name,state,SW1 designation,SW1 assignment,"));
        for (const QByteArray &row : rows.first(5))
            QVERIFY(row.endsWith('\r'));
        QVERIFY(rows[1].startsWith("LOBBY.pnl,LOBBY," + states[0].toUtf8() + ",ENTRY,\"module A, channel 1\",HALL,"));
        QVERIFY(rows[2].startsWith("floor1/BAD.pnl,,refused: "));
        QVERIFY2(rows[3].startsWith("floor1/HALL.pnl,HALL," + states[1].toUtf8() + ",\"DOOR, EAST\",\"module A, channel 8\","),
                 rows[3].constData());
        QVERIFY(rows[3].contains("," + hallWritten.toUtf8() + ",/dev/ttyUSB0,SWITCH PANEL HAS BEEN PROGRAMMED,"));
        QVERIFY(rows[4].startsWith("floor1/STAIRS.pnl,STAIRS," + states[2].toUtf8() + ","));
        QCOMPARE(printed.outLines().value(0), request.path + QStringLiteral(": 4 panels: ") +
                     (since.isValid() ? "1 written, 2 not written, 1 refused" : "1 verified, 1 written, 1 not written, 1 refused"));
    }

    // pdftotext finds the title block, every panel with its designations and state, and the summary; the HTML
    // holds the same.
    void pdfAndHtmlReport()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        Site site;
        QVERIFY(site.make());
        Printed printed;
        ReportRequest request{site.dir.filePath(QStringLiteral("report.pdf")), site.folder, QDateTime(), false};
        QCOMPARE(writeReport(request, site.history, *printed.out, *printed.err), int(kExitDone));
        const QString text = pdfText(request.path).simplified();
        request.path = site.dir.filePath(QStringLiteral("report.html"));
        QCOMPARE(writeReport(request, site.history, *printed.out, *printed.err), int(kExitDone));
        const QString html = QString::fromUtf8(readAll(request.path));
        for (const QString &expected :
             {QStringLiteral("Handover report"), QStringLiteral("Site %1").arg(QDir(site.folder).absolutePath()),
              QStringLiteral("Program panelconfig"), QStringLiteral("LOBBY verified SW1 ENTRY: module A,"),
              QStringLiteral("SW3 STAIRS: BL/MR"), QStringLiteral("verify matched"), QStringLiteral("HALL"),
              QStringLiteral("SW1 DOOR, EAST:"), QStringLiteral("STAIRS not written"), QStringLiteral("floor1/STAIRS.pnl"),
              QStringLiteral("Panels: 4. Written: 1. Verified: 1. Not yet done: 2. Failed: 0.")})
            QVERIFY2(text.contains(expected), qPrintable(expected + QStringLiteral(" not in: ") + text));
        QVERIFY(html.contains(QStringLiteral("<td>LOBBY<br>LOBBY.pnl</td><td>verified</td>")));
    }

    // An existing report is kept without force and replaced with it; a history that cannot be read gives a
    // report of unknown states, with a warning.
    void existingOutputAndUnreadableHistory()
    {
        Site site;
        QVERIFY(site.make());
        const QString path = site.dir.filePath(QStringLiteral("report.csv"));
        QVERIFY(writeAll(path, "kept"));
        Printed printed;
        ReportRequest request{path, site.folder, QDateTime(), false};
        QCOMPARE(writeReport(request, site.history, *printed.out, *printed.err), int(kExitFileFailure));
        QCOMPARE(readAll(path), QByteArray("kept"));
        QVERIFY(printed.errText().contains(QStringLiteral("(--force replaces it)")));
        request.force = true;
        const History unreadable(site.dir.filePath(QStringLiteral("site/LOBBY.pnl"))); // a file, not a folder
        QCOMPARE(writeReport(request, unreadable, *printed.out, *printed.err), int(kExitDone));
        QVERIFY(printed.errText().contains(QStringLiteral("panelconfig: warning: the history cannot be read")));
        const QList<QByteArray> rows = readAll(path).split('\n');
        QVERIFY(rows[1].startsWith("LOBBY.pnl,LOBBY,unknown,"));
        QVERIFY(rows[3].startsWith("floor1/HALL.pnl,HALL,unknown,"));
    }
};

QTEST_MAIN(TestSiteCommands)
#include "tst_site_commands.moc"
