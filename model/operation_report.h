#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

namespace panel {

// What the panel and file operations tell whoever runs them, the window or the command line: the
// status of the operation and the messages it shows. What they show of a configuration goes to the
// editor model.
class OperationReport
{
public:
    virtual ~OperationReport() = default;

    // The status of the operation, shown; its colour (0xBBGGRR) changes only when given.
    virtual void reportStatus(const QString &text, std::optional<quint32> colour = std::nullopt) = 0;
    virtual void hideStatus() = 0;
    // A modal message; an empty title means the application's own.
    virtual void message(const QString &text, const QString &title) = 0;
};

} // namespace panel
