#include "link/traced_line.h"

#include "link/protocol.h"

#include <algorithm>

namespace panel {

namespace {

constexpr int kCommandLength = 6;

bool onlyLineEnds(const QByteArray &bytes)
{
    return std::all_of(bytes.cbegin(), bytes.cend(), [](char c) { return c == '\r' || c == '\n'; });
}

} // namespace

TracedLine::TracedLine(SerialLine &line, const QString &command, LineObserver *observer)
    : m_line(line)
    , m_operation(command)
    , m_observer(observer)
{
}

bool TracedLine::open(const QString &settings, QString *error)
{
    m_clock.start();
    if (m_observer)
        m_observer->operationStarted(m_operation, m_line.deviceName());
    return m_line.open(settings, error);
}

void TracedLine::note(bool sent, const QByteArray &bytes, const QString &meaning)
{
    TraceLine line{m_clock.isValid() ? m_clock.elapsed() : 0, sent, bytes, meaning};
    if (m_observer)
        m_observer->traced(line);
    m_lines.append(std::move(line));
}

void TracedLine::write(const QByteArray &bytes)
{
    const Awaiting before = m_awaiting;
    if (bytes == hailCommand()) {
        m_awaiting = Awaiting::Hail;
        m_command = QStringLiteral("hail");
    } else if (bytes.size() == kCommandLength && (bytes[0] == 'S' || bytes[0] == 'V')) {
        m_register = quint8(bytes[2]);
        if (bytes[0] == 'S') {
            m_awaiting = Awaiting::Write;
            m_command = QStringLiteral("write r=%1 v=%2").arg(m_register).arg(quint8(bytes[4]));
        } else {
            m_awaiting = Awaiting::Read;
            m_command = QStringLiteral("read r=%1").arg(m_register);
        }
    } else {
        m_awaiting = Awaiting::Other;
        m_command = QStringLiteral("other bytes");
    }
    // The answer to one hail may still come while the next is sent: they gather as one reply.
    if (!(before == Awaiting::Hail && m_awaiting == Awaiting::Hail && !m_answered)) {
        m_acknowledgement.clear();
        m_reply = ReadReply();
    }
    m_answered = false;
    note(true, bytes, m_command);
    m_line.write(bytes);
}

QByteArray TracedLine::taken(QByteArray bytes, bool leftovers)
{
    if (!bytes.isEmpty())
        note(false, bytes, replyMeaning(bytes, leftovers));
    return bytes;
}

QString TracedLine::replyMeaning(const QByteArray &bytes, bool leftovers)
{
    if (m_awaiting == Awaiting::Nothing || m_awaiting == Awaiting::Other)
        return QStringLiteral("unexpected");
    if (m_answered || leftovers) {
        m_answered = true; // nothing more can answer the command
        return onlyLineEnds(bytes) ? QStringLiteral("line end") : QStringLiteral("late");
    }
    return m_awaiting == Awaiting::Read ? readMeaning(bytes) : acknowledgementMeaning(bytes);
}

QString TracedLine::acknowledgementMeaning(const QByteArray &bytes)
{
    m_acknowledgement += bytes;
    if (m_acknowledgement == kAcknowledge) {
        m_answered = true;
        return m_awaiting == Awaiting::Hail ? QStringLiteral("hail answered") : m_command + QStringLiteral(" acknowledged");
    }
    if (kAcknowledge.startsWith(m_acknowledgement))
        return QStringLiteral("part of an acknowledgement");
    const qsizetype answers = m_acknowledgement.size() / kAcknowledge.size();
    if (answers > 1 && m_acknowledgement == kAcknowledge.repeated(answers)) {
        m_answered = true;
        return QStringLiteral("late: %1 answers at once").arg(answers);
    }
    return QStringLiteral("unexpected");
}

QString TracedLine::readMeaning(const QByteArray &bytes)
{
    m_reply.add(bytes, m_clock.nsecsElapsed());
    if (!m_reply.begun())
        return QStringLiteral("late");
    if (!m_reply.whole())
        return m_command + QStringLiteral(", part");
    m_answered = true;
    const QByteArray reply = m_reply.reply();
    if (reply.size() < kShortestReadReply)
        return m_command + QStringLiteral(": too short");
    const ReplyValue value = replyValue(reply);
    if (!value.fits)
        return m_command + QStringLiteral(" → beyond 16 bits");
    return m_command + QStringLiteral(" → %1").arg(value.value);
}

// What came after the operation's last look at the line is shown too, before it goes.
void TracedLine::close()
{
    if (m_line.bytesWaiting() > 0)
        takeLeftovers();
    m_line.close();
}

} // namespace panel
