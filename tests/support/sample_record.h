#pragma once

#include "file/pnl_record.h"

#include <QByteArray>
#include <QList>
#include <QPair>

namespace panel::test {

// The LOBBY panel and its line as the writer must put it, byte for byte.
inline PanelFileRecord lobbyRecord()
{
    PanelFileRecord r;
    r.model = QStringLiteral("00-04412-MDL");
    r.panel = QStringLiteral("LOBBY");
    r.desig = {QStringLiteral("ENTRY"), QStringLiteral("HALL"), QStringLiteral("STAIRS"),
               QStringLiteral("DESIGNATION "), QStringLiteral("DESIGNATION "), QStringLiteral("DESIGNATION ")};
    r.code = {0, 12, 159, 160, 160, 160};
    r.bl = 159;
    r.fdesig = QStringLiteral("feature");
    r.feature = 1;
    r.ind = QStringLiteral("ind%");
    r.indpercent = 10;
    r.blp = QStringLiteral("bl%");
    r.blpercent = 3;
    return r;
}

inline const QByteArray kLobbyFields =
    R"("00-04412-MDL","LOBBY","ENTRY",0,"HALL",12,"STAIRS",159,"DESIGNATION ",160,)"
    R"("DESIGNATION ",160,"DESIGNATION ",160,159,"feature",1,"ind%",10,"bl%",3)";

// The LOBBY line with some fields (numbered from 1) replaced, then `tail`.
inline QByteArray lobbyWith(const QList<QPair<int, QByteArray>> &changes, const QByteArray &tail = "\r\n")
{
    QList<QByteArray> fields = kLobbyFields.split(',');
    for (const auto &change : changes)
        fields[change.first - 1] = change.second;
    return fields.join(',') + tail;
}

} // namespace panel::test
