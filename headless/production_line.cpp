#include "headless/production_line.h"

#include "headless/port_worker.h"

#include <QDateTime>
#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <memory>
#include <vector>

namespace panel {

namespace {

QJsonObject toJson(const JobResult &result, int count)
{
    QJsonObject object{{QStringLiteral("port"), result.device},
                       {QStringLiteral("command"), result.command},
                       {QStringLiteral("file"), result.file},
                       {QStringLiteral("result"), result.result},
                       {QStringLiteral("exit_code"), result.exitCode},
                       {QStringLiteral("seconds"), qRound(result.seconds * 1000) / 1000.0}};
    if (result.registers) {
        QJsonArray registers;
        for (qint16 value : *result.registers)
            registers.append(value);
        object.insert(QStringLiteral("registers"), registers);
    }
    if (!result.differences.isEmpty())
        object.insert(QStringLiteral("differences"), QJsonArray::fromStringList(result.differences));
    if (!result.warnings.isEmpty())
        object.insert(QStringLiteral("warnings"), QJsonArray::fromStringList(result.warnings));
    if (count > 0)
        object.insert(QStringLiteral("count"), count);
    return object;
}

QString compact(const QJsonObject &object)
{
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

} // namespace

int runProductionLine(const ProductionRun &run, QTextStream &out, QTextStream &err, const std::atomic<bool> &stop)
{
    qRegisterMetaType<JobResult>();
    QFile log(run.logPath);
    if (!run.logPath.isEmpty() && !log.open(QIODevice::Append | QIODevice::Text)) {
        err << "panelconfig: the log " << run.logPath << " cannot be written: " << log.errorString() << Qt::endl;
        return kExitFileFailure;
    }

    int worst = kExitDone;
    int panels = 0;
    int done = 0;
    QEventLoop loop;
    int running = int(run.devices.size());
    std::vector<std::unique_ptr<PortWorker>> workers;
    for (const QString &device : run.devices) {
        workers.push_back(std::make_unique<PortWorker>(run.request, device, run.repeat, stop));
        PortWorker *worker = workers.back().get();
        QObject::connect(worker, &PortWorker::panelDone, &loop, [&](const JobResult &result) {
            ++panels;
            done += result.exitCode == kExitDone ? 1 : 0;
            worst = qMax(worst, result.exitCode);
            const int count = run.repeat ? panels : 0;
            for (const QString &warning : result.warnings)
                err << "panelconfig: " << result.device << ": warning: " << warning << Qt::endl;
            if (run.json) {
                out << compact(toJson(result, count)) << Qt::endl;
            } else {
                out << result.device << (count > 0 ? QStringLiteral(" #%1").arg(count) : QString()) << ": "
                    << QString(result.result).replace(QChar(10), QStringLiteral(": "))
                    << QStringLiteral(" (%1 s)").arg(result.seconds, 0, 'f', 2) << Qt::endl;
                for (const QString &difference : result.differences)
                    out << result.device << ":   " << difference << Qt::endl;
            }
            if (log.isOpen()) {
                QJsonObject entry = toJson(result, count);
                entry.insert(QStringLiteral("time"), QDateTime::currentDateTime().toString(Qt::ISODateWithMs));
                log.write(compact(entry).toUtf8() + '\n');
                log.flush();
            }
        });
        QObject::connect(worker, &QThread::finished, &loop, [&] {
            if (--running == 0)
                loop.quit();
        });
    }
    for (const auto &worker : workers)
        worker->start();
    if (running > 0)
        loop.exec();
    for (const auto &worker : workers)
        worker->wait();

    if (run.repeat) {
        if (run.json) {
            out << compact({{QStringLiteral("tally"),
                             QJsonObject{{QStringLiteral("panels"), panels}, {QStringLiteral("done"), done},
                                         {QStringLiteral("not_done"), panels - done}}}})
                << Qt::endl;
        } else {
            out << QStringLiteral("tally: %1 panels, %2 done, %3 not done").arg(panels).arg(done).arg(panels - done)
                << Qt::endl;
        }
    }
    return worst;
}

} // namespace panel
