#include "ui/caption_button.h"

#include "ui/text_fit.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace panel {

CaptionButton::CaptionButton(const QString &caption, QWidget *parent)
    : QPushButton(caption, parent)
{
}

QRect CaptionButton::captionRect() const
{
    QStyleOptionButton option;
    initStyleOption(&option);
    return style()->subElementRect(QStyle::SE_PushButtonContents, &option, this).adjusted(2, 0, -2, 0);
}

QFont CaptionButton::captionFont() const
{
    return fittedFont(font(), captionRect(), kCaptionFlags, text(), kCaptionLines);
}

void CaptionButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);
    painter.setFont(captionFont());
    painter.drawItemText(captionRect(), kCaptionFlags, option.palette, isEnabled(), caption, QPalette::ButtonText);
}

} // namespace panel
