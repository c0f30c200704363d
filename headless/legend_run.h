#pragma once

#include "site/legend_layout.h"

#include <QString>
#include <QStringList>

namespace panel {

class TextOutput;

struct LegendRequest {
    QString output;     // the PDF
    QStringList inputs; // .pnl files and folders of them
    LegendSize size;
    bool replace = false; // an existing output may be replaced
};

// Writes the legends of every panel given into one PDF, saved whole or not at all. Nothing is written
// when any file is refused or any text does not fit: each is told on `err`. Returns the exit code.
int writeLegends(const LegendRequest &request, TextOutput &out, TextOutput &err);

} // namespace panel
