#include "link/read_reply.h"

#include "link/protocol.h"

namespace panel {

namespace {

// About three characters at 9600 baud: the bytes of one reply come closer together than this.
constexpr qint64 kStillArrivingNs = 5'000'000;

bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

} // namespace

void ReadReply::add(const QByteArray &bytes, qint64 atNs)
{
    if (whole() || bytes.isEmpty())
        return;
    m_lastNs = atNs;
    m_bytes += bytes;
    dropLeftovers();
    for (qsizetype i = 0; i < m_bytes.size(); ++i) {
        if (isLineEnd(m_bytes[i])) {
            m_end = i;
            return;
        }
    }
}

void ReadReply::dropLeftovers()
{
    for (;;) {
        if (m_bytes.startsWith(kAcknowledge))
            m_bytes.remove(0, kAcknowledge.size());
        else if (!m_bytes.isEmpty() && isLineEnd(m_bytes.front()))
            m_bytes.remove(0, 1);
        else
            return;
    }
}

QByteArray ReadReply::atTick(qint64 tickNs) const
{
    if (whole())
        return reply();
    if (tickNs - m_lastNs < kStillArrivingNs || kAcknowledge.startsWith(m_bytes))
        return QByteArray();
    return m_bytes;
}

} // namespace panel
