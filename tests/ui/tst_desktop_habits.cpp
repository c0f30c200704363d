// The window's desktop habits: Ctrl+O, Ctrl+S and F1, a dropped .pnl file, the recent files, the name a
// save proposes, the history folder without a file manager, and the focus frame.
#include "file/panel_name.h"
#include "file/recent_files.h"
#include "idle_line.h"
#include "recording_dialogs.h"
#include "ui/focus_frame.h"
#include "window_controls.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QTemporaryDir>
#include <QtTest>

using namespace panel;

class TestDesktopHabits : public QObject, private WindowControls
{
    Q_OBJECT

    std::unique_ptr<RecordingDialogs> dialogs;
    IdleLine line;
    QTemporaryDir dir;

    // Every button on "N/A" and the name: what a save takes. Then saved as the file, when one is named.
    QString makeSaved(const QString &name, const QString &fileName = QString())
    {
        for (int k = 0; k < kButtons; ++k)
            editor().setModulePosition(k, kModuleNaPosition);
        type(text(2), name);
        editor().setPanelNameText(name);
        if (fileName.isEmpty())
            return QString();
        dialogs->fileAnswers = {dir.filePath(fileName)};
        click("WRITE_FILE");
        return QFileInfo(dir.filePath(fileName)).absoluteFilePath();
    }

    // The window's menu, and its recent files.
    std::unique_ptr<QMenu> m_menu;
    QList<QAction *> recentActions() const { return m_menu->findChild<QMenu *>("recentFiles")->actions(); }

private slots:
    void init()
    {
        for (const QString &path : recentFiles())
            forgetRecentFile(path);
        dialogs = std::make_unique<RecordingDialogs>();
        form = std::make_unique<Form1>(*dialogs, line);
        form->show();
        QApplication::setActiveWindow(form.get()); // a shortcut reaches the active window only
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }

    void cleanup()
    {
        m_menu.reset();
        form.reset();
    }

    // The keys work wherever the focus is; the name a save proposes is one file's, the name itself as typed.
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
        makeSaved(QStringLiteral("FLOOR 1/2"));
        control(focus)->setFocus(Qt::TabFocusReason);
        QTest::keySequence(control(focus), key);
        QStringList titles;
        for (const FileRequest &request : std::as_const(dialogs->fileRequests))
            titles << request.title + (request.mode == FileRequest::Save ? " " + request.fileName : QString());
        for (const RecordingDialogs::Message &message : std::as_const(dialogs->messages))
            titles << message.title;
        QCOMPARE(titles, QStringList{asked + (asked.startsWith("WRITE") ? " FLOOR 1-2.pnl" : "")});
        if (!dialogs->messages.isEmpty()) // the help names the menu's commands too
            QVERIFY(dialogs->messages.constFirst().text.contains("Compare with panel"));
        QCOMPARE(text(2)->text(), "FLOOR 1/2");
    }

    void proposedSaveName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("proposed");
        QTest::newRow("plain") << "LOBBY" << "LOBBY.pnl";
        QTest::newRow("slashes") << "A/B/C" << "A-B-C.pnl";
        QTest::newRow("NUL") << "A" + QString(QChar(0)) + "B" << "A-B.pnl";
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
        QTest::newRow("a .pnl file") << "DROPPED.pnl" << 1 << "Image1" << true;
        QTest::newRow("on a text box") << "DROPPED.pnl" << 1 << "Text3" << true;
        QTest::newRow("in capitals") << "DROPPED.PNL" << 1 << "Image1" << true;
        QTest::newRow("another kind of file") << "DROPPED.txt" << 1 << "Image1" << false;
        QTest::newRow("two files") << "DROPPED.pnl" << 2 << "Image1" << false;
    }

    // Sent as the desktop sends it: to the control under the pointer that takes drops (the window for the
    // picture), enter, then drop.
    void drop()
    {
        QFETCH(QString, fileName);
        QFETCH(int, files);
        QFETCH(QString, on);
        QFETCH(bool, opens);
        const QString path = makeSaved(QStringLiteral("DROPPED"), fileName);
        makeSaved(QStringLiteral("OTHER"));
        QMimeData data;
        data.setUrls(QList<QUrl>(files, QUrl::fromLocalFile(path)));
        QWidget *target = on == "Text3" ? control(on) : form.get();
        QDragEnterEvent enter(QPoint(1, 1), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QDropEvent dropped(QPointF(1, 1), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        if (enter.isAccepted())
            QApplication::sendEvent(target, &dropped);
        QCOMPARE(enter.isAccepted() && dropped.isAccepted(), opens);
        QCOMPARE(text(2)->text(), opens ? "DROPPED" : "OTHER");
        QVERIFY(!desig(0)->text().contains("DROPPED"));
        QVERIFY(dialogs->messages.isEmpty());
        QCOMPARE(dialogs->fileRequests.size(), 1); // the save's: a drop asks for no file
    }

    // Files opened and saved are listed newest first, eight at most; one chosen opens, one gone is taken
    // off the list with a word.
    void recentFilesMenu()
    {
        QStringList saved;
        for (int n = 1; n <= kRecentFileLimit + 1; ++n)
            saved.prepend(makeSaved(QStringLiteral("PANEL%1").arg(n), QStringLiteral("PANEL%1.pnl").arg(n)));
        saved.removeLast();
        m_menu = form->windowMenu();
        QStringList listed;
        for (QAction *action : recentActions())
            listed << action->data().toString();
        QCOMPARE(listed, saved);

        recentActions()[2]->trigger();
        QCOMPARE(editor().panelName(), "PANEL7");
        QCOMPARE(recentFiles().constFirst(), saved[2]);

        QVERIFY(QFile::remove(saved.constLast()));
        recentActions().constLast()->trigger();
        QCOMPARE(dialogs->messages.size(), 1);
        QVERIFY(dialogs->messages.constFirst().text.contains(saved.constLast()));
        QCOMPARE(recentFiles().size(), kRecentFileLimit - 1);
        QCOMPARE(editor().panelName(), "PANEL7");
    }

    // Without xdg-open the folder is told, and its path can be copied.
    void historyFolderWithoutFileManager()
    {
        QTemporaryDir emptyBin;
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(emptyBin.path()));
        QString told;
        QTimer answer;
        connect(&answer, &QTimer::timeout, this, [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                told = box->text();
                box->findChild<QAbstractButton *>("copyPath")->click();
            }
        });
        answer.start(10);
        QtDialogs().showFolder(form.get(), dir.path());
        QTRY_VERIFY(!told.isEmpty());
        qputenv("PATH", path);
        QVERIFY2(told.endsWith(QChar(10) + dir.path()), qPrintable(told));
        QTRY_COMPARE(QApplication::clipboard()->text(), dir.path());
    }

    // A frame two pixels wide in the highlight colour over the focused control, which keeps its size; the
    // frame lets clicks through.
    void focusFrame_data()
    {
        QTest::addColumn<QString>("name");
        for (const char *name : {"READ_CONFIG", "List2", "Text3", "Text2", "Check1", "List21", "List22"})
            QTest::newRow(name) << name;
    }

    void focusFrame()
    {
        QFETCH(QString, name);
        QWidget *target = control(name);
        const QRect place(target->mapTo(form.get(), QPoint(0, 0)), target->size());
        target->setFocus(Qt::TabFocusReason);
        auto *frame = form->findChild<FocusFrame *>();
        QTRY_VERIFY(frame->isVisible());
        QCOMPARE(frame->geometry(), place);
        QCOMPARE(target->size(), place.size());
        QVERIFY(frame->testAttribute(Qt::WA_TransparentForMouseEvents));
        const QImage shot = form->grab().toImage();
        const QRgb highlight = form->palette().color(QPalette::Active, QPalette::Highlight).rgb();
        for (const QPoint &edge : {place.topLeft(), place.topLeft() + QPoint(1, 1), place.bottomRight() - QPoint(1, 1)})
            QCOMPARE(shot.pixelColor(edge).rgb(), highlight);
    }
};

QTEST_MAIN(TestDesktopHabits)
#include "tst_desktop_habits.moc"
