#include "headless/file_name_fields.h"

#include <QFileInfo>

namespace panel {

namespace {

const QString kPort = QStringLiteral("{port}");
const QString kCount = QStringLiteral("{n}");
const QString kTime = QStringLiteral("{time}");

} // namespace

FileNameFields fileNameFields(const QString &pattern)
{
    return {pattern.contains(kPort), pattern.contains(kCount), pattern.contains(kTime)};
}

QString expandFileName(const QString &pattern, const QString &device, int n, const QDateTime &time)
{
    QString name = pattern;
    name.replace(kPort, QFileInfo(device).fileName());
    name.replace(kCount, QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0')));
    name.replace(kTime, time.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'")));
    return name;
}

} // namespace panel
