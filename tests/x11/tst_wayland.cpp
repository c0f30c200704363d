// The window under a Wayland compositor (weston, started by run-on-weston.sh) with Qt's wayland platform,
// as on GNOME's default session: it starts, opens a .pnl file given on the command line, shows its context
// menu, reads the simulated panel and closes; and the program names itself to the compositor by its
// desktop entry.
#include "app/application.h"
#include "link/qt_serial_line.h"
#include "recording_dialogs.h"
#include "sample_record.h"
#include "sim_process.h"
#include "ui/form1.h"
#include "window_controls.h"

#include <QApplication>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QWindow>
#include <QtTest>

using namespace panel;

class TestWayland : public QObject, private WindowControls
{
    Q_OBJECT

    QTemporaryDir folder;
    SimProcess sim;
    std::unique_ptr<QtSerialLine> line;
    RecordingDialogs dialogs;
    QString lobby;

private slots:
    void initTestCase()
    {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("wayland"));
        describeApplication();
        lobby = folder.filePath(QStringLiteral("LOBBY.pnl"));
        QFile file(lobby);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(test::lobbyWith({}));
        file.close();
        QVERIFY(sim.start({QStringLiteral("--state"), folder.filePath(QStringLiteral("state.txt"))}));
        line = std::make_unique<QtSerialLine>(sim.devicePath());
    }

    // As main() does with a file on its command line: the window is shown, then the file opened.
    void startsAndOpensTheFile()
    {
        form = std::make_unique<Form1>(dialogs, *line);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        form->openFile(lobby);
        QCOMPARE(text(2)->text(), QStringLiteral("LOBBY"));
        QCOMPARE(desig(0)->text(), QStringLiteral("ENTRY"));
        QVERIFY(dialogs.messages.isEmpty());
    }

    // A popup of its own on the compositor, placed against the window.
    void contextMenuOpens()
    {
        std::unique_ptr<QMenu> menu = form->windowMenu();
        menu->popup(form->mapToGlobal(QPoint(40, 200)));
        QVERIFY(QTest::qWaitForWindowExposed(menu.get()));
        QVERIFY(menu->windowHandle()->transientParent() == form->windowHandle());
        QVERIFY(!menu->actions().isEmpty());
        menu->close();
        QTRY_VERIFY(!menu->isVisible());
    }

    void readsTheSimulatedPanel()
    {
        control<QPushButton>(QStringLiteral("READ_CONFIG"))->click();
        QCOMPARE(status()->text(), QStringLiteral("SWITCH PANEL DATA READ SUCCESSFUL"));
        QCOMPARE(status()->colour(), 0xFF00u);
        QVERIFY(status()->isVisible());
    }

    // Closing ends at once, as the window's close button does: its surface leaves the compositor.
    void closes()
    {
        QWindow *window = form->windowHandle();
        QVERIFY(window->isExposed());
        QVERIFY(form->close());
        QVERIFY(!form->isVisible());
        QTRY_VERIFY(!window->isExposed());
        form.reset();
    }

    // The program itself, with a file on its command line, as the compositor sees it (the client's side of
    // the protocol, WAYLAND_DEBUG): its top-level's app id is the desktop entry's name, its title the
    // window's caption, and it draws.
    void programNamesItselfToTheCompositor()
    {
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("WAYLAND_DEBUG"), QStringLiteral("client"));
        environment.remove(QStringLiteral("DISPLAY"));
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(PANELCONFIG_PATH), {QStringLiteral("--port"), sim.devicePath(), lobby});
        QVERIFY(program.waitForStarted(5000));
        QByteArray protocol;
        const auto seen = [&](const QString &pattern) {
            return QRegularExpression(pattern).match(QString::fromUtf8(protocol)).hasMatch();
        };
        const QString appId = QStringLiteral("xdg_toplevel@\\d+\\.set_app_id\\(\"%1\"\\)").arg(QLatin1String(kDesktopId));
        const QString title = QStringLiteral("xdg_toplevel@\\d+\\.set_title\\(\"KD CVX 4/6 BUTTON DIMMABLE SWITCH PANEL CONFIGURATION PROGRAM\"\\)");
        const QString drawn = QStringLiteral("wl_surface@\\d+\\.attach\\(wl_buffer@\\d+");
        QVERIFY2(QTest::qWaitFor([&] {
                     protocol += program.readAllStandardError();
                     return seen(appId) && seen(title) && seen(drawn);
                 }, 15000),
                 protocol.right(2000).constData());
        // Still running a second later: the file opened without a message box or a failure.
        QTest::qWait(1000);
        protocol += program.readAllStandardError();
        QCOMPARE(program.state(), QProcess::Running);
        QVERIFY2(!seen(QStringLiteral("set_title\\(\"FILE")), "a message box opened");
        program.terminate();
        QVERIFY(program.waitForFinished(5000));
    }
};

QTEST_MAIN(TestWayland)
#include "tst_wayland.moc"
