#pragma once

#include "file/pnl_record.h"
#include "model/window_vars.h"

#include <QString>
#include <optional>

namespace panel {

// What saving and opening a configuration file need of the window besides reporting.
class ConfigFileHost
{
public:
    virtual ~ConfigFileHost() = default;

    virtual OperationVars &operationVars() = 0;
    // The window's one file dialog: it keeps the last file name between uses. initialName replaces
    // that name when given (a save proposes one; an open does not).
    virtual std::optional<QString> chooseFile(bool save, const QString &title, const QString &filter,
                                              const std::optional<QString> &initialName) = 0;
    // Every field of a file accepted for opening, before any of it is shown.
    virtual void keepFileRecord(const PanelFileRecord &record) = 0;
};

} // namespace panel
