#pragma once

#include <QString>
#include <optional>

namespace panel {

struct ProductionRun;

struct RunRefusal {
    int exitCode;
    QString message;
};

// Everything about a run that can be known before a port is opened, checked once: the devices are
// distinct, the file of --write or --verify is one the window opens (its configuration and the
// messages the window shows for it go into the request), and --read has a name for every panel that
// the file system takes, a panel name the window would save and no file it must not replace. The
// count of the read target, when it has one, is set to the highest {n} already taken.
std::optional<RunRefusal> checkRun(ProductionRun &run);

// The same device given under two names (a link, /dev/../dev/..., a short name), or nothing.
std::optional<RunRefusal> sameDeviceTwice(const QStringList &devices);

} // namespace panel
