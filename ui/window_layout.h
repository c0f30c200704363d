#pragma once

#include <QFont>
#include <QRect>

namespace panel {

// Positions are laid out in twips, 15 to the pixel.
constexpr QRect twips(int left, int top, int width, int height)
{
    return QRect(left / 15, top / 15, width / 15, height / 15);
}

// Sans serif faces at the pixel sizes the layout was drawn for (8.25 pt = 11 px, 9.75 pt = 13 px).
QFont windowFont();                  // MS Sans Serif 8.25 pt bold
QFont plainFont();                   // MS Sans Serif 8.25 pt
QFont arialFont(int pixels, bool bold);

} // namespace panel
