#pragma once

#include "file/config_file_ops.h"
#include "file/history.h"
#include "link/panel_operations.h"
#include "model/status_texts.h"

#include <QDir>
#include <QString>
#include <QStringList>

// Sites and histories for the site's tests: panels saved as files, and the operations a history keeps of
// them, written as the window and the command line write them.
namespace panel::test {

inline NamedPanelConfig sitePanel(const QString &name, qint16 firstCode = 0)
{
    NamedPanelConfig named;
    named.panel = name;
    named.config.code = {firstCode, 12, 159, 160, 160, 160};
    named.config.feature = 1;
    named.config.backlight = 3;
    named.designation = {QStringLiteral("ENTRY"), QStringLiteral("HALL"), QStringLiteral("STAIRS"),
                         QStringLiteral("N1"), QStringLiteral("N2"), QStringLiteral("N3")};
    return named;
}

inline bool saveSitePanel(const QString &folder, const QString &file, const NamedPanelConfig &named)
{
    const QString path = folder + QLatin1Char('/') + file;
    return QDir().mkpath(QFileInfo(path).absolutePath()) && save_named_config(path, named).saved();
}

// An operation on the panel: "write", "verify" or "read"; how it went: "same" (done, the panel holding
// the configuration), "other" (done, the panel holding another one) or "fail" (no answer).
inline HistoryEntry siteEntry(const NamedPanelConfig &named, const QString &command, const QString &how,
                              const QDateTime &time, const QString &port = QStringLiteral("/dev/ttyUSB0"))
{
    HistoryEntry entry;
    entry.time = time;
    entry.command = command;
    entry.port = port;
    entry.panelName = named.panel;
    entry.designations = named.designation;
    PanelConfig held = named.config;
    if (how == QLatin1String("other"))
        held.code[0] = qint16(held.code[0] + 1);
    if (command != QLatin1String("read"))
        entry.intended = (command == QLatin1String("write") && how == QLatin1String("other") ? held : named.config).registers();
    if (how == QLatin1String("fail")) {
        entry.result = kNoResponse;
        entry.exitCode = kExitLineFailure;
        return entry;
    }
    const std::array<qint16, kConfigRegisters> registers = held.registers();
    for (int reg = 0; reg < kConfigRegisters; ++reg)
        entry.registers[size_t(reg)] = registers[size_t(reg)];
    if (command == QLatin1String("write")) {
        entry.result = kProgrammed;
    } else if (command == QLatin1String("read")) {
        entry.result = kReadSuccessful;
    } else {
        const bool same = how == QLatin1String("same");
        entry.result = same ? QStringLiteral("SWITCH PANEL MATCHES THE FILE") : QStringLiteral("SWITCH PANEL DIFFERS FROM THE FILE");
        entry.exitCode = same ? kExitDone : kExitDifferences;
    }
    return entry;
}

// Keeps "command:how" operations in the given order, a minute apart from start, oldest first.
inline bool keepOperations(History &history, const NamedPanelConfig &named, const QStringList &operations,
                           const QDateTime &start)
{
    int minute = 0;
    for (const QString &operation : operations) {
        const HistoryEntry entry = siteEntry(named, operation.section(QLatin1Char(':'), 0, 0),
                                             operation.section(QLatin1Char(':'), 1), start.addSecs(qint64(60) * minute++));
        if (!history.keep(entry).failure.isEmpty())
            return false;
    }
    return true;
}

} // namespace panel::test
