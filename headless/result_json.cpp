#include "headless/result_json.h"

#include "file/history.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace panel {

QJsonObject resultJson(const JobResult &result, int count)
{
    QJsonObject object{{QStringLiteral("port"), result.device},
                       {QStringLiteral("command"), result.command},
                       {QStringLiteral("file"), result.file},
                       {QStringLiteral("result"), result.result},
                       {QStringLiteral("exit_code"), result.exitCode},
                       {QStringLiteral("registers"), registersJson(result.registers)},
                       {QStringLiteral("seconds"), qRound(result.seconds * 1000) / 1000.0}};
    if (result.intended)
        object.insert(QStringLiteral("intended"), registersJson(*result.intended));
    if (!result.differences.isEmpty())
        object.insert(QStringLiteral("differences"), QJsonArray::fromStringList(result.differences));
    if (!result.warnings.isEmpty())
        object.insert(QStringLiteral("warnings"), QJsonArray::fromStringList(result.warnings));
    if (!result.detail.isEmpty())
        object.insert(QStringLiteral("detail"), result.detail);
    if (count > 0)
        object.insert(QStringLiteral("count"), count);
    return object;
}

QByteArray compactJson(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

} // namespace panel
