#pragma once

#include "model/window_vars.h"

#include <QString>

namespace panel {

// What the panel read and write need of the main window.
class PanelWindow
{
public:
    virtual ~PanelWindow() = default;

    virtual WindowVars &vars() = 0;
    // Timer1: interval 100 ms, timer_flag = 0, enabled; every tick sets timer_flag to 1.
    virtual void armTimer() = 0;
    // The window is closing: the operation ends at its next wait.
    virtual bool operationAbandoned() const = 0;

    virtual void setStatusVisible(bool visible) = 0;
    virtual void setStatusText(const QString &text) = 0;
    virtual void setStatusColour(quint32 bgr) = 0;

    virtual void setPanelName(const QString &name) = 0;
    // Sets button k's module list to h_index, then its channel list to l_index (rules run).
    virtual void showDecodedButton(int k) = 0;
    // Empties button k's designation box and hides it.
    virtual void clearDesignation(int k) = 0;
    virtual void setIndependentLighting(int state) = 0;
    virtual void show_indicator_code() = 0;
    virtual void show_backlight_code() = 0;
    virtual void gather_switch_codes() = 0;
    virtual void message(const QString &text, const QString &title) = 0;
};

} // namespace panel
