#include "app/application.h"

#include <QGuiApplication>

namespace panel {

namespace {

QtMessageHandler passOn = nullptr;

void leaveOutRuntimeDirWarning(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg && message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")))
        return;
    passOn(type, context, message);
}

} // namespace

void quietenSessionlessStart()
{
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && !passOn)
        passOn = qInstallMessageHandler(leaveOutRuntimeDirWarning);
}

void describeApplication()
{
    // QSettings() is then ~/.config/panelconfig/panelconfig.conf everywhere in the program.
    QCoreApplication::setOrganizationName(QStringLiteral("panelconfig"));
    QCoreApplication::setApplicationName(QStringLiteral("panelconfig"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PANELCONFIG_VERSION));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopId));
}

} // namespace panel
