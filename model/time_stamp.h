#pragma once

#include <QDateTime>
#include <QString>

namespace panel {

// A time as file names carry it, in UTC to the second: 20261208T213000Z.
inline QString fileNameTime(const QDateTime &time)
{
    return time.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
}

} // namespace panel
