#include "panelsimulator.h"

#include "pseudoterminal.h"
#include "registerbank.h"
#include "replywriter.h"

#include <QTimer>

#include <cstdio>

namespace {

// 10 bits per byte (start, 8 data, stop) at 9600 baud.
constexpr qint64 kByteTimeNs = 10 * 1'000'000'000LL / 9600;
constexpr quint8 kOutOfRangeValue = 170;
constexpr int kShortReplyLength = 3;
// Closing the master throws away whatever the client has not read yet, so the last
// replies get some time to be picked up. The kernel moves written bytes into the
// client's queue a little later, so an empty queue only counts after kSettleMs.
constexpr int kSettleMs = 50;
constexpr int kLingerMs = 500;
constexpr int kLingerPollMs = 5;

const QByteArray kAcknowledge = QByteArrayLiteral("D000D");

QString describe(const Command &command)
{
    switch (command.kind) {
    case Command::Hail:
        return QStringLiteral("hail");
    case Command::Write:
        return QStringLiteral("write r%1=%2").arg(command.address).arg(command.data);
    case Command::Read:
        return QStringLiteral("read r%1").arg(command.address);
    }
    return QString();
}

QString printable(const QByteArray &bytes)
{
    QString text;
    for (const char c : bytes) {
        if (c == '\r')
            text += QLatin1String("\\r");
        else if (c == '\n')
            text += QLatin1String("\\n");
        else
            text += QLatin1Char(c);
    }
    return text;
}

} // namespace

PanelSimulator::PanelSimulator(const SimOptions &options, RegisterBank *registers, PseudoTerminal *line,
                               QObject *parent)
    : QObject(parent)
    , m_options(options)
    , m_registers(registers)
    , m_line(line)
    , m_writer(new ReplyWriter(line, this))
{
    m_uptime.start();
    if (m_options.baudTiming)
        m_writer->setByteTime(kByteTimeNs);
    if (m_options.identity >= 0)
        m_registers->setValue(RegisterBank::IdentityAddress, quint8(m_options.identity));

    connect(m_line, &PseudoTerminal::received, this, &PanelSimulator::receive);
    connect(m_line, &PseudoTerminal::clientConnected, this, &PanelSimulator::startSession);
    connect(m_line, &PseudoTerminal::clientDisconnected, this, &PanelSimulator::endSession);
}

// A new client must see neither the previous one's half-sent command nor the replies
// it left behind, and the hail count starts again.
void PanelSimulator::startSession()
{
    log(QStringLiteral("client connected"));
    m_parser.reset();
    m_hails = 0;
    dropPendingReplies();
}

// Dropping the replies at the close already, not only at the next open, leaves no
// window in which a quick new client could read them.
void PanelSimulator::endSession()
{
    log(QStringLiteral("client disconnected"));
    dropPendingReplies();
}

void PanelSimulator::dropPendingReplies()
{
    m_writer->clear();
    m_line->discardUnreadOutput();
    if (m_closing)
        QTimer::singleShot(0, this, &PanelSimulator::lingerThenClose);
}

void PanelSimulator::receive(const QByteArray &bytes)
{
    const qint64 discardedBefore = m_parser.discardedBytes();
    const QList<Command> commands = m_parser.feed(bytes);
    if (m_parser.discardedBytes() != discardedBefore)
        log(QStringLiteral("discarded %1 byte(s)").arg(m_parser.discardedBytes() - discardedBefore));

    for (const Command &command : commands) {
        if (m_closing)
            return;
        QByteArray answer = handle(command);
        if (m_options.noAnswer)
            answer.clear();
        log(QStringLiteral("%1 -> %2").arg(describe(command),
                                           answer.isEmpty() ? QStringLiteral("(no reply)")
                                                            : printable(answer)));
        reply(answer, command);
        if (m_options.closeAfter > 0 && ++m_commands >= m_options.closeAfter)
            closeLineWhenDrained();
    }
}

QByteArray PanelSimulator::handle(const Command &command)
{
    switch (command.kind) {
    case Command::Hail:
        if (++m_hails < m_options.hailFrom)
            return QByteArray();
        return kAcknowledge;
    case Command::Write: {
        quint8 stored = command.data;
        if (command.address == m_options.readbackDiffers)
            stored = quint8(stored + 1);
        if (RegisterBank::isValidAddress(command.address)) {
            m_registers->setValue(command.address, stored);
            QString error;
            if (!m_options.statePath.isEmpty() && !m_registers->save(m_options.statePath, &error))
                std::fprintf(stderr, "panelsim: %s\n", qPrintable(error));
        }
        return kAcknowledge;
    }
    case Command::Read:
        return readReply(command.address);
    }
    return QByteArray();
}

QByteArray PanelSimulator::readReply(int address) const
{
    const int value = address == m_options.outOfRange ? kOutOfRangeValue : m_registers->value(address);
    const QByteArray digits = QByteArray::number(value * 10).rightJustified(4, '0');

    if (m_options.shortReplies)
        return digits.left(kShortReplyLength);
    switch (m_options.replyStyle) {
    case SimOptions::ReplyStyle::Plain:
        break;
    case SimOptions::ReplyStyle::Spaced:
        return "  " + digits + '\r';
    case SimOptions::ReplyStyle::Long:
        return digits + " OK\r\n";
    }
    return digits + '\r';
}

void PanelSimulator::reply(const QByteArray &bytes, const Command &command)
{
    if (bytes.isEmpty())
        return;
    qint64 delay = qint64(m_options.lateRepliesMs) * 1'000'000;
    // The panel cannot start answering before the last byte of the command has arrived.
    if (m_options.baudTiming)
        delay += command.length * kByteTimeNs;
    m_writer->send(bytes, delay);
}

void PanelSimulator::closeLineWhenDrained()
{
    m_closing = true;
    if (m_writer->isIdle()) {
        // Queued: this may run inside the line's own read notification.
        QTimer::singleShot(0, this, &PanelSimulator::lingerThenClose);
    } else {
        connect(m_writer, &ReplyWriter::drained, this, &PanelSimulator::lingerThenClose,
                Qt::ConnectionType(Qt::QueuedConnection | Qt::SingleShotConnection));
    }
}

void PanelSimulator::lingerThenClose()
{
    if (!m_linger.isValid())
        m_linger.start();
    const bool waiting = !m_linger.hasExpired(kSettleMs) || m_line->unreadOutput() > 0;
    if (waiting && !m_linger.hasExpired(kLingerMs))
        QTimer::singleShot(kLingerPollMs, this, &PanelSimulator::lingerThenClose);
    else
        closeLine();
}

void PanelSimulator::closeLine()
{
    if (!m_line->isOpen())
        return;
    log(QStringLiteral("closing the line after %1 command(s)").arg(m_commands));
    m_writer->clear();
    m_line->close();
    emit lineClosed();
}

void PanelSimulator::log(const QString &message) const
{
    if (!m_options.log)
        return;
    std::fprintf(stderr, "panelsim %8.3f %s\n", double(m_uptime.nsecsElapsed()) / 1e9, qPrintable(message));
    std::fflush(stderr);
}
