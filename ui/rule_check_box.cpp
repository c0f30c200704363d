#include "ui/rule_check_box.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace panel {

RuleCheckBox::RuleCheckBox(const QString &text, QWidget *parent)
    : QCheckBox(text, parent)
{
    connect(this, &QCheckBox::clicked, this, [this] { runRule(); });
}

void RuleCheckBox::setState(int state)
{
    const bool ticked = state != 0;
    if (ticked == isChecked())
        return;
    setChecked(ticked);
    runRule();
}

void RuleCheckBox::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();
    painter.drawControl(QStyle::CE_CheckBox, option);

    QRect textRect = style()->subElementRect(QStyle::SE_CheckBoxContents, &option, this);
    textRect.setRight(rect().right());
    painter.drawItemText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, option.palette,
                         isEnabled(), caption, QPalette::WindowText);
}

bool RuleCheckBox::hitButton(const QPoint &pos) const
{
    return rect().contains(pos);
}

} // namespace panel
