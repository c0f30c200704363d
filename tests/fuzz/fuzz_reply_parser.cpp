#include "link/protocol.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

[[noreturn]] void fail(const char *what, const QByteArray &reply)
{
    std::fprintf(stderr, "%s: \"%s\"\n", what, reply.toPercentEncoding(" .+-").constData());
    std::abort();
}

bool blank(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool digit(char c) { return c >= '0' && c <= '9'; }

// Where the number's digits begin: after leading blanks, a sign and blanks again.
qsizetype digitsStart(const QByteArray &reply)
{
    qsizetype i = 0;
    while (i < reply.size() && blank(reply[i]))
        ++i;
    if (i < reply.size() && (reply[i] == '+' || reply[i] == '-'))
        ++i;
    while (i < reply.size() && blank(reply[i]))
        ++i;
    return i;
}

struct Expected {
    bool fits;
    long long value;
};

// The same value computed another way: the number scaled to an integer of millionths, divided by ten
// million, the remainder compared with a half.
Expected expected(const QByteArray &reply)
{
    qsizetype i = digitsStart(reply);
    const bool negative = i > 0 && reply.left(i).contains('-');
    std::string whole, fraction;
    for (; i < reply.size() && (digit(reply[i]) || blank(reply[i])); ++i) {
        if (digit(reply[i]))
            whole += reply[i];
    }
    if (i < reply.size() && reply[i] == '.') {
        for (++i; i < reply.size() && (digit(reply[i]) || blank(reply[i])); ++i) {
            if (digit(reply[i]))
                fraction += reply[i];
        }
    }
    whole.erase(0, whole.find_first_not_of('0') == std::string::npos ? whole.size() : whole.find_first_not_of('0'));
    if (whole.size() > 12)
        return Expected{false, 0};
    const bool sticky = fraction.size() > 6 && fraction.find_first_not_of('0', 6) != std::string::npos;
    fraction = fraction.substr(0, 6);
    fraction.resize(6, '0');
    const long long scaled = std::stoll(whole.empty() ? "0" : whole) * 1000000 + std::stoll(fraction);
    const long long divisor = 10000000;
    long long magnitude = scaled / divisor;
    const long long rest = scaled % divisor;
    if (rest > divisor / 2 || (rest == divisor / 2 && (sticky || magnitude % 2 == 1)))
        ++magnitude;
    const long long value = negative ? -magnitude : magnitude;
    if (value < -32768 || value > 32767)
        return Expected{false, 0};
    return Expected{true, value};
}

} // namespace

// Any bytes as a read reply: the value must agree with the oracle, and neither one more leading zero
// nor blanks between the digits may change it.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray reply(reinterpret_cast<const char *>(data), qsizetype(size));
    const panel::ReplyValue value = panel::replyValue(reply);

    const Expected oracle = expected(reply);
    if (oracle.fits != value.fits || (value.fits && oracle.value != value.value))
        fail("the value differs from the oracle's", reply);

    QByteArray zeroed = reply;
    zeroed.insert(digitsStart(reply), '0');
    const panel::ReplyValue again = panel::replyValue(zeroed);
    if (again.fits != value.fits || again.value != value.value)
        fail("a leading zero changed the value", reply);

    QByteArray spaced;
    const qsizetype start = digitsStart(reply);
    spaced = reply.left(start);
    qsizetype i = start;
    for (; i < reply.size() && digit(reply[i]); ++i)
        spaced += QByteArray(1, reply[i]) + ' ';
    spaced += reply.mid(i);
    const panel::ReplyValue third = panel::replyValue(spaced);
    if (third.fits != value.fits || third.value != value.value)
        fail("blanks between the digits changed the value", reply);
    return 0;
}
