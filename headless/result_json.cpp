#include "headless/result_json.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace panel {

QJsonObject resultJson(const JobResult &result, int count)
{
    QJsonArray registers;
    for (const std::optional<qint16> &value : result.registers)
        registers.append(value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null));
    QJsonObject object{{QStringLiteral("port"), result.device},
                       {QStringLiteral("command"), result.command},
                       {QStringLiteral("file"), result.file},
                       {QStringLiteral("result"), result.result},
                       {QStringLiteral("exit_code"), result.exitCode},
                       {QStringLiteral("registers"), registers},
                       {QStringLiteral("seconds"), qRound(result.seconds * 1000) / 1000.0}};
    if (result.intended) {
        QJsonArray intended;
        for (qint16 value : *result.intended)
            intended.append(value);
        object.insert(QStringLiteral("intended"), intended);
    }
    if (!result.differences.isEmpty())
        object.insert(QStringLiteral("differences"), QJsonArray::fromStringList(result.differences));
    if (!result.warnings.isEmpty())
        object.insert(QStringLiteral("warnings"), QJsonArray::fromStringList(result.warnings));
    if (count > 0)
        object.insert(QStringLiteral("count"), count);
    return object;
}

QByteArray compactJson(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

} // namespace panel
