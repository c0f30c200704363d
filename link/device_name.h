#pragma once

#include <QString>

namespace panel {

// The one name of a serial device, the same however it was given: a short name such as ttyUSB0 or
// pts/5 is in /dev (as the serial port takes it), and a link such as /dev/serial/by-id/... is the
// name of the device it leads to, where it exists. Nothing for nothing.
QString oneDeviceName(const QString &given);

} // namespace panel
