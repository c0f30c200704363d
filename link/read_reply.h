#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace panel {

// The bytes that answer one read command, gathered as they arrive. The reply ends with its first line
// end (CR or LF). Acknowledgements and line ends in front of it are what is left of an earlier reply
// that came late, and no part of it.
class ReadReply
{
public:
    // Bytes that arrived at the given time (nanoseconds on any one clock).
    void add(const QByteArray &bytes, qint64 atNs);
    bool whole() const { return m_end >= 0; }
    // Some byte of the reply itself has come, besides what was left of an earlier one.
    bool begun() const { return !m_bytes.isEmpty(); }
    // A whole reply, up to and including its line end.
    QByteArray reply() const { return m_bytes.left(m_end + 1); }
    // When the time is up: the reply as it came, even without a line end; nothing when bytes were still
    // coming then (a reply cut off by the tick came too late to be one) or when all that came is the
    // start of an acknowledgement.
    QByteArray atTick(qint64 tickNs) const;

private:
    void dropLeftovers();

    QByteArray m_bytes;
    qsizetype m_end = -1;
    qint64 m_lastNs = 0;
};

} // namespace panel
