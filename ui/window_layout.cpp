#include "ui/window_layout.h"

#include <QFontDatabase>
#include <QStringList>

namespace panel {

namespace {

// The panel's original face where it is installed, else the first metric-compatible stand-in that is.
// Naming an installed family spares each font a lookup that fails and its search for fallbacks, and lets
// the faces that resolve alike share their glyphs.
QString installedFamily(const QString &original)
{
    const QStringList installed = QFontDatabase::families();
    for (const QString &family : {original, QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")}) {
        if (installed.contains(family, Qt::CaseInsensitive))
            return family;
    }
    return original;
}

QFont face(const QString &family, int pixels, bool bold)
{
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

const QString &windowFamily()
{
    static const QString family = installedFamily(QStringLiteral("MS Sans Serif"));
    return family;
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
