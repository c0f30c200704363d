#pragma once

#include <QByteArray>
#include <QString>

#include <atomic>

namespace panel {

// Writes every byte to fd, taking up short and interrupted writes again (an interrupted one not once
// stop is set): an empty string, else the system's reason.
QString writeWhole(int fd, const QByteArray &bytes, const std::atomic<bool> *stop = nullptr);

} // namespace panel
