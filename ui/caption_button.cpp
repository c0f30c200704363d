#include "ui/caption_button.h"

#include "ui/caption_paint.h"
#include "ui/text_fit.h"

#include <QStyleOptionButton>

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
    QStyleOptionButton option;
    initStyleOption(&option);
    paintWithCaption(this, QStyle::CE_PushButton, option, captionRect(), kCaptionFlags, captionFont(), QPalette::ButtonText);
}

} // namespace panel
