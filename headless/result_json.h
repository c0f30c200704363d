#pragma once

#include "headless/panel_job.h"

#include <QJsonObject>

namespace panel {

// One result as the command line's JSON tells it: registers and intended as ten values each, null
// for a register the panel was not seen to hold; count is left out when 0.
QJsonObject resultJson(const JobResult &result, int count);
QByteArray compactJson(const QJsonObject &object);

} // namespace panel
