#pragma once

#include <QString>

namespace panel {

// Why no file can be made at path because its name is too long for the file system of its folder
// (longer than NAME_MAX, or the whole path than PATH_MAX, as pathconf tells for that folder), or
// nothing. The folder must exist.
QString nameTooLongReason(const QString &path);

} // namespace panel
