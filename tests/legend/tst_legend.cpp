#include "file/config_file_ops.h"
#include "file/pnl_file.h"
#include "files.h"
#include "model/editor_model.h"
#include "pdf_pages.h"
#include "recording_dialogs.h"
#include "idle_line.h"
#include "sample_record.h"
#include "site/legend_pdf.h"
#include "site/legend_sheet.h"
#include "ui/form1.h"

#include <QDir>
#include <QFile>
#include <QMenu>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace panel;

namespace {

constexpr qreal kPageMargin = kLegendPageMargin;

PanelFileRecord recordNamed(const QString &name, const std::array<QString, kButtons> &desig,
                            const std::array<qint16, kButtons> &code = {0, 12, 159, 160, 33, 45})
{
    PanelFileRecord record = test::lobbyRecord();
    record.panel = name;
    record.desig = desig;
    record.code = code;
    return record;
}

LegendPanel legendNamed(const QString &name, const std::array<QString, kButtons> &desig)
{
    LegendPanel legend;
    legend.name = name;
    for (int k = 0; k < kButtons; ++k)
        legend.designation[size_t(k)] = desig[size_t(k)];
    return legend;
}

// The cell on the page of the index-th legend of a page of the PDF.
QRectF onPage(const QRectF &cell, int index, const LegendSize &size = {})
{
    const std::optional<LegendGrid> grid = legendGrid(QSizeF(210 - 2 * kPageMargin, 297 - 2 * kPageMargin), size);
    return cell.translated(grid->place(index) + QPointF(kPageMargin, kPageMargin));
}

const PdfWord *find(const QList<PdfWord> &words, const QString &text, int page = 1)
{
    for (const PdfWord &word : words) {
        if (word.text == text && word.page == page)
            return &word;
    }
    return nullptr;
}

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

Run panelconfig(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(PANELCONFIG_PATH), arguments);
    process.waitForFinished(60000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

} // namespace

class TestLegend : public QObject
{
    Q_OBJECT

private slots:
    void legendSize_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qreal>("width"); // 0: refused
        QTest::addColumn<qreal>("height");
        QTest::newRow("default") << "49x90" << 49.0 << 90.0;
        QTest::newRow("decimals, capital X") << "50.5X100" << 50.5 << 100.0;
        QTest::newRow("blanks") << " 60 x 30 " << 60.0 << 30.0;
        QTest::newRow("one side") << "49" << 0.0 << 0.0;
        QTest::newRow("too small") << "5x90" << 0.0 << 0.0;
        QTest::newRow("too large") << "49x2000" << 0.0 << 0.0;
        QTest::newRow("negative") << "-49x90" << 0.0 << 0.0;
        QTest::newRow("words") << "wide" << 0.0 << 0.0;
    }
    void legendSize()
    {
        QFETCH(QString, text);
        QFETCH(qreal, width);
        QFETCH(qreal, height);
        QString problem;
        const std::optional<LegendSize> size = parseLegendSize(text, &problem);
        QCOMPARE(size.has_value(), width > 0);
        QCOMPARE(problem.isEmpty(), width > 0);
        if (size) {
            QCOMPARE(size->width, width);
            QCOMPARE(size->height, height);
        }
    }

    void fit_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("size"); // of the legend
        QTest::addColumn<int>("fitted");   // hundredths of a point; 0: refused
        QTest::newRow("short word, full size") << "HALL" << "49x90" << 825;
        QTest::newRow("two words wrap") << "STAIRS LIGHTS" << "49x90" << 825;
        QTest::newRow("long word shrinks") << "DESIGNATION" << "40x90" << -1;
        QTest::newRow("too long at 6 pt") << "EMERGENCYLIGHTINGCIRCUIT" << "49x90" << 0;
        QTest::newRow("too many lines") << "A B C D E F G H I J K L M N O P Q R S T U V W X Y Z" << "49x30" << 0;
    }
    void fit()
    {
        QFETCH(QString, text);
        QFETCH(QString, size);
        QFETCH(int, fitted);
        QString problem;
        const LegendSize legendSize = *parseLegendSize(size, &problem);
        const std::optional<int> got = fittedLegendTextSize(text, designationCell(legendSize, 0));
        if (fitted == 0) {
            QVERIFY(!got);
            const LegendFit fit = fitLegend(legendNamed(QStringLiteral("LOBBY"), {{}}), legendSize);
            QVERIFY(fit.legend);
            LegendPanel tooLong = legendNamed(QStringLiteral("LOBBY"), {QStringLiteral("ENTRY"), {}, text});
            const LegendFit refused = fitLegend(tooLong, legendSize);
            QVERIFY(!refused.legend);
            QCOMPARE(refused.problems.size(), 1);
            QVERIFY2(refused.problems[0].startsWith(QStringLiteral("panel \"LOBBY\": SW3's designation \"%1\" does not fit").arg(text)),
                     qPrintable(refused.problems[0]));
        } else if (fitted < 0) {
            QVERIFY(got);
            QVERIFY2(*got < kLargestLegendText && *got >= kSmallestLegendText, qPrintable(QString::number(*got)));
        } else {
            QCOMPARE(got, std::optional<int>(fitted));
        }
    }

    // Each designation and the name where the layout puts them, nothing for "N/A", the cut marks drawn.
    void pdfPlacesEveryText()
    {
        const PanelFileRecord record = recordNamed(QStringLiteral("LOBBY"),
            {QStringLiteral("ENTRY"), QStringLiteral("HALL"), QStringLiteral("STAIRS"), QStringLiteral("UNUSED"),
             QStringLiteral("OFFICE"), QStringLiteral("KITCHEN")});
        const LegendFit fit = fitLegend(legendOf(named_config_of(record)), LegendSize());
        QVERIFY(fit.legend);
        const LegendPdf pdf = legendPdf({*fit.legend}, LegendSize());
        QVERIFY(pdf.bytes);
        QCOMPARE(pdf.pages, 1);
        const QList<PdfWord> words = pdfWords(*pdf.bytes);
        QVERIFY2(!words.isEmpty(), "pdftotext (poppler-utils) read nothing");
        QCOMPARE(words.size(), 6);
        QVERIFY(!find(words, QStringLiteral("UNUSED")));
        const PdfWord *name = find(words, QStringLiteral("LOBBY"));
        QVERIFY(name);
        QVERIFY(onPage(panelNameCell(LegendSize()), 0).contains(name->box.center()));
        QList<QPointF> at(kButtons);
        for (int k : {0, 1, 2, 4, 5}) {
            const PdfWord *word = find(words, record.desig[size_t(k)]);
            QVERIFY2(word, qPrintable(record.desig[size_t(k)]));
            QVERIFY2(onPage(designationCell(LegendSize(), k), 0).contains(word->box), qPrintable(record.desig[size_t(k)]));
            at[k] = word->box.center();
        }
        // SW1 top left ... SW6 bottom right, the name below them.
        QVERIFY(at[0].x() < at[1].x() && at[4].x() < at[5].x() && qAbs(at[0].x() - at[4].x()) < 1);
        QVERIFY(at[0].y() < at[2].y() && at[2].y() < at[4].y() && at[5].y() < name->box.top());
    }

    // As many legends to an A4 page as fit, in rows, then the next page.
    void severalPanelsToAPage_data()
    {
        QTest::addColumn<QString>("size");
        QTest::addColumn<int>("perPage");
        QTest::newRow("default") << "49x90" << 6;
        QTest::newRow("strips") << "80x30" << 14;
        QTest::newRow("one a page") << "150x200" << 1;
    }
    void severalPanelsToAPage()
    {
        QFETCH(QString, size);
        QFETCH(int, perPage);
        QString problem;
        const LegendSize legendSize = *parseLegendSize(size, &problem);
        QCOMPARE(legendsPerPdfPage(legendSize), perPage);
        std::vector<FittedLegend> legends;
        for (int i = 0; i <= perPage; ++i)
            legends.push_back(*fitLegend(legendNamed(QStringLiteral("P%1").arg(i), {QStringLiteral("X")}), legendSize).legend);
        const LegendPdf pdf = legendPdf(legends, legendSize);
        QCOMPARE(pdf.pages, 2);
        const QList<PdfWord> words = pdfWords(*pdf.bytes);
        for (int i = 0; i <= perPage; ++i) {
            const PdfWord *name = find(words, QStringLiteral("P%1").arg(i), i < perPage ? 1 : 2);
            QVERIFY2(name, qPrintable(QString::number(i)));
            QVERIFY(onPage(panelNameCell(legendSize), i % perPage, legendSize).contains(name->box.center()));
        }
    }

    // --legend OUT.pdf FILE.pnl…|DIR: what it writes, refuses and says.
    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments"); // {out} the output, {dir} the folder of good files
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("said"); // on stdout for 0, else on stderr
        QTest::addColumn<bool>("written");
        QTest::newRow("a folder") << QStringList{"--legend", "{out}", "{dir}"} << 0 << "3 legends of 49 x 90 mm on 1 page" << true;
        QTest::newRow("files, a size") << QStringList{"--legend", "{out}", "--legend-size", "80x30", "{dir}/a.pnl", "{dir}/sub/c.pnl"}
                                       << 0 << "2 legends of 80 x 30 mm on 1 page" << true;
        QTest::newRow("exists") << QStringList{"--legend", "{exists}", "{dir}"} << 4 << "FILE EXISTS" << false;
        QTest::newRow("exists, --force") << QStringList{"--force", "--legend", "{exists}", "{dir}"} << 0 << "3 legends" << true;
        QTest::newRow("refused file") << QStringList{"--legend", "{out}", "{dir}", "{bad}"} << 4 << "bad.pnl: FILE REFUSED: the model tag" << false;
        QTest::newRow("too long") << QStringList{"--legend", "{out}", "{long}"} << 4 << "panel \"LONG\": SW2's designation" << false;
        QTest::newRow("no such folder") << QStringList{"--legend", "{out}", "{dir}/none"} << 4 << "no such file or folder" << false;
        QTest::newRow("no .pnl") << QStringList{"--legend", "{out}", "{empty}"} << 4 << "holds no .pnl file" << false;
        QTest::newRow("too large") << QStringList{"--legend", "{out}", "--legend-size", "300x300", "{dir}"} << 4 << "does not fit on an A4 page" << false;
        QTest::newRow("bad size") << QStringList{"--legend", "{out}", "--legend-size", "49", "{dir}"} << 64 << "--legend-size" << false;
        QTest::newRow("no input") << QStringList{"--legend", "{out}"} << 64 << "--legend needs" << false;
        QTest::newRow("with --write") << QStringList{"--legend", "{out}", "--write", "{dir}/a.pnl", "{dir}"} << 64 << "does not go with --legend" << false;
        QTest::newRow("size alone") << QStringList{"--legend-size", "49x90"} << 64 << "--legend-size goes with --legend" << false;
    }
    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, said);
        QFETCH(bool, written);
        QTemporaryDir dir;
        const QString site = dir.filePath(QStringLiteral("site"));
        QVERIFY(QDir().mkpath(site + QStringLiteral("/sub")) && QDir().mkpath(dir.filePath(QStringLiteral("empty"))));
        const std::array<QString, kButtons> names{QStringLiteral("ONE"), QStringLiteral("TWO")};
        for (const QString &file : {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("sub/c")})
            QVERIFY(savePanelFile(site + QLatin1Char('/') + file + QStringLiteral(".pnl"), recordNamed(file.right(1).toUpper(), names)).saved());
        QVERIFY(writeAll(site + QStringLiteral("/notes.txt"), "not a panel"));
        QVERIFY(writeAll(dir.filePath(QStringLiteral("bad.pnl")), test::lobbyWith({{1, "\"OTHER\""}})));
        QVERIFY(savePanelFile(dir.filePath(QStringLiteral("long.pnl")),
                              recordNamed(QStringLiteral("LONG"), {QStringLiteral("A"), QStringLiteral("EMERGENCYLIGHTINGCIRCUIT")})).saved());
        QVERIFY(writeAll(dir.filePath(QStringLiteral("exists.pdf")), "old"));
        const QString out = written && !arguments.contains(QStringLiteral("{exists}")) ? dir.filePath(QStringLiteral("out.pdf"))
                                                                                       : dir.filePath(QStringLiteral("exists.pdf"));
        for (QString &argument : arguments) {
            argument.replace(QStringLiteral("{out}"), dir.filePath(QStringLiteral("out.pdf")))
                .replace(QStringLiteral("{exists}"), dir.filePath(QStringLiteral("exists.pdf")))
                .replace(QStringLiteral("{dir}"), site)
                .replace(QStringLiteral("{bad}"), dir.filePath(QStringLiteral("bad.pnl")))
                .replace(QStringLiteral("{long}"), dir.filePath(QStringLiteral("long.pnl")))
                .replace(QStringLiteral("{empty}"), dir.filePath(QStringLiteral("empty")));
        }
        const Run run = panelconfig(arguments);
        QVERIFY2(run.exitCode == exitCode, qPrintable(run.err));
        QVERIFY2((exitCode == 0 ? run.out : run.err).contains(said), qPrintable(run.out + run.err));
        QCOMPARE(readAll(out).startsWith("%PDF"), written);
        if (!written)
            QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("out.pdf"))));
    }

    // "Print legend…" prints the configuration shown; a text too long is told, nothing printed.
    void windowPrintsTheLegendShown()
    {
        RecordingDialogs dialogs;
        IdleLine line;
        Form1 window(dialogs, line, 1);
        const std::unique_ptr<QMenu> menu = window.windowMenu();
        QAction *print = menu->findChild<QAction *>(QStringLiteral("printLegend"));
        QVERIFY(print);
        QCOMPARE(print->text(), QStringLiteral("Print legend…"));
        window.editor().show_named_config(named_config_of(recordNamed(QStringLiteral("HALLWAY"),
            {QStringLiteral("NORTH"), QStringLiteral("SOUTH"), QStringLiteral("EAST"), QStringLiteral("SPARE")},
            {0, 1, 2, 160, 160, 160})));
        dialogs.messages.clear(); // what the rules said while the configuration was shown
        print->trigger();
        QCOMPARE(dialogs.printTitles, QStringList{QStringLiteral("Print legend")});
        QCOMPARE(dialogs.messages.size(), 0);
        const QList<PdfWord> words = pdfWords(dialogs.printed.value(0));
        QStringList texts;
        for (const PdfWord &word : words)
            texts << word.text;
        QCOMPARE(texts.size(), 4);
        for (const char *text : {"HALLWAY", "NORTH", "SOUTH", "EAST"})
            QVERIFY2(texts.contains(QLatin1String(text)), text);

        window.editor().show_named_config(named_config_of(recordNamed(QStringLiteral("HALLWAY"),
            {QStringLiteral("EMERGENCYLIGHTINGCIRCUIT")}, {0, 160, 160, 160, 160, 160})));
        dialogs.messages.clear();
        window.printLegend();
        QCOMPARE(dialogs.printed.size(), 1);
        QCOMPARE(dialogs.messages.size(), 1);
        QVERIFY(dialogs.messages[0].text.contains(QStringLiteral("panel \"HALLWAY\": SW1's designation")));
    }
};

QTEST_MAIN(TestLegend)
#include "tst_legend.moc"
