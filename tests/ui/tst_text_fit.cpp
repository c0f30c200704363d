// Every caption, label, button text and frame title of the window lies inside its control in the font at
// hand, measured with QFontMetrics as the style lays it out. CTest runs this suite with the system's fonts
// (Liberation Sans, which the layout is drawn for) and again with DejaVu Sans as the only font, as on a
// desktop without Liberation fonts (PANEL_FONT_FAMILY names the family expected there).
#include "idle_line.h"
#include "recording_dialogs.h"
#include "ui/caption_button.h"
#include "ui/form1.h"
#include "ui/rule_check_box.h"
#include "ui/text_fit.h"
#include "window_controls.h"

#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QStyleOptionGroupBox>
#include <QtTest>

using namespace panel;

namespace {

QString family() { return QString::fromLocal8Bit(qgetenv("PANEL_FONT_FAMILY")); }
bool layoutFont() { return family().isEmpty(); }

QString show(const QRect &r) { return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()); }

// Where the text lands at `font` against the box it must stay in.
QByteArray verdict(const QFont &font, const QRect &box, int flags, const QString &text)
{
    const QRect drawn = QFontMetrics(font).boundingRect(box, flags, text);
    return QStringLiteral("'%1' at %2 px %3 (%4) is drawn over %5 in a box of %6")
        .arg(text, QString::number(QFontInfo(font).pixelSize()), QFontInfo(font).family(),
             font.bold() ? QStringLiteral("bold") : QStringLiteral("regular"), show(drawn), show(box))
        .toLocal8Bit();
}

} // namespace

class TestTextFit : public QObject, private WindowControls
{
    Q_OBJECT

    RecordingDialogs dialogs;
    IdleLine line;

private slots:
    void initTestCase()
    {
        form = std::make_unique<Form1>(dialogs, line);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        // The fontconfig of the run is the one meant: the window's faces resolve to the family expected.
        const QString expected = layoutFont() ? QStringLiteral("Liberation Sans") : family();
        QCOMPARE(QFontInfo(form->font()).family(), expected);
        QCOMPARE(QFontInfo(control("READ_CONFIG")->font()).family(), expected);
        if (!layoutFont())
            QVERIFY(!QFontDatabase::families().contains(QStringLiteral("Liberation Sans")));
    }

    void cleanupTestCase() { form.reset(); }

    // The name of the control, and its nominal pixel size: the size of the layout's own font, kept there.
    void fits_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("nominal");
        for (const char *name : {"READ_CONFIG", "WRITE_CONFIG", "READ_FILE", "WRITE_FILE", "Check1", "Label15",
                                 "Label16", "Frame1"})
            QTest::newRow(name) << name << 13;
        for (const char *name : {"Label2", "Label3", "Label4", "Label5", "Label8", "Label9", "Label6", "Label14"})
            QTest::newRow(name) << name << 11;
    }

    void fits()
    {
        QFETCH(QString, name);
        QFETCH(int, nominal);
        QWidget *w = control(name);
        QString text;
        QFont font;
        if (auto *button = qobject_cast<CaptionButton *>(w)) {
            text = button->text();
            font = button->captionFont();
            QVERIFY2(textFits(font, button->captionRect(), CaptionButton::kCaptionFlags, text),
                     verdict(font, button->captionRect(), CaptionButton::kCaptionFlags, text));
            // Two lines, as in the layout's font: never three lines of a wider face.
            const QRect drawn = QFontMetrics(font).boundingRect(button->captionRect(), CaptionButton::kCaptionFlags, text);
            QVERIFY2(drawn.height() < 3 * QFontMetrics(font).height(),
                     verdict(font, button->captionRect(), CaptionButton::kCaptionFlags, text));
        } else if (auto *box = qobject_cast<RuleCheckBox *>(w)) {
            text = box->text();
            font = box->captionFont();
            QVERIFY2(box->rect().contains(box->captionRect()), qPrintable(show(box->captionRect())));
            QVERIFY2(textFits(font, box->captionRect(), RuleCheckBox::kCaptionFlags, text),
                     verdict(font, box->captionRect(), RuleCheckBox::kCaptionFlags, text));
        } else if (auto *label = qobject_cast<QLabel *>(w)) {
            text = label->text();
            font = label->font();
            const int flags = int(label->alignment()) | Qt::TextWordWrap;
            QVERIFY(label->wordWrap());
            QVERIFY2(textFits(font, label->contentsRect(), flags, text),
                     verdict(font, label->contentsRect(), flags, text));
        } else if (auto *frame = qobject_cast<QGroupBox *>(w)) {
            // The title's place as the style computes it from the frame's font.
            text = frame->title();
            font = frame->font();
            QStyleOptionGroupBox option;
            option.initFrom(frame);
            option.text = text;
            option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
            option.textAlignment = frame->alignment();
            option.lineWidth = 1;
            const QRect title = frame->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, frame);
            const int advance = QFontMetrics(font).horizontalAdvance(text);
            QVERIFY2(frame->rect().contains(title) && advance <= title.width(),
                     qPrintable(QStringLiteral("'%1' (%2 px wide) in %3 of frame %4")
                                    .arg(text, QString::number(advance), show(title), show(frame->rect()))));
        } else {
            QFAIL("not a control with a caption");
        }
        // The exact text, drawn no smaller than the smallest size, and at its own size in the layout's font.
        QVERIFY(QFontInfo(font).pixelSize() >= kSmallestTextPixelSize);
        if (layoutFont())
            QCOMPARE(QFontInfo(font).pixelSize(), nominal);
    }

    // Every row of every list is as wide as its list shows without scrolling sideways.
    void listRowsFit()
    {
        for (QListWidget *list : form->findChildren<QListWidget *>()) {
            const int room = list->viewport()->width();
            for (int row = 0; row < list->count(); ++row) {
                const QString text = list->item(row)->text();
                const int width = QFontMetrics(list->font()).horizontalAdvance(text);
                QVERIFY2(width <= room, qPrintable(QStringLiteral("%1 row '%2': %3 px in %4 px")
                                                       .arg(list->objectName(), text)
                                                       .arg(width)
                                                       .arg(room)));
            }
        }
    }
};

QTEST_MAIN(TestTextFit)
#include "tst_text_fit.moc"
