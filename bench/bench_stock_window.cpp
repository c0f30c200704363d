// The third yardstick: panelconfig's own controls as stock Qt widgets in the application's default font,
// made from the same control table and placed alike (the face plate a picture in a label, each list with
// its rows, the status box hidden), with no text fitting, fonts of the layout, model or wiring. It tells
// what the window's set of controls costs Qt itself, apart from what panelconfig adds to it.
#include "first_paint_probe.h"
#include "yardstick_window.h"

#include "model/codes.h"
#include "ui/control_table.h"
#include "ui/window_layout.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace panel;

namespace {

template<typename Rows>
QListWidget *listOf(const Rows &rows, QWidget *parent)
{
    auto *list = new QListWidget(parent);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (const ListRow &row : rows)
        list->addItem(QString::fromLatin1(row.text));
    list->setCurrentRow(0);
    return list;
}

QWidget *stockControl(const ControlRow &row, QWidget *parent)
{
    const QString text = QString::fromLatin1(row.text ? row.text : "");
    switch (row.kind) {
    case ControlKind::Picture: {
        auto *picture = new QLabel(parent);
        picture->setPixmap(QPixmap(QStringLiteral(":/images/faceplate-313x337.png")));
        return picture;
    }
    case ControlKind::Command:
        return new QPushButton(text, parent);
    case ControlKind::ModuleList:
        return listOf(moduleRows(), parent);
    case ControlKind::ChannelList:
        return listOf(channelRows(), parent);
    case ControlKind::IntensityList:
        return listOf(intensityRows(), parent);
    case ControlKind::Designation:
    case ControlKind::NameBox:
        return new QLineEdit(text, parent);
    case ControlKind::Status: {
        auto *status = new QPlainTextEdit(parent);
        status->hide();
        return status;
    }
    case ControlKind::Frame:
        return new QGroupBox(text, parent);
    case ControlKind::CheckBox:
        return new QCheckBox(text, parent);
    case ControlKind::Line:
    case ControlKind::Marker: {
        auto *drawing = new QFrame(parent);
        drawing->setFrameShape(QFrame::Box);
        return drawing;
    }
    case ControlKind::Caption:
    case ControlKind::CentredCaption:
    case ControlKind::ButtonCaption:
        break;
    }
    auto *label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Q_INIT_RESOURCE(assets);
    QWidget window;
    window.setFixedSize(kPanelWindowSize);
    window.setWindowTitle(QStringLiteral("Stock window"));

    int count = 0;
    const ControlRow *table = controlTable(&count);
    QWidget *frame = nullptr;
    for (int i = 0; i < count; ++i) {
        const ControlRow &row = table[i];
        QWidget *control = stockControl(row, row.inFrame ? frame : &window);
        control->setGeometry(twips(row.place.left(), row.place.top(), row.place.width(), row.place.height()));
        if (row.kind == ControlKind::Frame)
            frame = control;
    }

    FirstPaintProbe probe(window);
    window.show();
    return app.exec();
}
