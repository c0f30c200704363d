// Writes the face plate as the window draws it at a device pixel ratio of 1, stretched by the window's own
// code, so that start-up decodes this small picture instead of decoding and stretching the original.
// make-images.sh builds and runs it:  stretch-face-plate ORIGINAL WIDTH HEIGHT OUTPUT
#include "ui/face_plate.h"

#include <QFile>
#include <QImageReader>
#include <QtEndian>
#include <cstdio>
#include <cstdlib>

namespace {

// CRC-32 of a PNG chunk's type and data.
quint32 crc32(const QByteArray &bytes)
{
    quint32 crc = 0xFFFFFFFFu;
    for (const char byte : bytes) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

QByteArray bigEndian(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

QByteArray chunk(const char *type, const QByteArray &data)
{
    const QByteArray typed = QByteArray(type) + data;
    return bigEndian(quint32(data.size())) + typed + bigEndian(crc32(typed));
}

// An opaque picture as an 8-bit RGB PNG whose rows are stored unfiltered: the flat picture packs as small
// as with PNG's row filters, and reading it undoes nothing but the compression.
QByteArray pngOf(const QImage &picture)
{
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    QByteArray rows;
    for (int y = 0; y < rgb.height(); ++y) {
        rows.append('\0'); // filter type: none
        rows.append(reinterpret_cast<const char *>(rgb.constScanLine(y)), rgb.width() * 3);
    }
    const QByteArray header = bigEndian(quint32(rgb.width())) + bigEndian(quint32(rgb.height()))
                              + QByteArray("\x08\x02\x00\x00\x00", 5); // 8 bits, RGB, deflate, no interlace
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", header)
           + chunk("IDAT", qCompress(rows, 9).mid(4)) // qCompress puts the length before the zlib stream
           + chunk("IEND", QByteArray());
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: stretch-face-plate ORIGINAL WIDTH HEIGHT OUTPUT\n");
        return 2;
    }
    const QImage original = QImageReader(QString::fromLocal8Bit(argv[1])).read();
    const QSize size(std::atoi(argv[2]), std::atoi(argv[3]));
    if (original.isNull() || size.isEmpty()) {
        std::fprintf(stderr, "stretch-face-plate: cannot read %s\n", argv[1]);
        return 1;
    }
    const QImage picture = panel::stretchedPicture(original, size, 1);
    // Stored without alpha, as the picture is opaque; it must read back as the very pixels drawn.
    const QString output = QString::fromLocal8Bit(argv[4]);
    QFile file(output);
    const QByteArray png = pngOf(picture);
    if (!file.open(QIODevice::WriteOnly) || file.write(png) != png.size() || !file.flush()
        || QImageReader(output, "png").read().convertToFormat(picture.format()) != picture) {
        std::fprintf(stderr, "stretch-face-plate: %s would not give back the pixels drawn\n", argv[4]);
        return 1;
    }
    return 0;
}
