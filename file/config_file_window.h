#pragma once

#include "model/window_vars.h"

#include <QString>
#include <optional>

namespace panel {

// What saving and opening a configuration file need of the main window.
class ConfigFileWindow
{
public:
    virtual ~ConfigFileWindow() = default;

    virtual WindowVars &vars() = 0;
    virtual void setStatusVisible(bool visible) = 0;
    virtual void setStatusText(const QString &text) = 0;
    virtual void setStatusColour(quint32 bgr) = 0;
    virtual void gather_switch_codes() = 0;

    virtual QString panelName() const = 0;
    virtual void setPanelName(const QString &name) = 0;
    virtual QString designation(int k) const = 0;
    // Sets button k's designation and shows its box.
    virtual void setDesignation(int k, const QString &text) = 0;
    virtual void setModulePosition(int k, int position) = 0;
    virtual void setChannelPosition(int k, int position) = 0;
    virtual void setIndependentLighting(int state) = 0;
    virtual void show_indicator_code() = 0;
    virtual void show_backlight_code() = 0;

    virtual void message(const QString &text, const QString &title) = 0;
    // The window's one file dialog: it keeps the last file name between uses. initialName replaces
    // that name when given (a save proposes one; an open does not).
    virtual std::optional<QString> chooseFile(bool save, const QString &title, const QString &filter,
                                              const std::optional<QString> &initialName) = 0;
};

} // namespace panel
