#include "link/protocol.h"

#include <cmath>

namespace panel {

QByteArray hailCommand()
{
    return QByteArrayLiteral("A");
}

QByteArray writeCommand(quint8 address, quint8 data)
{
    const char bytes[] = {'S', 0, char(address), 0, char(data), 'D'};
    return QByteArray(bytes, sizeof bytes);
}

QByteArray readCommand(quint8 address)
{
    const char bytes[] = {'V', 0, char(address), '0', '0', 'V'};
    return QByteArray(bytes, sizeof bytes);
}

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n';
}

} // namespace

ReplyValue replyValue(const QByteArray &reply)
{
    // Long enough for any 16-bit value times ten; more digits than this cannot fit.
    constexpr int kMostDigits = 12;
    int i = 0;
    const int n = int(reply.size());
    auto skipBlanks = [&] {
        while (i < n && isBlank(reply[i]))
            ++i;
    };

    skipBlanks();
    bool negative = false;
    if (i < n && (reply[i] == '+' || reply[i] == '-')) {
        negative = reply[i] == '-';
        ++i;
    }
    double number = 0;
    int digits = 0;
    for (skipBlanks(); i < n && reply[i] >= '0' && reply[i] <= '9'; ++i, skipBlanks()) {
        if (++digits > kMostDigits && number > 0)
            return {false, 0};
        number = number * 10 + (reply[i] - '0');
    }
    if (i < n && reply[i] == '.') {
        double scale = 0.1;
        for (++i, skipBlanks(); i < n && reply[i] >= '0' && reply[i] <= '9'; ++i, skipBlanks()) {
            number += (reply[i] - '0') * scale;
            scale /= 10;
        }
    }
    // nearbyint rounds half to even in the default rounding mode.
    const double value = std::nearbyint((negative ? -number : number) / 10.0);
    if (value < -32768.0 || value > 32767.0)
        return {false, 0};
    return {true, qint16(value)};
}

} // namespace panel
