#pragma once

#include <QPalette>
#include <QStyle>
#include <QStyleOptionButton>

class QFont;
class QRect;
class QWidget;

namespace panel {

// Paints a button or a check box as its style does, but with its caption drawn in `font` over `rect`,
// laid out by the Qt::AlignmentFlag and Qt::TextFlag `flags`: a caption that wraps, or is drawn smaller
// where the font at hand would not fit it.
void paintWithCaption(QWidget *control, QStyle::ControlElement element, QStyleOptionButton option, const QRect &rect,
                      int flags, const QFont &font, QPalette::ColorRole role);

} // namespace panel
