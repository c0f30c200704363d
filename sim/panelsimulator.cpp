#include "panelsimulator.h"

#include "pseudoterminal.h"
#include "registerbank.h"
#include "replywriter.h"


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
// A doubled reply's copy comes after the reader has taken the first, as a repeat from the
// panel would, rather than merged with it in one read.
constexpr int kCopyDelayMs = 20;

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
    , m_draw(options.faultSeed)
    , m_nextSession(options.firstSession)
{
    m_uptime.start();
    m_lingerTimer.setSingleShot(true);
    connect(&m_lingerTimer, &QTimer::timeout, this, &PanelSimulator::lingerThenClose);
    if (m_options.baudTiming)
        m_writer->setByteTime(kByteTimeNs);
    if (m_options.identity >= 0)
        m_registers->setValue(RegisterBank::IdentityAddress, quint8(m_options.identity));

    connect(m_line, &PseudoTerminal::received, this, &PanelSimulator::receive);
    connect(m_line, &PseudoTerminal::clientConnected, this, &PanelSimulator::startSession);
    connect(m_line, &PseudoTerminal::clientDisconnected, this, &PanelSimulator::endSession);
}

bool PanelSimulator::openFaultLog(QString *error)
{
    if (m_options.faultLogPath.isEmpty())
        return true;
    m_faultLog.setFileName(m_options.faultLogPath);
    if (!m_faultLog.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
        *error = QStringLiteral("cannot write %1: %2").arg(m_options.faultLogPath, m_faultLog.errorString());
        return false;
    }
    return true;
}

void PanelSimulator::toggleAnswering()
{
    m_answering = !m_answering;
    m_parser.reset();
    if (!m_answering) {
        m_writer->clear();
        m_line->discardUnreadOutput();
    }
    std::fprintf(stderr, "panelsim: %s\n",
                 m_answering ? "answering again" : "not answering (SIGUSR1 again to answer)");
    std::fflush(stderr);
}

// A new client must see neither the previous one's half-sent command nor the replies
// it left behind, and the hail count starts again.
void PanelSimulator::startSession()
{
    log(QStringLiteral("client connected"));
    m_parser.reset();
    m_hails = 0;
    dropPendingReplies();
    m_session = m_nextSession++;
    m_sessionCommands = 0;
    m_fired = false;
    if (m_options.randomFaults)
        m_fault = m_draw.draw(m_session);
}

// Dropping the replies at the close already, not only at the next open, leaves no
// window in which a quick new client could read them.
void PanelSimulator::endSession()
{
    log(QStringLiteral("client disconnected"));
    finishSession();
    dropPendingReplies();
}

void PanelSimulator::finishSession()
{
    if (m_session == 0)
        return;
    if (m_options.randomFaults) {
        writeFaultLine(QStringLiteral("session=%1 %2 fired=%3 commands=%4")
                               .arg(m_session)
                               .arg(m_fault.describe())
                               .arg(m_fired ? 1 : 0)
                               .arg(m_sessionCommands));
    }
    m_session = 0;
    m_fault = SessionFault();
}

void PanelSimulator::dropPendingReplies()
{
    m_writer->clear();
    m_line->discardUnreadOutput();
    if (m_closing)
        m_lingerTimer.start(0);
}

void PanelSimulator::receive(const QByteArray &bytes)
{
    if (!m_answering) {
        log(QStringLiteral("unplugged: %1 byte(s) lost").arg(bytes.size()));
        return;
    }
    const qint64 discardedBefore = m_parser.discardedBytes();
    const QList<Command> commands = m_parser.feed(bytes);
    if (m_parser.discardedBytes() != discardedBefore)
        log(QStringLiteral("discarded %1 byte(s)").arg(m_parser.discardedBytes() - discardedBefore));

    for (const Command &command : commands) {
        if (m_closing)
            return;
        const int index = m_sessionCommands++;
        QByteArray answer = applyReplyFault(index, handle(command, index));
        if (m_options.noAnswer)
            answer.clear();
        log(QStringLiteral("%1 -> %2").arg(describe(command),
                                           answer.isEmpty() ? QStringLiteral("(no reply)")
                                                            : printable(answer.left(64))));
        reply(answer, command);
        if (m_fault.kind == SessionFault::Doubled && index == m_fault.at && !answer.isEmpty()) {
            m_fired = true;
            reply(answer, command, kCopyDelayMs);
        }
        ++m_commands;
        const bool closeNow = (m_options.closeAfter > 0 && m_commands >= m_options.closeAfter)
                || (m_fault.kind == SessionFault::CloseLine && m_sessionCommands >= m_fault.at);
        if (closeNow) {
            m_fired = m_fired || m_fault.kind == SessionFault::CloseLine;
            closeLineWhenDrained();
        }
    }
}

QByteArray PanelSimulator::handle(const Command &command, int index)
{
    switch (command.kind) {
    case Command::Hail: {
        const bool drawn = m_fault.kind == SessionFault::HailFrom;
        if (++m_hails < (drawn ? m_fault.value : m_options.hailFrom)) {
            m_fired = m_fired || drawn;
            return QByteArray();
        }
        return kAcknowledge;
    }
    case Command::Write: {
        quint8 stored = command.data;
        if (command.address == m_options.readbackDiffers)
            stored = quint8(stored + 1);
        if (m_fault.kind == SessionFault::ReadbackDiffers && command.address == m_fault.address) {
            m_fired = true;
            stored = quint8(stored + 1);
        }
        if (RegisterBank::isValidAddress(command.address)) {
            m_registers->setValue(command.address, stored);
            QString error;
            if (!m_options.statePath.isEmpty() && !m_registers->save(m_options.statePath, &error))
                std::fprintf(stderr, "panelsim: %s\n", qPrintable(error));
        }
        return kAcknowledge;
    }
    case Command::Read:
        return readReply(command.address, index);
    }
    return QByteArray();
}

QByteArray PanelSimulator::readReply(int address, int index)
{
    int value = address == m_options.outOfRange ? kOutOfRangeValue : m_registers->value(address);
    if ((m_fault.kind == SessionFault::OutOfRange && address == m_fault.address)
        || (m_fault.kind == SessionFault::Identity && address == RegisterBank::IdentityAddress)) {
        m_fired = true;
        value = m_fault.value;
    }
    const QByteArray digits = QByteArray::number(value * 10).rightJustified(4, '0');

    const bool cut = m_fault.kind == SessionFault::Short && index >= m_fault.at;
    m_fired = m_fired || cut;
    if (m_options.shortReplies || cut)
        return digits.left(kShortReplyLength);
    switch (m_options.replyStyle) {
    case SimOptions::ReplyStyle::Plain:
        break;
    case SimOptions::ReplyStyle::Spaced:
        return "  " + digits + '\r';
    case SimOptions::ReplyStyle::Long:
        return digits + " OK\r\n";
    case SimOptions::ReplyStyle::CrLf:
        return digits + "\r\n";
    }
    return digits + '\r';
}

QByteArray PanelSimulator::applyReplyFault(int index, QByteArray answer)
{
    if (answer.isEmpty())
        return answer;
    switch (m_fault.kind) {
    case SessionFault::Silence:
        if (index < m_fault.at)
            return answer;
        answer.clear();
        break;
    case SessionFault::Garbage:
        if (index != m_fault.at)
            return answer;
        answer = m_fault.garbage(answer.size());
        break;
    case SessionFault::Flood:
        if (index != m_fault.at)
            return answer;
        answer = m_fault.flood();
        break;
    case SessionFault::Late:
        break;
    default:
        return answer;
    }
    m_fired = true;
    return answer;
}

void PanelSimulator::reply(const QByteArray &bytes, const Command &command, int extraDelayMs)
{
    if (bytes.isEmpty())
        return;
    const int lateMs = m_fault.kind == SessionFault::Late ? m_fault.value : m_options.lateRepliesMs;
    qint64 delay = qint64(lateMs + extraDelayMs) * 1'000'000;
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
        m_lingerTimer.start(0);
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
        m_lingerTimer.start(kLingerPollMs);
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
    finishSession();
    emit lineClosed();
}

void PanelSimulator::log(const QString &message) const
{
    if (!m_options.log)
        return;
    std::fprintf(stderr, "panelsim %8.3f %s\n", double(m_uptime.nsecsElapsed()) / 1e9, qPrintable(message));
    std::fflush(stderr);
}

void PanelSimulator::writeFaultLine(const QString &line)
{
    if (!m_faultLog.isOpen()) {
        std::fprintf(stderr, "panelsim: %s\n", qPrintable(line));
        std::fflush(stderr);
        return;
    }
    m_faultLog.write(line.toUtf8() + '\n');
    m_faultLog.flush();
}
