#include "app/application.h"

#include <QGuiApplication>

namespace panel {

void describeApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("panelconfig"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PANELCONFIG_VERSION));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopId));
}

} // namespace panel
