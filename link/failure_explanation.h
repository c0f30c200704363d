#pragma once

#include "link/line_trace.h"
#include "link/panel_operations.h"

#include <QList>
#include <QString>

namespace panel {

// What a person can learn from the line of a whole-panel operation that did not end well: for a write,
// which registers were written and verified and which were not, and to write again; for a read, which
// register failed and the reply it got; for no answer, whether any byte at all came back, and which.
// Empty for an operation that ended well, or whose failure the line does not explain.
QString explainFailure(const QString &command, PanelOutcome outcome, const QList<TraceLine> &trace);

// Bytes as a person reads them: "0730." (30 37 33 30 0D), or "no byte".
QString bytesShown(const QByteArray &bytes);

} // namespace panel
