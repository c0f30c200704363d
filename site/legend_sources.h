#pragma once

#include "site/legend_panel.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace panel {

// A .pnl file given for a legend: its panel, or why the reader refused it.
struct LegendSource {
    QString path;
    std::optional<LegendPanel> panel;
    QString refusal;
};

struct LegendSources {
    std::vector<LegendSource> files; // in the order given, each folder's files sorted by path
    QStringList problems;           // arguments that name no file to read
};

// Each argument is a file, read whatever its name, or a folder, whose .pnl files are read, those in its
// sub-folders too. A folder that cannot be read or holds no .pnl file, and a path that does not exist,
// are problems.
LegendSources readLegendSources(const QStringList &arguments);

} // namespace panel
