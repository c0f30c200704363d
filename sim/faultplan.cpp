#include "faultplan.h"

#include <QStringList>

namespace {

// splitmix64: tiny, and its output is fixed by its definition on every platform.
class Dice
{
public:
    explicit Dice(quint64 state)
        : m_state(state)
    {
    }

    quint64 next()
    {
        quint64 z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

    int below(int bound) { return int(next() % quint64(bound)); }
    int between(int low, int high) { return low + below(high - low + 1); }

private:
    quint64 m_state;
};

// "No fault" gets a third of the sessions; the faults share the rest equally.
constexpr int kNoneWeight = 11;
constexpr int kFaultWeight = 2;
// Faults placed at a command hit one of the first 11: a read is 11 commands, a write 22.
constexpr int kLastPlacedCommand = 10;

const char *const kNames[SessionFault::KindCount] = {
    "none", "silence", "late", "short", "garbage", "doubled", "identity",
    "readback-differs", "out-of-range", "flood", "close", "hail-from",
};

// Bytes that cannot begin a number, so no reader can mistake them for a register value.
const QByteArray kGarbageBytes = QByteArrayLiteral("!\"#$%&'()*,/:;<=>?@ABCEFGHIJKLMNOPQRTUWXYZ[\\]^_`{|}~\x7f\x80\xa0\xff");

} // namespace

QString SessionFault::kindName(Kind kind)
{
    return QLatin1String(kNames[kind]);
}

QString SessionFault::describe() const
{
    QStringList words { QStringLiteral("fault=") + kindName(kind) };
    const auto add = [&words](const char *key, int number) {
        words << QStringLiteral("%1=%2").arg(QLatin1String(key)).arg(number);
    };
    switch (kind) {
    case None:
    case KindCount:
        break;
    case Silence:
    case Short:
        add("from", at);
        break;
    case Garbage:
    case Doubled:
        add("at", at);
        break;
    case Late:
        add("ms", value);
        break;
    case Identity:
        add("value", value);
        break;
    case ReadbackDiffers:
        add("register", address);
        break;
    case OutOfRange:
        add("register", address);
        add("value", value);
        break;
    case Flood:
        add("at", at);
        add("bytes", value);
        break;
    case CloseLine:
        add("after", at);
        break;
    case HailFrom:
        add("n", value);
        break;
    }
    return words.join(QLatin1Char(' '));
}

QByteArray SessionFault::garbage(qsizetype length) const
{
    Dice dice(noise);
    QByteArray bytes;
    for (qsizetype i = 0; i < length; ++i)
        bytes.append(kGarbageBytes.at(dice.below(int(kGarbageBytes.size()))));
    return bytes;
}

QByteArray SessionFault::flood() const
{
    Dice dice(noise);
    QByteArray bytes;
    bytes.reserve(value);
    for (int i = 0; i < value; ++i)
        bytes.append(char(dice.next() & 0xFF));
    return bytes;
}

SessionFault FaultDraw::draw(qint64 session) const
{
    Dice dice(m_seed * 0xD1B54A32D192ED03ULL ^ quint64(session));
    dice.next(); // neighbouring seeds start far apart

    SessionFault fault;
    int ticket = dice.below(kNoneWeight + kFaultWeight * (SessionFault::KindCount - 1));
    fault.kind = ticket < kNoneWeight ? SessionFault::None
                                      : SessionFault::Kind(1 + (ticket - kNoneWeight) / kFaultWeight);
    fault.noise = dice.next();

    switch (fault.kind) {
    case SessionFault::None:
    case SessionFault::KindCount:
        break;
    case SessionFault::Silence:
    case SessionFault::Short:
    case SessionFault::Garbage:
    case SessionFault::Doubled:
        fault.at = dice.between(0, kLastPlacedCommand);
        break;
    case SessionFault::Late:
        // A third within the reader's 100 ms tick, the rest well beyond it.
        fault.value = dice.below(3) == 0 ? dice.between(10, 60) : dice.between(150, 900);
        break;
    case SessionFault::Identity:
        fault.value = dice.between(0, 159);
        if (fault.value >= 73)
            ++fault.value; // anything but 73
        break;
    case SessionFault::ReadbackDiffers:
        fault.address = dice.between(0, 9);
        break;
    case SessionFault::OutOfRange:
        fault.address = dice.between(0, 9);
        fault.value = dice.between(161, 999);
        break;
    case SessionFault::Flood:
        fault.at = dice.between(0, kLastPlacedCommand);
        fault.value = dice.between(2048, 32768);
        break;
    case SessionFault::CloseLine:
        fault.at = dice.between(1, kLastPlacedCommand);
        break;
    case SessionFault::HailFrom:
        fault.value = dice.between(2, 9);
        break;
    }
    return fault;
}
