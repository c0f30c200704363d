#pragma once

#include "model/panel_config.h"

#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <array>
#include <optional>

namespace panel {

// What the site needs of one journal line: which operation, when, where, how it ended, what the panel
// was seen to hold and what was meant for it.
struct PanelOperation {
    QDateTime time;
    QString command; // read, write, verify or backup
    QString port;
    QString result;
    int exitCode = 0;
    SeenRegisters registers{};
    std::optional<std::array<qint16, kConfigRegisters>> intended;
    QString panelName;
    std::array<QString, kButtons> designations;
};

PanelOperation operationOf(const QJsonObject &line);

} // namespace panel
