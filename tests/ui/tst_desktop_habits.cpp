// The window's desktop habits: Ctrl+O, Ctrl+S and F1, a dropped .pnl file, the recent files, the name a
// save proposes, the history folder without a file manager, and the focus frame.
#include "file/panel_name.h"
#include "file/recent_files.h"
#include "recording_dialogs.h"
#include "idle_line.h"
#include "ui/focus_frame.h"
#include "window_controls.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace panel;

namespace {

// Sends a drop of the files on the window, as the desktop does: enter, then drop where it entered.
bool dropOn(QWidget *window, const QStringList &paths)
{
    QMimeData data;
    QList<QUrl> urls;
    for (const QString &path : paths)
        urls << QUrl::fromLocalFile(path);
    data.setUrls(urls);
    const QPoint at(10, 10);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &drop);
    return drop.isAccepted();
}

QAction *menuAction(QMenu &menu, const QString &submenu, const QString &text)
{
    auto *sub = menu.findChild<QMenu *>(submenu);
    if (!sub)
        return nullptr;
    for (QAction *action : sub->actions()) {
        if (action->data().toString() == text)
            return action;
    }
    return nullptr;
}

} // namespace

class TestDesktopHabits : public QObject, private WindowControls
{
    Q_OBJECT

    std::unique_ptr<RecordingDialogs> dialogs;
    IdleLine line;
    QTemporaryDir dir;

    void activate()
    {
        QApplication::setActiveWindow(form.get());
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }

    // Every button on "N/A" and a name: what a save takes.
    void makeSavable(const QString &name)
    {
        for (int k = 0; k < kButtons; ++k)
            editor().setModulePosition(k, kModuleNaPosition);
        type(text(2), name);
        editor().setPanelNameText(name);
    }

    // Saves the configuration shown as the file, through SAVE CONFIGURATION FILE.
    QString saveAs(const QString &name)
    {
        const QString path = dir.filePath(name);
        dialogs->fileAnswers = {path};
        click("WRITE_FILE");
        return path;
    }

private slots:
    void init()
    {
        for (const QString &path : recentFiles())
            forgetRecentFile(path);
        dialogs = std::make_unique<RecordingDialogs>();
        form = std::make_unique<Form1>(*dialogs, line);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }

    void cleanup()
    {
        form.reset();
        dialogs.reset();
    }

    void keys_data()
    {
        QTest::addColumn<QKeySequence>("key");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QString>("asked"); // a file dialog's title, or a message's
        QTest::newRow("Ctrl+O") << QKeySequence(Qt::CTRL | Qt::Key_O) << "List5" << "READ CONFIGURATION FILE";
        QTest::newRow("Ctrl+O in a text box") << QKeySequence(Qt::CTRL | Qt::Key_O) << "Text3" << "READ CONFIGURATION FILE";
        QTest::newRow("Ctrl+S") << QKeySequence(Qt::CTRL | Qt::Key_S) << "READ_CONFIG" << "WRITE CONFIGURATION FILE";
        QTest::newRow("Ctrl+S in the name box") << QKeySequence(Qt::CTRL | Qt::Key_S) << "Text2" << "WRITE CONFIGURATION FILE";
        QTest::newRow("F1") << QKeySequence(Qt::Key_F1) << "List21" << "Help";
    }

    void keys()
    {
        QFETCH(QKeySequence, key);
        QFETCH(QString, focus);
        QFETCH(QString, asked);
        makeSavable(QStringLiteral("FLOOR 1/2"));
        activate(); // a shortcut reaches the active window only
        QWidget *target = control(focus);
        target->setFocus(Qt::TabFocusReason);
        QTest::keySequence(target, key);
        QStringList titles;
        for (const FileRequest &request : std::as_const(dialogs->fileRequests))
            titles << request.title;
        for (const RecordingDialogs::Message &message : std::as_const(dialogs->messages))
            titles << message.title;
        QCOMPARE(titles, QStringList{asked});
        if (asked == QLatin1String("Help"))
            QVERIFY(dialogs->messages.constFirst().text.contains(QLatin1String("Compare with panel")));
        if (asked == QLatin1String("WRITE CONFIGURATION FILE")) // the name proposed is one file's
            QCOMPARE(dialogs->fileRequests.constFirst().fileName, "FLOOR 1-2.pnl");
        QCOMPARE(text(2)->text(), "FLOOR 1/2");
    }

    void proposedSaveName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("proposed");
        QTest::newRow("plain") << "LOBBY" << "LOBBY.pnl";
        QTest::newRow("slashes") << "A/B/C" << "A-B-C.pnl";
        QTest::newRow("NUL") << QStringLiteral("A") + QChar(0) + QStringLiteral("B") << "A-B.pnl";
    }

    void proposedSaveName()
    {
        QFETCH(QString, name);
        QFETCH(QString, proposed);
        QCOMPARE(proposedFileName(name), proposed);
    }

    void drop_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<int>("files");
        QTest::addColumn<QString>("on");
        QTest::addColumn<bool>("opens");
        QTest::newRow("a .pnl file") << "DROPPED.pnl" << 1 << "Form1" << true;
        QTest::newRow("on a text box") << "DROPPED.pnl" << 1 << "Text3" << true;
        QTest::newRow("in capitals") << "DROPPED.PNL" << 1 << "Form1" << true;
        QTest::newRow("another kind of file") << "DROPPED.txt" << 1 << "Form1" << false;
        QTest::newRow("two files") << "DROPPED.pnl" << 2 << "Form1" << false;
    }

    void drop()
    {
        QFETCH(QString, fileName);
        QFETCH(int, files);
        QFETCH(QString, on);
        QFETCH(bool, opens);
        makeSavable(QStringLiteral("DROPPED"));
        const QString path = saveAs(fileName);
        type(text(2), QStringLiteral("OTHER"));
        editor().setPanelNameText(QStringLiteral("OTHER"));
        QStringList paths{path};
        if (files > 1)
            paths << path;
        QCOMPARE(dropOn(on == QLatin1String("Form1") ? form.get() : control(on), paths), opens);
        QCOMPARE(text(2)->text(), opens ? "DROPPED" : "OTHER");
        QVERIFY(!desig(0)->text().contains(QLatin1String("DROPPED")));
        QVERIFY(dialogs->messages.isEmpty());
        QCOMPARE(dialogs->fileRequests.size(), 1); // the save's: a drop asks for no file
    }

    // Files opened and saved are listed newest first, eight at most; one chosen opens, one gone is taken
    // off the list with a word.
    void recentFilesMenu()
    {
        QStringList saved;
        for (int n = 1; n <= kRecentFileLimit + 1; ++n) {
            makeSavable(QStringLiteral("PANEL%1").arg(n));
            saved.prepend(QFileInfo(saveAs(QStringLiteral("PANEL%1.pnl").arg(n))).absoluteFilePath());
        }
        saved.removeLast();
        QCOMPARE(recentFiles(), saved);

        auto menu = form->windowMenu();
        QStringList listed;
        for (QAction *action : menu->findChild<QMenu *>(QStringLiteral("recentFiles"))->actions())
            listed << action->data().toString();
        QCOMPARE(listed, saved);

        const QString third = saved[2];
        menuAction(*menu, QStringLiteral("recentFiles"), third)->trigger();
        QCOMPARE(editor().panelName(), QFileInfo(third).completeBaseName());
        QCOMPARE(recentFiles().constFirst(), third);

        const QString gone = saved.constLast();
        QVERIFY(QFile::remove(gone));
        menu = form->windowMenu();
        menuAction(*menu, QStringLiteral("recentFiles"), gone)->trigger();
        QCOMPARE(dialogs->messages.size(), 1);
        QVERIFY(dialogs->messages.constFirst().text.contains(gone));
        QVERIFY(!recentFiles().contains(gone));
        QCOMPARE(editor().panelName(), QFileInfo(third).completeBaseName());
    }

    // Without a file manager the folder is told, and its path can be copied.
    void historyFolderWithoutFileManager_data()
    {
        QTest::addColumn<QByteArray>("opener"); // the xdg-open found on the path, or none
        QTest::newRow("no xdg-open") << QByteArray();
        QTest::newRow("xdg-open failing") << QByteArray("#!/bin/sh\nexit 3\n");
    }

    void historyFolderWithoutFileManager()
    {
        QFETCH(QByteArray, opener);
        QTemporaryDir bin;
        if (!opener.isEmpty()) {
            QFile script(bin.filePath(QStringLiteral("xdg-open")));
            QVERIFY(script.open(QIODevice::WriteOnly));
            script.write(opener);
            script.close();
            script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin.path()));
        QApplication::clipboard()->clear();
        QString told;
        QTimer answer;
        connect(&answer, &QTimer::timeout, this, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            told = box->text();
            box->findChild<QPushButton *>(QStringLiteral("copyPath"))->click();
        });
        answer.start(10);
        QtDialogs qtDialogs;
        qtDialogs.showFolder(form.get(), dir.path());
        QTRY_VERIFY(!told.isEmpty());
        qputenv("PATH", path);
        QVERIFY2(told.endsWith(QChar(10) + dir.path()), qPrintable(told));
        QTRY_COMPARE(QApplication::clipboard()->text(), dir.path());
    }

    // The focus shows as a frame two pixels wide in the highlight colour over the control, which keeps its
    // size; the frame lets clicks through.
    void focusFrame_data()
    {
        QTest::addColumn<QString>("name");
        for (const char *name : {"READ_CONFIG", "WRITE_FILE", "List2", "Text3", "Text2", "Check1", "List21", "List22"})
            QTest::newRow(name) << name;
    }

    void focusFrame()
    {
        QFETCH(QString, name);
        activate();
        QWidget *target = control(name);
        const QSize size = target->size();
        target->setFocus(Qt::TabFocusReason);
        auto *frame = form->findChild<FocusFrame *>();
        QVERIFY(frame);
        QTRY_VERIFY(frame->isVisible());
        const QRect place(target->mapTo(form.get(), QPoint(0, 0)), size);
        QCOMPARE(frame->geometry(), place);
        QCOMPARE(target->size(), size);
        QVERIFY(frame->testAttribute(Qt::WA_TransparentForMouseEvents));
        const QImage shot = form->grab().toImage();
        const QColor highlight = form->palette().color(QPalette::Active, QPalette::Highlight);
        for (const QPoint &edge : {place.topLeft(), place.topLeft() + QPoint(1, 1), place.bottomRight(),
                                   place.bottomRight() - QPoint(1, 1), QPoint(place.center().x(), place.top() + 1)})
            QCOMPARE(shot.pixelColor(edge).rgb(), highlight.rgb());
    }
};

QTEST_MAIN(TestDesktopHabits)
#include "tst_desktop_habits.moc"
