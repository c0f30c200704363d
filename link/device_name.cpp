#include "link/device_name.h"

#include <QDir>
#include <QFileInfo>

namespace panel {

QString oneDeviceName(const QString &given)
{
    if (given.isEmpty())
        return given;
    const QString path = given.startsWith(QLatin1Char('/')) ? given : QStringLiteral("/dev/") + given;
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(path) : canonical;
}

} // namespace panel
