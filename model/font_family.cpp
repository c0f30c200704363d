#include "model/font_family.h"

#include <QFontDatabase>
#include <QStringList>

namespace panel {

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

const QString &windowFamily()
{
    static const QString family = installedFamily(QStringLiteral("MS Sans Serif"));
    return family;
}

} // namespace panel
