#include "ui/window_layout.h"

#include "model/font_family.h"

namespace panel {

namespace {

QFont face(const QString &family, int pixels, bool bold)
{
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

const QString &arialFamily()
{
    static const QString family = installedFamily(QStringLiteral("Arial"));
    return family;
}

} // namespace

QFont windowFont() { return face(windowFamily(), 11, true); }
QFont plainFont() { return face(windowFamily(), 11, false); }
QFont arialFont(int pixels, bool bold) { return face(arialFamily(), pixels, bold); }

} // namespace panel
