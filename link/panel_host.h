#pragma once

#include "model/window_vars.h"

namespace panel {

// What a panel operation needs of whoever runs it besides reporting: its working variables, the
// 100 ms timer, and whether it is being abandoned.
class PanelHost
{
public:
    virtual ~PanelHost() = default;

    virtual OperationVars &operationVars() = 0;
    // Interval 100 ms, timer_flag = 0, enabled; every tick sets timer_flag to 1.
    virtual void armTimer() = 0;
    // The window is closing, or the command line was told to stop: the operation ends at its next wait.
    virtual bool operationAbandoned() const = 0;
    // A value the panel was seen to hold: a register read whole, or a write's read-back.
    virtual void registerSeen(int address, qint16 value) { Q_UNUSED(address) Q_UNUSED(value) }
};

} // namespace panel
