// The yardstick for start-up time and memory: a window of panelconfig's size that draws text as any window
// does, in the application's own font and style: a label, a push button with two lines of text, a list of
// three rows, a line edit and a check box, placed as panelconfig places its controls (fixed geometry).
#include "first_paint_probe.h"
#include "yardstick_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(kPanelWindowSize);
    window.setWindowTitle(QStringLiteral("Text window"));

    auto *label = new QLabel(QStringLiteral("A label of a few words"), &window);
    label->setGeometry(16, 16, 200, 24);
    auto *button = new QPushButton(QStringLiteral("A PUSH BUTTON\nOF TWO LINES"), &window);
    button->setGeometry(16, 48, 169, 57);
    auto *list = new QListWidget(&window);
    list->addItems({QStringLiteral("First row"), QStringLiteral("Second row"), QStringLiteral("Third row")});
    list->setGeometry(16, 120, 120, 64);
    list->setCurrentRow(0);
    auto *edit = new QLineEdit(QStringLiteral("Some text to edit"), &window);
    edit->setGeometry(16, 200, 160, 24);
    auto *check = new QCheckBox(QStringLiteral("A check box"), &window);
    check->setGeometry(16, 240, 160, 24);
    check->setChecked(true);
    button->setFocus(Qt::OtherFocusReason);

    FirstPaintProbe probe(window);
    window.show();
    return app.exec();
}
