#pragma once

#include <QtGlobal>

class QTimer;

namespace panel {

// What a panel operation needs of whoever runs it besides reporting: the 100 ms timer, and whether
// the operation is being abandoned. The operation keeps its own working values.
class PanelHost
{
public:
    virtual ~PanelHost() = default;

    // The timer that paces and times out the exchanges; the operation sets it to 100 ms and starts it
    // before every wait, and each tick ends the wait under way.
    virtual QTimer &timer() = 0;
    // The tick's length: 100 ms for a panel; a scripted line in a test may take a shorter one.
    virtual int tickMilliseconds() const = 0;
    // The window is closing, or the command line was told to stop: the operation ends at its next wait.
    virtual bool operationAbandoned() const = 0;
};

} // namespace panel
