#include "headless/file_name_fields.h"

#include "link/device_name.h"
#include "model/time_stamp.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace panel {

namespace {

const QString kPort = QStringLiteral("{port}");
const QString kCount = QStringLiteral("{n}");
const QString kTime = QStringLiteral("{time}");

// Numbers above this are not counted on: the next one must still fit.
constexpr qint64 kHighestNumber = 999999999;

QString portName(const QString &device) { return QFileInfo(oneDeviceName(device)).fileName(); }

// The names a file name pattern gives, as a regular expression whose first group is {n}.
QRegularExpression namesOf(const QString &pattern, const QStringList &devices)
{
    QStringList ports;
    for (const QString &device : devices)
        ports << QRegularExpression::escape(portName(device));
    static const QRegularExpression field(QStringLiteral("\\{(port|n|time)\\}"));
    QString expression = QStringLiteral("^");
    qsizetype at = 0;
    bool numbered = false;
    for (QRegularExpressionMatchIterator fields = field.globalMatch(pattern); fields.hasNext();) {
        const QRegularExpressionMatch match = fields.next();
        expression += QRegularExpression::escape(pattern.mid(at, match.capturedStart() - at));
        if (match.captured(1) == QLatin1String("n")) {
            expression += numbered ? QStringLiteral("\\1") : QStringLiteral("(\\d{3,})");
            numbered = true;
        } else if (match.captured(1) == QLatin1String("port")) {
            expression += QStringLiteral("(?:%1)").arg(ports.join(QLatin1Char('|')));
        } else {
            expression += QStringLiteral("\\d{8}T\\d{6}Z");
        }
        at = match.capturedEnd();
    }
    return QRegularExpression(expression + QRegularExpression::escape(pattern.mid(at)) + QLatin1Char('$'));
}

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
    name.replace(kTime, fileNameTime(time));
    return name;
}

int highestNumberTaken(const QString &pattern, const QStringList &devices)
{
    const QFileInfo info(pattern);
    const QString folderPattern = info.path();
    if (!info.fileName().contains(kCount) || folderPattern.contains(kCount) || folderPattern.contains(kTime))
        return 0;
    const QRegularExpression names = namesOf(info.fileName(), devices);
    qint64 highest = 0;
    QStringList folders;
    for (const QString &device : devices)
        folders << QString(folderPattern).replace(kPort, portName(device));
    folders.removeDuplicates();
    for (const QString &folder : folders) {
        const QStringList entries = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        for (const QString &entry : entries) {
            const QRegularExpressionMatch match = names.match(entry);
            bool isNumber = false;
            const qint64 n = match.hasMatch() ? match.captured(1).toLongLong(&isNumber) : 0;
            if (isNumber && n <= kHighestNumber)
                highest = qMax(highest, n);
        }
    }
    return int(highest);
}

} // namespace panel
