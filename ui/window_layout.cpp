#include "ui/window_layout.h"

#include <QStringList>

namespace panel {

namespace {

QFont face(const QString &family, int pixels, bool bold)
{
    static const bool substituted = [] {
        // Metric-compatible faces stand in where the panel's original ones are not installed.
        const QStringList stand_ins = {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")};
        QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), stand_ins);
        QFont::insertSubstitutions(QStringLiteral("Arial"), stand_ins);
        return true;
    }();
    Q_UNUSED(substituted);
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

} // namespace

QFont windowFont() { return face(QStringLiteral("MS Sans Serif"), 11, true); }
QFont plainFont() { return face(QStringLiteral("MS Sans Serif"), 11, false); }
QFont arialFont(int pixels, bool bold) { return face(QStringLiteral("Arial"), pixels, bold); }

} // namespace panel
