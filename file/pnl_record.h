#pragma once

#include <QString>
#include <QtGlobal>
#include <array>

namespace panel {

// The 21 fields of a .pnl file, as read or to be written; no field is checked here.
struct PanelFileRecord {
    QString model;
    QString panel;
    std::array<QString, 6> desig;
    std::array<qint16, 6> code{};
    qint16 bl = 0;
    QString fdesig;
    qint16 feature = 0;
    QString ind;
    qint16 indpercent = 0;
    QString blp;
    qint16 blpercent = 0;

    friend bool operator==(const PanelFileRecord &a, const PanelFileRecord &b)
    {
        return a.model == b.model && a.panel == b.panel && a.desig == b.desig && a.code == b.code
            && a.bl == b.bl && a.fdesig == b.fdesig && a.feature == b.feature && a.ind == b.ind
            && a.indpercent == b.indpercent && a.blp == b.blp && a.blpercent == b.blpercent;
    }
    friend bool operator!=(const PanelFileRecord &a, const PanelFileRecord &b) { return !(a == b); }
};

} // namespace panel
