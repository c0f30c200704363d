// The site window, offscreen: its rows and states, a row activated opens its file in the window, and its
// Write and Verify reach the panel and the history, the rows following each command.
#include "files.h"
#include "journal_entries.h"
#include "recording_dialogs.h"
#include "sample_record.h"
#include "scripted_panel.h"
#include "site_history.h"

#include "model/editor_model.h"
#include "ui/form1.h"
#include "ui/site_window.h"

#include <QPushButton>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

using namespace panel;
using namespace panel::test;

class TestSiteWindow : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QString site = dir.filePath(QStringLiteral("site"));
    ScriptedPanel panel; // holds LOBBY's configuration
    std::unique_ptr<RecordingDialogs> dialogs;
    std::unique_ptr<Form1> form;

    QStringList column(const SiteWindow &window, int column) const
    {
        QStringList texts;
        for (int row = 0; row < window.table().rowCount(); ++row)
            texts << window.table().item(row, column)->text();
        return texts;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(saveSitePanel(site, QStringLiteral("LOBBY.pnl"), sitePanel(QStringLiteral("LOBBY"))));
        QVERIFY(saveSitePanel(site, QStringLiteral("floor1/HALL.pnl"), sitePanel(QStringLiteral("HALL"), 7)));
        QVERIFY(writeAll(site + QStringLiteral("/floor1/BAD.pnl"), lobbyWith({{1, "\"00-04412-mdl\""}})));
    }

    void init()
    {
        dialogs = std::make_unique<RecordingDialogs>();
        // A short tick, yet long enough that a busy machine does not take it for a panel that never answered.
        form = std::make_unique<Form1>(*dialogs, panel, 40);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }

    void cleanup()
    {
        form.reset();
        dialogs.reset();
    }

    // The folder is asked for once, then remembered.
    void folderChosenAndRemembered()
    {
        QSettings().remove(QStringLiteral("site/folder"));
        dialogs->fileAnswers << site;
        SiteWindow *window = showSiteWindow(*form, *dialogs);
        QCOMPARE(dialogs->fileRequests.size(), 1);
        QCOMPARE(dialogs->fileRequests.constFirst().mode, FileRequest::Folder);
        QVERIFY(!window->isModal() && window->isVisible());
        QCOMPARE(column(*window, 0), (QStringList{"LOBBY.pnl", "floor1/BAD.pnl", "floor1/HALL.pnl"}));
        QCOMPARE(column(*window, 2), (QStringList{"not written", "refused: the model tag is not 00-04412-MDL", "not written"}));
        QCOMPARE(window->table().item(1, 2)->background().color(), QColor(0xf4, 0xa0, 0xa0));
        QCOMPARE(SiteWindow::rememberedFolder(), site);
        QCOMPARE(showSiteWindow(*form, *dialogs), window); // one window, raised again
        QCOMPARE(dialogs->fileRequests.size(), 1);
    }

    // Double-click and Enter open the row's file as OPEN CONFIGURATION FILE does.
    void activatedRowOpens()
    {
        SiteWindow *window = showSiteWindow(*form, *dialogs);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QTableWidget &table = window->table();
        const QPoint hall = table.visualItemRect(table.item(2, 0)).center();
        QTest::mouseClick(table.viewport(), Qt::LeftButton, {}, hall); // the click that a double-click follows
        QTest::mouseDClick(table.viewport(), Qt::LeftButton, {}, hall);
        QCOMPARE(form->editor().panelName(), QStringLiteral("HALL"));
        table.setCurrentCell(0, 0);
        table.setFocus();
        QTest::keyClick(&table, Qt::Key_Return);
        QCOMPARE(form->editor().panelName(), QStringLiteral("LOBBY"));
        QVERIFY(dialogs->messages.isEmpty());
    }

    // Write then Verify the selected panel: the panel holds the file, the history has both, and the row's
    // state follows; a verify of another file differs.
    void writeAndVerifyReachTheHistory()
    {
        SiteWindow *window = showSiteWindow(*form, *dialogs);
        auto *write = window->findChild<QPushButton *>(QStringLiteral("siteWrite"));
        auto *verify = window->findChild<QPushButton *>(QStringLiteral("siteVerify"));
        window->table().selectRow(1);
        QVERIFY(!write->isEnabled()); // a refused file is not written
        window->table().selectRow(2);
        QVERIFY(write->isEnabled());
        write->click();
        QCOMPARE(panel.registers[0], 7);
        QCOMPARE(column(*window, 2).value(2), QStringLiteral("written"));
        verify->click();
        QCOMPARE(column(*window, 2).value(2), QStringLiteral("verified"));
        QCOMPARE(window->table().item(2, 2)->background().color(), QColor(0xb6, 0xe3, 0xb6));
        window->table().selectRow(0);
        verify->click();

        const QList<QJsonObject> entries = journalEntries(History());
        QCOMPARE(entries.size(), 3);
        QCOMPARE(entries[2].value("command").toString(), QStringLiteral("write"));
        QCOMPARE(entries[2].value("panel_name").toString(), QStringLiteral("HALL"));
        QCOMPARE(entries[1].value("result").toString(), QStringLiteral("SWITCH PANEL MATCHES THE FILE"));
        QCOMPARE(entries[0].value("panel_name").toString(), QStringLiteral("LOBBY"));
        QCOMPARE(entries[0].value("result").toString(), QStringLiteral("SWITCH PANEL DIFFERS FROM THE FILE"));
        QCOMPARE(entries[0].value("exit_code").toInt(), 1);
        QCOMPARE(form->editor().panelName(), QString()); // what the window shows is not touched
    }
};

QTEST_MAIN(TestSiteWindow)
#include "tst_site_window.moc"
