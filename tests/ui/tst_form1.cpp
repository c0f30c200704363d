// The main window seen through its controls: start-up state, layout, focus order, text boxes, and the
// controls as they show the editor model when the user clicks and types (the rules themselves are
// tested on the model).
#include "idle_line.h"
#include "link/line_log.h"
#include "model/status_texts.h"
#include "recording_dialogs.h"
#include "scripted_panel.h"
#include "ui/line_monitor.h"
#include "ui/face_plate.h"
#include "ui/form1.h"
#include "ui/window_commands.h"
#include "ui/rule_check_box.h"
#include "ui/selection_list.h"
#include "ui/text_box.h"
#include "window_controls.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QAccessible>
#include <QMenu>
#include <QPainter>
#include <QMessageBox>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using namespace panel;
using test::heldBy;
using test::shownBy;

Q_DECLARE_METATYPE(panel::Dialogs::SaveChoice)

namespace {

const QString kLf(QChar(10));
const QString kIndicatorText = "NORMAL INDICATOR INTENSITY must be set equal to" + kLf
                               + "or greater than NORMAL BACKLIGHTING INTENSITY.";
const QString kBacklightText = "NORMAL BACKLIGHTING INTENSITY must be set equal to" + kLf
                               + "or less than NORMAL INDICATOR INTENSITY.";
const QString kLightingText = "ONE OF THE SWITCHES ON THE PANEL MUST BE ASSIGNED TO THE" + kLf
                              + "MR/BL CHANNEL IF YOU ARE SELECTING INDEPENDENT LIGHTING.";
const QString kLightingTitle = "INDEPENDENT LIGHTING SWITCH ASSIGNMENT";

constexpr int kNa = 0, kBlMr = 17;

// Types the text key by key; characters beyond Latin-1 arrive as the text of an unnamed key.
void typeText(QWidget *box, const QString &text)
{
    for (const QChar ch : text) {
        if (ch.unicode() < 128)
            QTest::keyClick(box, char(ch.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
}

// The table's row texts, in order.
template<typename Rows>
QStringList textsOf(const Rows &rows)
{
    QStringList texts;
    for (const ListRow &row : rows)
        texts << QString::fromLatin1(row.text);
    return texts;
}

// Sets a list's position, or the box's state (list number 0), in the editor, as the program does.
void choose(EditorModel &editor, int listNumber, int position)
{
    if (listNumber == 0)
        editor.setCheckState(position);
    else if (listNumber == 21)
        editor.setIndicatorPosition(position);
    else if (listNumber == 22)
        editor.setBacklightPosition(position);
    else if (listNumber % 2)
        editor.setModulePosition(listNumber / 2, position);
    else
        editor.setChannelPosition(listNumber / 2 - 1, position);
}

} // namespace

class TestForm1 : public QObject, private WindowControls
{
    Q_OBJECT

    std::unique_ptr<RecordingDialogs> dialogs;
    IdleLine line;
    QtDialogs qtDialogs;

    void activate()
    {
        QApplication::setActiveWindow(form.get());
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }

private slots:
    void init()
    {
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

    void startState()
    {
        QVERIFY(dialogs->messages.isEmpty());
        QCOMPARE(form->windowTitle(), "KD CVX 4/6 BUTTON DIMMABLE SWITCH PANEL CONFIGURATION PROGRAM");
        QCOMPARE(form->size(), QSize(736, 383));
        QCOMPARE(form->windowIcon().pixmap(40).size(), QSize(40, 40)); // decoded on another thread
        for (int k = 0; k < kButtons; ++k) {
            QCOMPARE(moduleList(k)->position(), -1);
            QCOMPARE(channelList(k)->position(), -1);
            QVERIFY(channelList(k)->isVisible());
            auto *desig = control<QLineEdit>(QStringLiteral("Text%1").arg(k + 3));
            QVERIFY(desig->isVisible());
            QCOMPARE(desig->text(), "DESIGNATION ");
        }
        QCOMPARE(control<QLineEdit>("Text2")->text(), QString());
        QVERIFY(!control("Text1")->isVisible());
        QCOMPARE(list(21)->position(), 0);
        QCOMPARE(list(22)->position(), 0);
        QCOMPARE(editor().indpercent(), 10);
        QCOMPARE(editor().blpercent(), 10);
        QVERIFY(!check()->isChecked());
        QCOMPARE(check()->text(), "INDEPENDENT LIGHTING");
        QCOMPARE(editor().feature(), 0);
    }

    void listRows_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QStringList>("texts");
        for (int n = 1; n <= 12; ++n)
            QTest::addRow("List%d", n) << n << (n % 2 ? textsOf(moduleRows()) : textsOf(channelRows()));
        QTest::addRow("List21") << 21 << textsOf(intensityRows());
        QTest::addRow("List22") << 22 << textsOf(intensityRows());
    }

    // Each list shows its table's rows, in order: a position names the same row in the list and in the table.
    void listRows()
    {
        QFETCH(int, number);
        QFETCH(QStringList, texts);
        SelectionList *l = list(number);
        QStringList shown;
        for (int row = 0; row < l->count(); ++row)
            shown << l->item(row)->text();
        QCOMPARE(shown, texts);
    }

    void layout_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("parentName");
        QTest::addColumn<QRect>("place");

        QTest::newRow("READ_CONFIG") << "READ_CONFIG" << "Form1" << QRect(552, 40, 169, 57);
        QTest::newRow("List1") << "List1" << "Form1" << QRect(256, 104, 57, 43);
        QTest::newRow("List2") << "List2" << "Form1" << QRect(312, 104, 41, 43);
        QTest::newRow("Text3") << "Text3" << "Form1" << QRect(256, 88, 97, 19);
        QTest::newRow("Text1") << "Text1" << "Form1" << QRect(256, 40, 217, 41);
        QTest::newRow("Text2") << "Text2" << "Form1" << QRect(320, 320, 97, 19);
        QTest::newRow("List22") << "List22" << "Form1" << QRect(552, 312, 49, 30);
        QTest::newRow("List21") << "List21" << "Frame1" << QRect(0, 64, 49, 30);
        QTest::newRow("Image1") << "Image1" << "Form1" << QRect(208, 24, 313, 337);
    }

    void layout()
    {
        QFETCH(QString, name);
        QFETCH(QString, parentName);
        QFETCH(QRect, place);

        QWidget *w = control(name);
        QCOMPARE(w->parentWidget()->objectName(), parentName);
        QCOMPARE(w->geometry(), place);
    }

    void pictureLiesBeneathEverything()
    {
        QWidget *first = nullptr;
        for (QObject *child : form->children()) {
            if ((first = qobject_cast<QWidget *>(child)))
                break;
        }
        QVERIFY(first);
        QCOMPARE(first->objectName(), "Image1");
    }

    void tabOrder_data()
    {
        QTest::addColumn<bool>("statusShown");
        QTest::newRow("status hidden") << false;
        QTest::newRow("status shown") << true;
    }

    void tabOrder()
    {
        QFETCH(bool, statusShown);
        control("Text1")->setVisible(statusShown);
        activate();
        QCOMPARE(QApplication::focusWidget(), control("READ_CONFIG"));

        QStringList expected{"READ_CONFIG", "WRITE_CONFIG", "READ_FILE", "WRITE_FILE", "List2", "List4",
                             "List8", "List10", "List12", "List6", "List1", "List11", "List9", "List7",
                             "List5", "List3"};
        if (statusShown)
            expected << "Text1";
        expected << "Text2" << "Text3" << "Text4" << "Text5" << "Text6" << "Text7" << "Text8" << "Check1"
                 << "List21" << "List22" << "READ_CONFIG";
        QStringList visited{QApplication::focusWidget()->objectName()};
        for (int i = 1; i < expected.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited, expected);
        // Passing through the lists chose nothing.
        for (int n = 1; n <= 12; ++n)
            QCOMPARE(list(n)->position(), -1);
        QVERIFY(dialogs->messages.isEmpty());
    }

    void focusSelectsNothingKeyChooses()
    {
        activate();
        control("WRITE_FILE")->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        SelectionList *l = channelList(0);
        QCOMPARE(QApplication::focusWidget(), l);
        QCOMPARE(l->position(), -1);
        QCOMPARE(editor().button(0).s, 0);
        clickRow(moduleList(0), 5); // "E"
        l->setFocus(Qt::OtherFocusReason);

        QTest::keyClick(l, Qt::Key_Down);
        const int row = l->position();
        QVERIFY(row >= 0);
        QCOMPARE(int(editor().button(0).c), row);
        QCOMPARE(int(editor().button(0).s), 40 + row);
    }

    void textBoxes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");

        for (const char *name : {"Text2", "Text3", "Text8"}) {
            QTest::addRow("%s quote", name) << name << "AB\"CD" << "ABCD";
            QTest::addRow("%s euro and accents", name) << name << "€5 É°" << "€5 É°";
            QTest::addRow("%s outside code page", name) << name << "AЖB✓C" << "ABC";
        }
        QTest::newRow("Text2 13th character") << "Text2" << "ABCDEFGHIJKLMN" << "ABCDEFGHIJKL";
    }

    void textBoxes()
    {
        QFETCH(QString, name);
        QFETCH(QString, typed);
        QFETCH(QString, kept);

        auto *box = control<QLineEdit>(name);
        box->clear();
        box->setFocus();
        typeText(box, typed);
        QCOMPARE(box->text(), kept);
    }

    // A click runs the control's rule, and afterwards the controls show what the model holds, corrections
    // included (the rules themselves are tested on the model): one choice of each kind, made after the
    // given choices were set in the editor.
    void clickShowsTheModel_data()
    {
        QTest::addColumn<QList<int>>("setUp"); // list number and position, in pairs; list 0 is the box
        QTest::addColumn<int>("clicked");      // list number, or 0 for the box
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("shown");       // the clicked list's position afterwards, or the box's state
        QTest::addColumn<QString>("message"); // empty: none
        QTest::newRow("module N/A hides the channel list") << QList<int>{} << 1 << kNa << kNa << QString();
        QTest::newRow("channel") << QList<int>{3, 2} << 4 << 3 << 3 << QString();
        QTest::newRow("indicator below back-light pulls it down")
            << QList<int>{22, 1, 21, 1} << 21 << 2 << 2 << kIndicatorText;
        QTest::newRow("back-light above indicator is taken back")
            << QList<int>{22, 4, 21, 4} << 22 << 0 << 4 << kBacklightText;
        QTest::newRow("box ticked without BL/MR is unticked") << QList<int>{} << 0 << 0 << 0 << kLightingText;
        QTest::newRow("leaving the last BL/MR unticks the box")
            << QList<int>{5, kBlMr, 0, 1} << 5 << 1 << 1 << kLightingText;
    }

    void clickShowsTheModel()
    {
        QFETCH(QList<int>, setUp);
        QFETCH(int, clicked);
        QFETCH(int, row);
        QFETCH(int, shown);
        QFETCH(QString, message);

        for (int i = 0; i + 1 < setUp.size(); i += 2)
            choose(editor(), setUp[i], setUp[i + 1]);
        QVERIFY(dialogs->messages.isEmpty());

        if (clicked == 0)
            clickCheckBox();
        else
            clickRow(list(clicked), row);
        QCOMPARE(clicked == 0 ? check()->state() : list(clicked)->position(), shown);
        QCOMPARE(shownBy(*this), heldBy(editor()));
        if (message.isEmpty()) {
            QVERIFY(dialogs->messages.isEmpty());
        } else {
            QCOMPARE(dialogs->messages.size(), 1);
            QCOMPARE(dialogs->messages[0].text, message);
            QCOMPARE(dialogs->messages[0].title, message == kLightingText ? kLightingTitle : QString());
        }
    }

    // A quote that came from a hand-made file can be edited away, but no new one typed in.
    void textFromFileWithQuoteCanBeMended()
    {
        auto *box = control<TextBox>("Text2");
        box->setTextFromProgram(QStringLiteral("A\"B"));
        box->setFocus();
        box->end(false);
        QTest::keyClicks(box, "C\"");
        QCOMPARE(box->text(), QStringLiteral("A\"BC"));
        box->home(false);
        QTest::keyClick(box, Qt::Key_Right);
        QTest::keyClick(box, Qt::Key_Delete);
        QCOMPARE(box->text(), QStringLiteral("ABC"));
        QTest::keyClicks(box, "\"");
        QCOMPARE(box->text(), QStringLiteral("ABC"));
    }

    // After a panel read hides the designation box, clicking the channel already chosen shows it again.
    void clickOnSelectedRowRunsTheRule()
    {
        QLineEdit *box = control<QLineEdit>("Text8");
        editor().clear_designation(5);
        setButton(5, 1, 1);
        box->hide();
        clickRow(channelList(5), 1);
        QVERIFY(box->isVisibleTo(form.get()));
        QCOMPARE(editor().button(5).s, 1);
    }

    // Each choice runs the control's rule exactly once: rules are idempotent, so only counting shows a double run.
    void ruleRunsOncePerChoice_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("runs");
        QTest::newRow("row clicked") << "click 2" << 1;
        QTest::newRow("selected row clicked again") << "click 0" << 1;
        QTest::newRow("arrow key") << "down" << 1;
        QTest::newRow("box clicked") << "click box" << 1;
        QTest::newRow("space on box") << "space" << 1;
    }

    void ruleRunsOncePerChoice()
    {
        QFETCH(QString, action);
        QFETCH(int, runs);
        QWidget host;
        auto *list = new SelectionList(&host);
        list->setGeometry(0, 0, 60, 80);
        list->addRows(intensityRows());
        list->showPosition(0);
        auto *box = new RuleCheckBox("BOX", &host);
        box->setGeometry(0, 90, 100, 30);
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        int counted = 0;
        list->setRule([&] { ++counted; });
        box->setRule([&] { ++counted; });
        if (action == "click box")
            QTest::mouseClick(box, Qt::LeftButton);
        else if (action.startsWith("click "))
            clickRow(list, action.mid(6).toInt());
        else if (action == "down")
            QTest::keyClick(list, Qt::Key_Down);
        else
            QTest::keyClick(box, Qt::Key_Space);
        QCOMPARE(counted, runs);
    }

    // The face plate keeps only a copy at its own size, and it looks as the picture stretched into it.
    void facePlateLooksAsTheOriginalStretched()
    {
        auto *plate = control<FacePlate>("Image1");
        QCOMPARE(plate->picture().size(), QSize(313, 337));
        QImage expected(313, 337, QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&expected);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(expected.rect(), QPixmap(QStringLiteral(":/images/faceplate.png")));
        painter.end();
        QCOMPARE(plate->grab().toImage().convertToFormat(expected.format()), expected);
        plate->resize(100, 50);
        plate->repaint();
        QCOMPARE(plate->picture().size(), QSize(100, 50));
    }

    // What a screen reader speaks for each control: its name, and its tooltip as the description.
    void accessibleNames_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("description");
        for (int k = 1; k <= kButtons; ++k) {
            const QString sw = QStringLiteral("SW%1").arg(k);
            QTest::addRow("%s module", qPrintable(sw))
                << QStringLiteral("List%1").arg(2 * k - 1) << sw + " module" << sw + " MODULE ASSIGNMENT";
            QTest::addRow("%s channel", qPrintable(sw))
                << QStringLiteral("List%1").arg(2 * k) << sw + " channel" << sw + " CHANNEL ASSIGNMENT";
            QTest::addRow("%s designation", qPrintable(sw))
                << QStringLiteral("Text%1").arg(k + 2) << sw + " designation" << "ENTER " + sw + " FUNCTION";
        }
        QTest::newRow("Text2") << "Text2" << "Panel name" << "ENTER IDENTITY FOR FILE NAME";
        QTest::newRow("List21") << "List21" << "Indicator intensity (%)" << "";
        QTest::newRow("List22") << "List22" << "Back-light intensity (%)" << "";
        QTest::newRow("Check1") << "Check1" << "Independent lighting" << "";
        QTest::newRow("Text1") << "Text1" << "Status" << "";
        QTest::newRow("READ_CONFIG") << "READ_CONFIG" << "READ CONFIGURATION FROM SWITCH PANEL"
                                     << "LEFT CLICK TO READ CONFIG IN SWITCH PANEL";
        QTest::newRow("WRITE_CONFIG") << "WRITE_CONFIG" << "WRITE CONFIGURATION TO SWITCH PANEL"
                                      << "LEFT CLICK TO SAVE CONFIG IN SWITCH PANEL";
        QTest::newRow("READ_FILE") << "READ_FILE" << "OPEN CONFIGURATION FILE" << "LEFT CLICK TO OPEN CONFIG FILE";
        QTest::newRow("WRITE_FILE") << "WRITE_FILE" << "SAVE CONFIGURATION FILE" << "LEFT CLICK TO SAVE CONFIG FILE";
    }

    void accessibleNames()
    {
        QFETCH(QString, control);
        QFETCH(QString, name);
        QFETCH(QString, description);
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(this->control(control));
        QVERIFY(accessible);
        QCOMPARE(accessible->text(QAccessible::Name), name);
        QCOMPARE(accessible->text(QAccessible::Description), description);
    }

    // A port failure keeps every line in the box, and its tooltip tells how to choose another port.
    void statusTextFits_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("fits");
        QTest::addColumn<bool>("portTip");
        const QString failed = "COMMUNICATIONS FAILURE SERIAL PORT COULD NOT BE OPENED\n";
        QTest::newRow("permission") << failed + "/dev/ttyUSB0: Permission denied" << true << true;
        QTest::newRow("missing") << failed + "/dev/ttyACM0: No such file or directory" << true << true;
        QTest::newRow("busy") << failed + "/dev/ttyS0: Device or resource busy" << true << true;
        QTest::newRow("by-id path scrolls")
            << failed + "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0: No such file or directory"
            << false << true;
        QTest::newRow("programmed") << "SWITCH PANEL HAS BEEN PROGRAMMED" << true << false;
    }

    void statusTextFits()
    {
        QFETCH(QString, text);
        QFETCH(bool, fits);
        QFETCH(bool, portTip);
        form->commands().reportStatus(text);
        QCoreApplication::processEvents();
        QCOMPARE(status()->verticalScrollBar()->maximum() == 0, fits);
        QCOMPARE(status()->toolTip().contains("Right-click the window's background"), portTip);
        // The largest size that fits: the full 11 px, the smallest 8 px for a text that never fits,
        // or one at which a pixel more would not fit.
        const int size = status()->font().pixelSize();
        if (!portTip)
            QCOMPARE(size, 11);
        if (!fits)
            QCOMPARE(size, 8);
        if (fits && size < 11) {
            QFont larger = status()->font();
            larger.setPixelSize(size + 1);
            status()->setFont(larger);
            QCoreApplication::processEvents();
            QVERIFY(status()->verticalScrollBar()->maximum() > 0);
        }
    }

    void spaceWorksButtonsAndCheckBox()
    {
        activate();
        QTest::keyClick(control("READ_FILE"), Qt::Key_Space);
        QCOMPARE(dialogs->fileRequests.size(), 1);
        QTest::keyClick(check(), Qt::Key_Space);
        QCOMPARE(dialogs->messages.size(), 1);
        QCOMPARE(dialogs->messages[0].title, kLightingTitle);
        editor().setModulePosition(2, kBlMr);
        QTest::keyClick(check(), Qt::Key_Space);
        QCOMPARE(editor().feature(), 1);
    }

    // The port menu opens on the window's background and from the keyboard, never on a control.
    void portMenuOpens_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("where");
        QTest::addColumn<bool>("opens");
        QTest::newRow("right-click on the picture") << "mouse" << "Image1" << true;
        QTest::newRow("right-click on a caption") << "mouse" << "Label14" << true;
        QTest::newRow("right-click on a list") << "mouse" << "List5" << false;
        QTest::newRow("right-click on a button") << "mouse" << "READ_CONFIG" << false;
        QTest::newRow("menu key on a list") << "menu key" << "List5" << true;
        QTest::newRow("Shift+F10 on a button") << "shift+f10" << "WRITE_CONFIG" << true;
        QTest::newRow("Shift+F10 on the check box") << "shift+f10" << "Check1" << true;
    }

    void portMenuOpens()
    {
        QFETCH(QString, how);
        QFETCH(QString, where);
        QFETCH(bool, opens);
        activate();
        QWidget *target = control(where);
        target->setFocus(Qt::OtherFocusReason);
        QString opened;
        QTimer::singleShot(0, [&] {
            if (QWidget *popup = QApplication::activePopupWidget()) {
                opened = popup->objectName();
                popup->close();
            }
        });
        // What the platform sends: a right-click reaches the widget under the pointer, the menu key the focus.
        QWidget *receiver = how == "mouse" ? target->childAt(target->rect().center()) : target;
        receiver = receiver ? receiver : target;
        if (how == "shift+f10") {
            QTest::keyClick(target, Qt::Key_F10, Qt::ShiftModifier);
        } else {
            const QPoint at = receiver->rect().center();
            QContextMenuEvent event(how == "mouse" ? QContextMenuEvent::Mouse : QContextMenuEvent::Keyboard, at,
                                    receiver->mapToGlobal(at));
            QApplication::sendEvent(receiver, &event);
        }
        QCoreApplication::processEvents();
        QCOMPARE(opened, opens ? QStringLiteral("windowMenu") : QString());
    }

    void choosingPortUsesAndRemembersIt()
    {
        line.device = "/dev/ttyUSB3";
        form->setPortSource(PortSource::Option);
        auto menu = form->windowMenu();
        auto *ports = menu->findChild<QMenu *>("portMenu");
        QVERIFY(ports);
        QCOMPARE(ports->actions().constFirst()->text(), "In use: /dev/ttyUSB3 (given with --port)");
        QStringList ticked;
        for (QAction *action : ports->actions()) {
            if (action->isChecked())
                ticked << action->data().toString();
        }
        QCOMPARE(ticked, QStringList{"/dev/ttyUSB3"});

        dialogs->textAnswers = {QStringLiteral(" /dev/ttyACM7 ")};
        menu->findChild<QAction *>("otherDevice")->trigger();
        QCOMPARE(dialogs->textRequests.size(), 1);
        QCOMPARE(line.device, "/dev/ttyACM7");
        QCOMPARE(rememberedPort(), "/dev/ttyACM7");
        menu = form->windowMenu();
        ports = menu->findChild<QMenu *>("portMenu");
        QCOMPARE(ports->actions().constFirst()->text(), "In use: /dev/ttyACM7 (chosen in the window)");

        dialogs->textAnswers = {std::nullopt};
        menu->findChild<QAction *>("otherDevice")->trigger();
        QCOMPARE(line.device, "/dev/ttyACM7");
        line.device = "idle";
    }

    // "Line monitor…" opens a window of its own showing each byte as it goes, with Copy and Save as
    // text; a failure is told in the status's tooltip from what the line showed, the status text as it was.
    void lineMonitorAndFailureTooltip()
    {
        ScriptedPanel panel;
        QString live; // the monitor as the register that fails is asked for
        std::unique_ptr<Form1> window;
        panel.script = [&](ScriptedPanel::Kind kind, const QByteArray &bytes) -> std::optional<ScriptedPanel::Reply> {
            if (kind != ScriptedPanel::Read || bytes[2] != 2)
                return std::nullopt;
            live = window->findChild<LineMonitor *>(QStringLiteral("lineMonitor"))->text();
            return ScriptedPanel::Reply{"1615\r"};
        };
        window = std::make_unique<Form1>(*dialogs, panel, 5);
        window->windowMenu()->findChild<QAction *>(QStringLiteral("showLineMonitor"))->trigger();
        auto *monitor = window->findChild<LineMonitor *>(QStringLiteral("lineMonitor"));
        QVERIFY(monitor && monitor->isVisible() && monitor->isWindow());
        window->findChild<QPushButton *>(QStringLiteral("READ_CONFIG"))->click();

        QVERIFY2(live.contains(QStringLiteral("read r=1 → 12")), qPrintable(live));
        QVERIFY(monitor->text().startsWith(QStringLiteral("read on /dev/ttyFAKE at ")));
        QVERIFY(monitor->text().endsWith(QStringLiteral("31 36 31 35 0D     1615.   read r=2 → 162")));
        auto *status = window->findChild<StatusBox *>(QStringLiteral("Text1"));
        QCOMPARE(status->text(), kBadData);
        QCOMPARE(status->toolTip(),
                 QStringLiteral("Register 2 failed: its reply was \"1615.\" (31 36 31 35 0D), worth 162, outside 0 to 160."));

        monitor->copy();
        QCOMPARE(QGuiApplication::clipboard()->text(), monitor->text());
        QTemporaryDir dir;
        dialogs->fileAnswers = {dir.filePath(QStringLiteral("line.txt"))};
        monitor->findChild<QPushButton *>(QStringLiteral("lineMonitorSave"))->click();
        QCOMPARE(dialogs->fileRequests.last().defaultSuffix, QStringLiteral("txt"));
        QFile saved(dir.filePath(QStringLiteral("line.txt")));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(saved.readAll()), monitor->text() + QLatin1Char('\n'));
    }

    // The monitor shows what the log keeps, the last 20 operations, however many come while it is open.
    void lineMonitorKeepsTheLastOperations()
    {
        LineLog log;
        const auto operation = [&log](int n) {
            log.operationStarted(QStringLiteral("read"), QStringLiteral("/dev/tty%1").arg(n));
            for (int i = 0; i < n % 3; ++i)
                log.traced(TraceLine{i, i % 2 == 0, QByteArray(1, 'A'), QStringLiteral("line %1").arg(i)});
        };
        operation(0);
        LineMonitor monitor(log, *dialogs, nullptr);
        QCOMPARE(monitor.text(), log.text());
        for (int n = 1; n < 25; ++n) {
            operation(n);
            if (n % 4 == 0)
                QCoreApplication::processEvents();
        }
        QCOMPARE(log.operations().size(), size_t(LineLog::kOperationsKept));
        QCOMPARE(monitor.text(), log.text());
        QVERIFY(monitor.text().startsWith(QStringLiteral("read on /dev/tty5 at ")));
    }

    // Closing (or Ctrl+Q) asks Save / Discard / Cancel exactly when the configuration shown differs from
    // the one last saved, opened, written or read; Save closes only once the file is saved.
    void closingAsksToSave_data()
    {
        QTest::addColumn<QString>("before"); // what was done first
        QTest::addColumn<QList<Dialogs::SaveChoice>>("answers");
        QTest::addColumn<QStringList>("files"); // the save dialog's answers
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("closed");
        using C = Dialogs::SaveChoice;
        const QStringList none;
        QTest::newRow("nothing changed") << "" << QList<C>{} << none << false << true;
        QTest::newRow("a choice, discarded") << "choice" << QList<C>{C::Discard} << none << true << true;
        QTest::newRow("a choice, cancelled") << "choice" << QList<C>{C::Cancel} << none << true << false;
        QTest::newRow("a choice, saved") << "choice" << QList<C>{C::Save} << QStringList{"saved.pnl"} << true << true;
        QTest::newRow("a choice, save dialog cancelled") << "choice" << QList<C>{C::Save} << none << true << false;
        QTest::newRow("a choice undone with Ctrl+Z") << "choice undone" << QList<C>{} << none << false << true;
        QTest::newRow("a choice then saved") << "choice saved" << QList<C>{} << none << false << true;
        QTest::newRow("a typed name, Ctrl+Q, discarded") << "typed quit" << QList<C>{C::Discard} << none << true << true;
        QTest::newRow("a file opened") << "opened" << QList<C>{} << none << false << true;
    }

    void closingAsksToSave()
    {
        QFETCH(QString, before);
        QFETCH(QList<Dialogs::SaveChoice>, answers);
        QFETCH(QStringList, files);
        QFETCH(bool, asked);
        QFETCH(bool, closed);
        QTemporaryDir dir;
        for (int k = 0; k < kButtons; ++k)
            editor().setModulePosition(k, kModuleNaPosition); // complete, and marked as if read
        type(text(2), QStringLiteral("LOBBY"));
        editor().markUnchanged();
        if (before.startsWith(QLatin1String("choice")))
            clickRow(moduleList(0), kModuleBlMrPosition);
        if (before.startsWith(QLatin1String("typed")))
            QTest::keyClicks(text(2), QStringLiteral("X"));
        if (before.endsWith(QLatin1String("undone")))
            QTest::keyClick(text(2), Qt::Key_Z, Qt::ControlModifier); // from a text box too
        if (before.endsWith(QLatin1String("saved"))) {
            dialogs->fileAnswers = {dir.filePath(QStringLiteral("first.pnl"))};
            click("WRITE_FILE");
        }
        if (before == QLatin1String("opened")) {
            dialogs->fileAnswers = {dir.filePath(QStringLiteral("first.pnl"))};
            click("WRITE_FILE");
            clickRow(moduleList(1), kModuleBlMrPosition);
            form->openFile(dir.filePath(QStringLiteral("first.pnl")));
        }
        for (const QString &file : files)
            dialogs->fileAnswers << dir.filePath(file);
        dialogs->saveAnswers = answers;
        if (before.endsWith(QLatin1String("quit"))) {
            activate(); // a shortcut reaches the active window only
            QTest::keyClick(text(2), Qt::Key_Q, Qt::ControlModifier);
        }
        else
            form->close();
        QCOMPARE(dialogs->saveQuestions.size(), asked ? 1 : 0);
        QCOMPARE(form->isVisible(), !closed);
        for (const QString &file : files)
            QVERIFY(QFileInfo::exists(dir.filePath(file)));
    }

    void realMessageBox()
    {
        form.reset();
        form = std::make_unique<Form1>(qtDialogs, line);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));

        QString text, title;
        QList<QAbstractButton *> buttons;
        QMessageBox::StandardButtons standard;
        QMessageBox::Icon icon = QMessageBox::Critical;
        bool answered = false;
        std::function<void()> answer = [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box || !box->isVisible()) {
                QTimer::singleShot(0, answer); // not shown yet
                return;
            }
            text = box->text();
            title = box->windowTitle();
            buttons = box->buttons();
            standard = box->standardButtons();
            icon = box->icon();
            answered = true;
            box->button(QMessageBox::Ok)->click();
        };
        QTimer::singleShot(0, answer);
        QTest::mouseClick(check(), Qt::LeftButton);

        QVERIFY(answered);
        QCOMPARE(text, kLightingText);
        QCOMPARE(title, kLightingTitle);
        QCOMPARE(buttons.size(), 1);
        QCOMPARE(standard, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(icon, QMessageBox::NoIcon);
        QVERIFY(!check()->isChecked());
        QCOMPARE(editor().feature(), 0);
    }
};

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
