#pragma once

#include <QImage>
#include <QImageReader>
#include <QString>

namespace panel {

// Reads a PNG picture, naming its format so that no image plug-in is loaded to guess it.
inline QImage readPng(const QString &path)
{
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

} // namespace panel
