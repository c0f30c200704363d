#include "link/protocol.h"


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
    // Beyond this the value cannot fit 16 bits; leading zeros never count towards it.
    constexpr quint64 kBeyondAnyValue = 1'000'000'000'000ULL;
    qsizetype i = 0;
    const qsizetype n = reply.size();
    const auto skipBlanks = [&] {
        while (i < n && isBlank(reply[i]))
            ++i;
    };
    const auto isDigit = [&] { return i < n && reply[i] >= '0' && reply[i] <= '9'; };

    skipBlanks();
    bool negative = false;
    if (i < n && (reply[i] == '+' || reply[i] == '-')) {
        negative = reply[i] == '-';
        ++i;
    }
    quint64 whole = 0; // saturates at kBeyondAnyValue
    for (skipBlanks(); isDigit(); ++i, skipBlanks())
        whole = qMin(whole * 10 + quint64(reply[i] - '0'), kBeyondAnyValue);
    // The value is whole / 10 rounded half to even: the last whole digit and the fraction decide.
    bool fractionAboveZero = false;
    if (i < n && reply[i] == '.') {
        for (++i, skipBlanks(); isDigit(); ++i, skipBlanks())
            fractionAboveZero = fractionAboveZero || reply[i] != '0';
    }
    quint64 magnitude = whole / 10;
    const quint64 last = whole % 10;
    if (last > 5 || (last == 5 && (fractionAboveZero || magnitude % 2 == 1)))
        ++magnitude;
    if (magnitude > (negative ? 32768U : 32767U))
        return {false, 0};
    return {true, qint16(negative ? -qint64(magnitude) : qint64(magnitude))};
}

} // namespace panel
