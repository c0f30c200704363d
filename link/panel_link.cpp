#include "link/panel_link.h"

#include "link/panel_host.h"
#include "link/protocol.h"
#include "link/serial_line.h"
#include "model/operation_report.h"
#include "model/codes.h"
#include "model/status_texts.h"

#include <QCoreApplication>
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

// Interval 100 ms, timer_flag = 0, enabled.
void PanelLink::armTimer()
{
    m_host.timer().setInterval(kTickMilliseconds);
    timer_flag = 0;
    m_host.timer().start();
}

bool PanelLink::open_panel_port(QString *error)
{
    return m_line.open(kLineSettings, error);
}

bool PanelLink::ended() const
{
    return m_line.isBroken() || m_host.operationAbandoned();
}

void PanelLink::wait_for_reply()
{
    armTimer();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    while (m_line.bytesWaiting() < kReplyLength && timer_flag != 1 && !ended())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// An operation that is being abandoned takes no more replies, so it fails at its next wait.
QByteArray PanelLink::takeReply()
{
    QByteArray reply = m_line.takeAll();
    return ended() ? QByteArray() : reply;
}

// The reply to a read. An acknowledgement in front of it answers an earlier hail or write that came
// late: it is dropped and the wait goes on, within the same tick, for the read's own reply.
QByteArray PanelLink::takeReadReply()
{
    armTimer();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    QByteArray reply;
    for (;;) {
        while (reply.size() + m_line.bytesWaiting() < kReplyLength && timer_flag != 1 && !ended())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        reply += m_line.takeAll();
        while (reply.startsWith(kAcknowledge))
            reply.remove(0, kAcknowledge.size());
        if (reply.size() >= kReplyLength || timer_flag == 1 || ended())
            break;
    }
    return ended() ? QByteArray() : reply;
}

// Bytes that came before a command cannot answer it: a reply sent twice, or one that came too late,
// would otherwise be taken for this command's and every later value would be a register off.
void PanelLink::sendCommand(const QByteArray &command)
{
    m_line.takeAll();
    m_line.write(command);
}

void PanelLink::pause_tick()
{
    armTimer();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    while (timer_flag != 1 && !ended())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

bool PanelLink::hail_panel()
{
    for (int attempt = 1; attempt <= kHailAttempts && !ended(); ++attempt) {
        m_line.write(hailCommand());
        wait_for_reply();
        if (m_line.bytesWaiting() >= kReplyLength)
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
    timer_flag = 0;
    error_flag = 0;
    const QByteArray reply = takeReadReply();
    if (reply.size() < kShortestReadReply) {
        error_flag = 1;
        m_report.reportStatus(kCorrupted);
        return Read::Missing;
    }
    const ReplyValue value = replyValue(reply);
    if (value.fits) {
        A = value.value;
        see();
    }
    if (!value.fits || A > kNaCode || A < 0) {
        error_flag = 1;
        m_report.reportStatus(kOutOfRange);
    } else {
        m_report.reportStatus(kCommunicationsOk);
    }
    return value.fits ? Read::Received : Read::NotFitting;
}

void PanelLink::write_register()
{
    error_flag = 0;
    if (ended()) {
        error_flag = 1;
        return;
    }
    sendCommand(writeCommand(quint8(address_l), quint8(data_l)));
    timer_flag = 0;
    wait_for_reply();
    if (takeReply() != kAcknowledge || ended()) {
        error_flag = 1;
        return;
    }
    sendCommand(readCommand(quint8(address_l)));
    const QByteArray reply = takeReadReply();
    if (reply.size() < kShortestReadReply) {
        error_flag = 1;
        m_report.reportStatus(kCorrupted);
        return;
    }
    const ReplyValue value = replyValue(reply);
    if (value.fits) {
        A = value.value;
        see();
    }
    if (value.fits && A == data_l) {
        m_report.reportStatus(kCommunicationsOk, kYellow);
    } else {
        error_flag = 1;
        m_report.reportStatus(kFailedToVerify);
    }
}

} // namespace panel
