#include "ui/caption_paint.h"

#include <QStylePainter>

namespace panel {

void paintWithCaption(QWidget *control, QStyle::ControlElement element, QStyleOptionButton option, const QRect &rect,
                      int flags, const QFont &font, QPalette::ColorRole role)
{
    QStylePainter painter(control);
    const QString caption = option.text;
    option.text.clear();
    painter.drawControl(element, option);
    painter.setFont(font);
    painter.drawItemText(rect, flags, option.palette, control->isEnabled(), caption, role);
}

} // namespace panel
