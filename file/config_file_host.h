#pragma once

#include <QString>
#include <optional>

namespace panel {

// What saving and opening a configuration file need of the window besides reporting: its one file dialog.
class ConfigFileHost
{
public:
    virtual ~ConfigFileHost() = default;

    // The dialog keeps the last file name between uses. initialName replaces that name when given (a save
    // proposes one; an open does not).
    virtual std::optional<QString> chooseFile(bool save, const QString &title, const QString &filter,
                                              const std::optional<QString> &initialName) = 0;
};

} // namespace panel
