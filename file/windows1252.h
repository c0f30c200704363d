#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <optional>

// Panel files hold one byte per character in Windows-1252, whatever the locale of the machine.
namespace panel {

QString fromWindows1252(QByteArrayView bytes);

// nullopt when a character has no Windows-1252 byte.
std::optional<QByteArray> toWindows1252(QStringView text);

// Whether the text can be written into a quoted field and read back unchanged:
// every character has a byte, and there is no double quote, line end or NUL.
bool isStorableText(QStringView text);

} // namespace panel
