#include "file/panel_name.h"

#include "file/windows1252.h"

namespace panel {

QString panelNameProblem(const QString &name)
{
    if (name.isEmpty())
        return QStringLiteral("the panel name is empty");
    if (name.size() > kPanelNameLimit)
        return QStringLiteral("the panel name \"%1\" is longer than %2 characters").arg(name).arg(kPanelNameLimit);
    if (name.contains(QLatin1Char('"')))
        return QStringLiteral("the panel name %1 holds a double quote").arg(name);
    if (!isStorableText(name))
        return QStringLiteral("the panel name \"%1\" holds a character that a panel file cannot store").arg(name);
    return QString();
}

QString proposedFileName(const QString &panelName)
{
    QString name = panelName;
    name.replace(QLatin1Char('/'), QLatin1Char('-')).replace(QChar(0), QLatin1Char('-'));
    return name + QStringLiteral(".pnl");
}

} // namespace panel
