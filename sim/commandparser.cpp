#include "commandparser.h"

namespace {

constexpr int kFrameLength = 6;
constexpr int kAny = -1;

// Fixed bytes of the six-byte frames; kAny marks the address and data positions.
constexpr int kWriteFrame[kFrameLength] = { 'S', 0x00, kAny, 0x00, kAny, 'D' };
constexpr int kReadFrame[kFrameLength] = { 'V', 0x00, kAny, '0', '0', 'V' };

enum class Match { Mismatch, Partial, Complete };

Match matchFrame(const QByteArray &bytes, const int (&frame)[kFrameLength])
{
    const int available = int(qMin<qsizetype>(bytes.size(), kFrameLength));
    for (int i = 0; i < available; ++i) {
        if (frame[i] != kAny && quint8(bytes.at(i)) != frame[i])
            return Match::Mismatch;
    }
    return available == kFrameLength ? Match::Complete : Match::Partial;
}

} // namespace

QList<Command> CommandParser::feed(const QByteArray &bytes)
{
    m_pending.append(bytes);
    QList<Command> commands;

    while (!m_pending.isEmpty()) {
        const char first = m_pending.at(0);
        if (first == 'A') {
            commands.append(Command{ Command::Hail, 0, 0, 1 });
            m_pending.remove(0, 1);
            continue;
        }
        if (first == 'S' || first == 'V') {
            const bool isWrite = first == 'S';
            const Match match = matchFrame(m_pending, isWrite ? kWriteFrame : kReadFrame);
            if (match == Match::Partial)
                break;
            if (match == Match::Complete) {
                Command command;
                command.kind = isWrite ? Command::Write : Command::Read;
                command.address = quint8(m_pending.at(2));
                command.data = isWrite ? quint8(m_pending.at(4)) : 0;
                command.length = kFrameLength;
                commands.append(command);
                m_pending.remove(0, kFrameLength);
                continue;
            }
        }
        // Not the start of a frame: drop one byte and look again from the next.
        m_pending.remove(0, 1);
        ++m_discarded;
    }
    return commands;
}

void CommandParser::reset()
{
    m_pending.clear();
}
