#pragma once

#include <QDateTime>
#include <QString>

namespace panel {

// A time as a person reads it, in local time with its offset from UTC: "2026-12-08 22:30:00 +01:00".
inline QString localTimeWithOffset(const QDateTime &time)
{
    if (!time.isValid())
        return QString();
    const QDateTime local = time.toLocalTime();
    const int minutes = local.offsetFromUtc() / 60;
    return local.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss "))
        + QStringLiteral("%1%2:%3")
              .arg(minutes < 0 ? QLatin1Char('-') : QLatin1Char('+'))
              .arg(qAbs(minutes) / 60, 2, 10, QLatin1Char('0'))
              .arg(qAbs(minutes) % 60, 2, 10, QLatin1Char('0'));
}

} // namespace panel
