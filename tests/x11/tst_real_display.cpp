// What offscreen cannot show, checked on a real X server: the title bars the window manager is given,
// and that nothing of a file dialog stays on screen to swallow the next click.
#include "app/application.h"
#include "idle_line.h"
#include "ui/dialogs.h"
#include "ui/form1.h"
#include "ui/window_commands.h"
#include "window_controls.h"

#include <QAccessible>
#include <QApplication>
#include <QFileDialog>
#include <QPushButton>
#include <QProcess>
#include <QTemporaryDir>
#include <QWindow>
#include <QtTest>
#include <functional>

using namespace panel;

namespace {

const QString kCaption = QStringLiteral("KD CVX 4/6 BUTTON DIMMABLE SWITCH PANEL CONFIGURATION PROGRAM");

// The title as the window manager reads it: the X window's _NET_WM_NAME.
QString titleOnDisplay(const QWidget *window)
{
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"),
                {QStringLiteral("-id"), QString::number(window->winId()), QStringLiteral("-notype"),
                 QStringLiteral("_NET_WM_NAME")});
    if (!xprop.waitForFinished(10000))
        return QStringLiteral("(xprop did not answer)");
    const QString out = QString::fromUtf8(xprop.readAllStandardOutput()).trimmed();
    const qsizetype first = out.indexOf(QLatin1Char('"'));
    const qsizetype last = out.lastIndexOf(QLatin1Char('"'));
    return last > first ? out.mid(first + 1, last - first - 1) : out;
}

bool xdotool(const QStringList &arguments) { return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0; }

// A real click of the X server, through the pointer.
bool clickAt(const QWidget *widget, const QPoint &local)
{
    const QPoint at = widget->mapToGlobal(local);
    return xdotool({QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(at.x()),
                    QString::number(at.y()), QStringLiteral("click"), QStringLiteral("1")});
}

// Runs `inspect` once the next modal dialog is on the display. It polls from the dialog's own event
// loop, so that the dialog can be opened by a click still waiting in the queue.
void whenModalShown(const std::function<void(QWidget *)> &inspect)
{
    auto *poll = new QTimer;
    poll->setInterval(20);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, inspect] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || !modal->windowHandle() || !modal->windowHandle()->isExposed())
            return;
        poll->stop();
        poll->deleteLater();
        inspect(modal);
    });
    poll->start();
}

void closeDialog(QWidget *modal)
{
    if (auto *dialog = qobject_cast<QDialog *>(modal))
        dialog->done(QDialog::Rejected);
}

} // namespace

class TestRealDisplay : public QObject, private WindowControls
{
    Q_OBJECT

    QtDialogs dialogs;
    IdleLine line;

private slots:
    void initTestCase() { describeApplication(); }

    void init()
    {
        form = std::make_unique<Form1>(dialogs, line);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }

    void cleanup() { form.reset(); }

    void titles_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("shown");
        QTest::newRow("main window") << "window" << QString() << kCaption;
        for (const char *title : {"FILE/MODEL MIS-MATCH", "SWITCH PANEL/CONFIGURATION MIS-MATCH",
                                  "INDEPENDENT LIGHTING SWITCH ASSIGNMENT"})
            QTest::newRow(title) << "message" << title << title;
        QTest::newRow("message without a title") << "message" << QString() << "panelconfig";
        QTest::newRow("open dialog") << "open" << "READ CONFIGURATION FILE" << "READ CONFIGURATION FILE";
        QTest::newRow("save dialog") << "save" << "WRITE CONFIGURATION FILE" << "WRITE CONFIGURATION FILE";
    }

    void titles()
    {
        QFETCH(QString, kind);
        QFETCH(QString, title);
        QFETCH(QString, shown);
        if (kind == "window") {
            QTRY_COMPARE(titleOnDisplay(form.get()), shown);
            return;
        }
        QString seen;
        whenModalShown([&seen, shown](QWidget *modal) {
            (void)QTest::qWaitFor([&] { return (seen = titleOnDisplay(modal)) == shown; }, 5000);
            closeDialog(modal);
        });
        if (kind == "message") {
            dialogs.message(form.get(), QStringLiteral("TEXT"), title);
        } else {
            FileRequest request;
            request.mode = kind == "save" ? FileRequest::Save : FileRequest::Open;
            request.title = title;
            request.filter = QStringLiteral("TALMIRAX CONFIGURATION FILES (*.pnl)");
            request.defaultSuffix = QStringLiteral("pnl");
            QVERIFY(!dialogs.chooseFile(form.get(), request));
        }
        QCOMPARE(seen, shown);
    }

    // A screen reader hears of every new status, wherever the focus is: the status box reports its new
    // text to the accessibility bus. (Offscreen there is no such bus.)
    void statusChangeIsAnnounced()
    {
        static QList<QPair<QObject *, QString>> inserted;
        inserted.clear();
        QTRY_VERIFY_WITH_TIMEOUT(QAccessible::isActive(), 20000);
        QAccessible::installUpdateHandler([](QAccessibleEvent *event) {
            if (event->type() == QAccessible::TextInserted)
                inserted.append({event->object(), static_cast<QAccessibleTextInsertEvent *>(event)->textInserted()});
        });
        form->commands().setStatusText(QStringLiteral("SWITCH PANEL DATA READ SUCCESSFUL"));
        QAccessible::installUpdateHandler(nullptr);
        QCOMPARE(inserted, (QList<QPair<QObject *, QString>>{{status(), QStringLiteral("SWITCH PANEL DATA READ SUCCESSFUL")}}));
    }

    // The name typed into the dialog is completed from its folder; Enter takes it and closes the dialog.
    // The next click, on a list row, must reach the list.
    void clickAfterFileDialogReachesWindow()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("LOBBY.pnl"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("\"00-04412-MDL\",\"LOBBY\",\"ENTRY\",0,\"HALL\",12,\"STAIRS\",159,\"DESIGNATION \",160,"
                   "\"DESIGNATION \",160,\"DESIGNATION \",160,159,\"feature\",1,\"ind%\",10,\"bl%\",3\r\n");
        file.close();

        bool completionShown = false;
        whenModalShown([&](QWidget *modal) {
            auto *name = modal->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            if (!name || !clickAt(name, name->rect().center())) {
                closeDialog(modal);
                return;
            }
            xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"), path});
            // The folder is listed in the background: retype the last letter until the list offers the file.
            for (int attempt = 0; attempt < 5 && !completionShown; ++attempt) {
                completionShown = QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }, 1000);
                if (!completionShown)
                    xdotool({QStringLiteral("key"), QStringLiteral("BackSpace"), QStringLiteral("l")});
            }
            xdotool({QStringLiteral("key"), QStringLiteral("Return")});
        });
        QVERIFY(clickAt(control<QPushButton>(QStringLiteral("READ_FILE")),
                        control<QPushButton>(QStringLiteral("READ_FILE"))->rect().center()));
        QTRY_COMPARE(text(2)->text(), QStringLiteral("LOBBY"));
        QVERIFY2(completionShown, "the name-completion list never appeared");
        QCOMPARE(QApplication::activePopupWidget(), nullptr);

        SelectionList *indicator = list(21);
        QCOMPARE(indicator->position(), 0);
        QVERIFY(clickAt(indicator->viewport(), indicator->visualItemRect(indicator->item(1)).center()));
        QTRY_COMPARE(indicator->position(), 1);
    }
};

QTEST_MAIN(TestRealDisplay)
#include "tst_real_display.moc"
