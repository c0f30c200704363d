#include "file/windows1252.h"

namespace panel {
namespace {

// Bytes 0x80..0x9F; the five that Windows-1252 leaves undefined stand for the C1 control of the
// same value, so that every byte reads and writes back unchanged.
constexpr char16_t kHighTable[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

std::optional<uchar> byteFor(char16_t unit)
{
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF))
        return uchar(unit);
    for (int i = 0; i < 32; ++i) {
        if (kHighTable[i] == unit)
            return uchar(0x80 + i);
    }
    return std::nullopt;
}

} // namespace

QString fromWindows1252(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char c : bytes) {
        const uchar b = uchar(c);
        *out++ = QChar(b >= 0x80 && b < 0xA0 ? kHighTable[b - 0x80] : char16_t(b));
    }
    return text;
}

std::optional<QByteArray> toWindows1252(QStringView text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char *out = bytes.data();
    for (const QChar ch : text) {
        const auto b = byteFor(ch.unicode());
        if (!b)
            return std::nullopt;
        *out++ = char(*b);
    }
    return bytes;
}

bool isStorableText(QStringView text)
{
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u == u'"' || u == u'\r' || u == u'\n' || u == 0 || !byteFor(u))
            return false;
    }
    return true;
}

} // namespace panel
