#include "ui/control_factory.h"

#include "file/panel_name.h"
#include "model/codes.h"
#include "ui/caption_button.h"
#include "ui/control_table.h"
#include "ui/face_plate.h"
#include "ui/rule_check_box.h"
#include "ui/selection_list.h"
#include "ui/status_box.h"
#include "ui/text_box.h"
#include "ui/text_fit.h"
#include "ui/window_layout.h"

#include <QGroupBox>
#include <QLabel>

namespace panel {

namespace {

// Long enough for any label on a panel, short enough that a saved file always reads back.
constexpr int kDesignationLimit = 255;

QFont fontOf(ControlFont font)
{
    switch (font) {
    case ControlFont::Plain:
        return plainFont();
    case ControlFont::Arial13Bold:
        return arialFont(13, true);
    case ControlFont::Arial11:
        return arialFont(11, false);
    case ControlFont::Window:
        break;
    }
    return windowFont();
}

QLabel *makeCaption(const ControlRow &row, QWidget *parent, Qt::Alignment alignment)
{
    auto *label = new QLabel(QString::fromLatin1(row.text), parent);
    label->setWordWrap(true);
    label->setAlignment(alignment);
    return label;
}

} // namespace

QWidget *makeControl(const ControlRow &row, QWidget *parent)
{
    const QString text = QString::fromLatin1(row.text);
    switch (row.kind) {
    case ControlKind::Picture:
        return new FacePlate(parent);
    case ControlKind::Command: {
        auto *button = new CaptionButton(text, parent);
        button->setAutoDefault(false);
        return button;
    }
    case ControlKind::ModuleList:
    case ControlKind::ChannelList:
    case ControlKind::IntensityList: {
        auto *list = new SelectionList(parent);
        if (row.kind == ControlKind::ModuleList)
            list->addRows(moduleRows());
        else if (row.kind == ControlKind::ChannelList)
            list->addRows(channelRows());
        else
            list->addRows(intensityRows());
        return list;
    }
    case ControlKind::Designation: {
        auto *box = new TextBox(kDesignationLimit, parent);
        box->setText(text);
        return box;
    }
    case ControlKind::NameBox:
        return new TextBox(kPanelNameLimit, parent);
    case ControlKind::Status: {
        auto *status = new StatusBox(parent);
        status->hide();
        return status;
    }
    case ControlKind::Caption:
    case ControlKind::ButtonCaption:
        return makeCaption(row, parent, Qt::AlignLeft | Qt::AlignTop);
    case ControlKind::CentredCaption:
        return makeCaption(row, parent, Qt::AlignHCenter | Qt::AlignTop);
    case ControlKind::Frame:
        return new QGroupBox(text, parent);
    case ControlKind::CheckBox: {
        auto *box = new RuleCheckBox(text, parent);
        box->setChecked(true); // built ticked; the start-up steps untick it
        return box;
    }
    case ControlKind::Line:
        return new Drawing(Drawing::Filled, parent->palette().color(QPalette::WindowText), 2, parent);
    case ControlKind::Marker:
        return new Drawing(Drawing::Outline, QColor(128, 255, 255), 2, parent);
    }
    return nullptr;
}

void placeControl(QWidget *control, const ControlRow &row)
{
    control->setObjectName(QString::fromLatin1(row.name));
    // The line is 2 pixels thick, centred on its twips row.
    control->setGeometry(row.kind == ControlKind::Line
                             ? QRect(row.place.left() / 15, row.place.top() / 15 - 1, row.place.width() / 15, 2)
                             : twips(row.place.left(), row.place.top(), row.place.width(), row.place.height()));
    const QFont font = fontOf(row.font);
    if (auto *label = qobject_cast<QLabel *>(control))
        fitLabel(label, font);
    else if (auto *frame = qobject_cast<QGroupBox *>(control))
        fitGroupBoxTitle(frame, font);
    else if (auto *status = qobject_cast<StatusBox *>(control))
        status->setBaseFont(font);
    else if (row.kind != ControlKind::Designation)
        control->setFont(font); // a designation box keeps the window's font
    if (row.tooltip) {
        control->setToolTip(QString::fromLatin1(row.tooltip));
        control->setAccessibleDescription(control->toolTip());
    }
    if (row.accessibleName)
        control->setAccessibleName(QString::fromLatin1(row.accessibleName));
    else if (row.kind == ControlKind::Command)
        control->setAccessibleName(QString::fromLatin1(row.text));
    if (row.tab < 0)
        control->setFocusPolicy(Qt::NoFocus);
}

void colourButtonCaption(QLabel *caption, const QPalette &window)
{
    caption->setAutoFillBackground(true);
    QPalette colours = caption->palette();
    colours.setColor(QPalette::Window, window.color(QPalette::Disabled, QPalette::WindowText));
    colours.setColor(QPalette::WindowText, window.color(QPalette::HighlightedText));
    caption->setPalette(colours);
}

} // namespace panel
