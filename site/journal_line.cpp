#include "site/journal_line.h"

#include <QJsonArray>

namespace panel {

namespace {

// A register value as the journal holds it: nothing for null or anything that is no 16-bit number.
std::optional<qint16> registerValue(const QJsonValue &value)
{
    if (!value.isDouble())
        return std::nullopt;
    const double number = value.toDouble();
    if (number < -32768 || number > 32767)
        return std::nullopt;
    return qint16(number);
}

} // namespace

PanelOperation operationOf(const QJsonObject &line)
{
    PanelOperation operation;
    operation.time = QDateTime::fromString(line.value(QLatin1String("time")).toString(), Qt::ISODateWithMs);
    operation.command = line.value(QLatin1String("command")).toString();
    operation.port = line.value(QLatin1String("port")).toString();
    operation.result = line.value(QLatin1String("result")).toString();
    operation.exitCode = line.value(QLatin1String("exit_code")).toInt();
    operation.panelName = line.value(QLatin1String("panel_name")).toString();
    const QJsonArray registers = line.value(QLatin1String("registers")).toArray();
    for (int reg = 0; reg < kConfigRegisters && reg < registers.size(); ++reg)
        operation.registers[size_t(reg)] = registerValue(registers.at(reg));
    const QJsonArray intended = line.value(QLatin1String("intended")).toArray();
    if (intended.size() == kConfigRegisters) {
        std::array<qint16, kConfigRegisters> values{};
        bool whole = true;
        for (int reg = 0; reg < kConfigRegisters; ++reg) {
            const std::optional<qint16> value = registerValue(intended.at(reg));
            whole = whole && value;
            values[size_t(reg)] = value.value_or(0);
        }
        if (whole)
            operation.intended = values;
    }
    const QJsonArray designations = line.value(QLatin1String("designations")).toArray();
    for (int k = 0; k < kButtons && k < designations.size(); ++k)
        operation.designations[size_t(k)] = designations.at(k).toString();
    return operation;
}

} // namespace panel
