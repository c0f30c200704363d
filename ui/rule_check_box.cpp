#include "ui/rule_check_box.h"

#include "ui/caption_paint.h"
#include "ui/text_fit.h"

#include <QStyleOptionButton>

namespace panel {

RuleCheckBox::RuleCheckBox(const QString &text, QWidget *parent)
    : QCheckBox(text, parent)
{
    connect(this, &QCheckBox::clicked, this, [this] { runRule(); });
}

QRect RuleCheckBox::captionRect() const
{
    QStyleOptionButton option;
    initStyleOption(&option);
    QRect textRect = style()->subElementRect(QStyle::SE_CheckBoxContents, &option, this);
    textRect.setRight(rect().right());
    return textRect;
}

QFont RuleCheckBox::captionFont() const { return fittedFont(font(), captionRect(), kCaptionFlags, text()); }

void RuleCheckBox::paintEvent(QPaintEvent *)
{
    QStyleOptionButton option;
    initStyleOption(&option);
    paintWithCaption(this, QStyle::CE_CheckBox, option, captionRect(), kCaptionFlags, captionFont(), QPalette::WindowText);
}

bool RuleCheckBox::hitButton(const QPoint &pos) const
{
    return rect().contains(pos);
}

} // namespace panel
