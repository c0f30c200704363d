#include "link/panel_link.h"

#include "link/panel_host.h"
#include "link/protocol.h"
#include "link/read_reply.h"
#include "link/serial_line.h"
#include "model/operation_report.h"
#include "model/codes.h"
#include "model/status_texts.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

namespace panel {

PanelLink::PanelLink(PanelHost &host, OperationReport &report, SerialLine &line)
    : m_host(host)
    , m_report(report)
    , m_line(line)
{
    m_tick = QObject::connect(&host.timer(), &QTimer::timeout, &host.timer(), [this] { timer_flag = 1; });
}

PanelLink::~PanelLink()
{
    QObject::disconnect(m_tick);
    m_line.close();
}

void PanelLink::see()
{
    if (address_l >= 0 && address_l < kConfigRegisters)
        seen[size_t(address_l)] = A;
}

bool PanelLink::open_panel_port(QString *error)
{
    return m_line.open(kLineSettings, error);
}

bool PanelLink::ended() const
{
    return m_line.isBroken() || m_host.operationAbandoned();
}

// Every wait: the timer armed (the tick, timer_flag = 0, enabled), then the events run, sleeping until the
// next one, until done holds, the tick comes or the operation ends. Whether done held.
bool PanelLink::waitFor(const std::function<bool()> &done)
{
    m_host.timer().setTimerType(Qt::PreciseTimer);
    m_host.timer().setInterval(m_host.tickMilliseconds());
    timer_flag = 0;
    m_host.timer().start();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    while (!done() && timer_flag != 1 && !ended())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return done();
}

bool PanelLink::replyWaiting() const
{
    return m_line.bytesWaiting() >= kReplyLength;
}

// The reply to a write: five bytes, or whatever came by the tick. An operation that is being abandoned
// takes no more replies, so it fails at its next wait.
QByteArray PanelLink::takeAcknowledgement()
{
    waitFor([this] { return replyWaiting(); });
    QByteArray reply = m_line.takeAll();
    return ended() ? QByteArray() : reply;
}

// The reply to a read, whole: up to its line end, however many bytes that takes.
QByteArray PanelLink::takeReadReply()
{
    QElapsedTimer clock;
    clock.start();
    ReadReply reply;
    const bool whole = waitFor([&] {
        if (m_line.bytesWaiting() > 0)
            reply.add(m_line.takeAll(), clock.nsecsElapsed());
        return reply.whole();
    });
    if (ended())
        return QByteArray();
    if (whole)
        return reply.reply();
    // The time is up. What the system already held came before it, even if the window was busy
    // painting meanwhile and had not looked.
    reply.add(m_line.takeArrived(), clock.nsecsElapsed());
    return reply.whole() ? reply.reply() : reply.atTick(clock.nsecsElapsed());
}

// The value a read command brings back into A. A reply too short to hold one is "COMMUNICATIONS
// CORRUPTED" and leaves A as it was, as does one whose value does not fit 16 bits.
PanelLink::Read PanelLink::receiveValue()
{
    const QByteArray reply = takeReadReply();
    if (reply.size() < kShortestReadReply) {
        error_flag = 1;
        m_report.reportStatus(kCorrupted);
        return Read::Missing;
    }
    const ReplyValue value = replyValue(reply);
    if (!value.fits)
        return Read::NotFitting;
    A = value.value;
    see();
    return Read::Received;
}

// Bytes that came before a command cannot answer it: a reply sent twice, or one that came too late,
// would otherwise be taken for this command's and every later value would be a register off.
void PanelLink::sendCommand(const QByteArray &command)
{
    m_line.takeLeftovers();
    m_line.write(command);
}

void PanelLink::pause_tick()
{
    waitFor([] { return false; });
}

bool PanelLink::hail_panel()
{
    for (int attempt = 1; attempt <= kHailAttempts && !ended(); ++attempt) {
        m_line.write(hailCommand());
        if (waitFor([this] { return replyWaiting(); }))
            break;
    }
    // Late answers to earlier attempts are part of the reply, so a doubled "D000D" fails.
    const QByteArray reply = m_line.takeAll();
    return reply == kAcknowledge && timer_flag != 1 && !ended();
}

PanelLink::Read PanelLink::read_register()
{
    error_flag = 0;
    // Nothing more goes to a panel once the operation is being abandoned.
    if (ended()) {
        error_flag = 1;
        return Read::Missing;
    }
    sendCommand(readCommand(quint8(address_l)));
    const Read read = receiveValue();
    if (read == Read::Missing)
        return read;
    if (read == Read::NotFitting || A > kNaCode || A < 0) {
        error_flag = 1;
        m_report.reportStatus(kOutOfRange);
    } else {
        m_report.reportStatus(kCommunicationsOk);
    }
    return read;
}

void PanelLink::write_register()
{
    error_flag = 0;
    if (ended()) {
        error_flag = 1;
        return;
    }
    sendCommand(writeCommand(quint8(address_l), quint8(data_l)));
    if (takeAcknowledgement() != kAcknowledge) {
        error_flag = 1;
        return;
    }
    sendCommand(readCommand(quint8(address_l)));
    const Read read = receiveValue();
    if (read == Read::Missing)
        return;
    if (read == Read::Received && A == data_l) {
        m_report.reportStatus(kCommunicationsOk, kYellow);
    } else {
        error_flag = 1;
        m_report.reportStatus(kFailedToVerify);
    }
}

} // namespace panel
