#include "link/panel_link.h"

#include "link/panel_window.h"
#include "link/protocol.h"
#include "link/serial_line.h"
#include "model/status_texts.h"

#include <QCoreApplication>

namespace panel {

PanelLink::PanelLink(PanelWindow &window, SerialLine &line)
    : m_window(window)
    , m_line(line)
    , m_vars(window.vars())
{
}

PanelLink::~PanelLink()
{
    m_line.close();
}

bool PanelLink::open_panel_port(QString *error)
{
    return m_line.open(kLineSettings, error);
}

bool PanelLink::ended() const
{
    return m_line.isBroken() || m_window.operationAbandoned();
}

void PanelLink::wait_for_reply()
{
    m_window.armTimer();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    while (m_line.bytesWaiting() < kReplyLength && m_vars.timer_flag != 1 && !ended())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// An operation that is being abandoned takes no more replies, so it fails at its next wait.
QByteArray PanelLink::takeReply()
{
    QByteArray reply = m_line.takeAll();
    return ended() ? QByteArray() : reply;
}

void PanelLink::pause_tick()
{
    m_window.armTimer();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    while (m_vars.timer_flag != 1 && !ended())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

bool PanelLink::hail_panel()
{
    for (int attempt = 1; attempt <= kHailAttempts; ++attempt) {
        m_line.write(hailCommand());
        wait_for_reply();
        if (m_line.bytesWaiting() >= kReplyLength || ended())
            break;
    }
    // Late answers to earlier attempts are part of the reply, so a doubled "D000D" fails.
    const QByteArray reply = m_line.takeAll();
    return reply == kAcknowledge && m_vars.timer_flag != 1 && !ended();
}

bool PanelLink::read_register()
{
    m_window.setStatusVisible(true);
    m_vars.error_flag = 0;
    m_line.write(readCommand(quint8(m_vars.address_l)));
    m_vars.timer_flag = 0;
    m_vars.error_flag = 0;
    wait_for_reply();
    const QByteArray reply = takeReply();
    m_vars.temp1 = qint16(qMin<qsizetype>(reply.size(), 32767));
    if (reply.size() < kShortestReadReply) {
        m_vars.error_flag = 1;
        m_window.setStatusText(kCorrupted);
        return false;
    }
    const ReplyValue value = replyValue(reply);
    if (value.fits)
        m_vars.A = value.value;
    if (!value.fits || m_vars.A > 160 || m_vars.A < 0) {
        m_vars.error_flag = 1;
        m_window.setStatusText(kOutOfRange);
    } else {
        m_window.setStatusText(kCommunicationsOk);
    }
    return true;
}

void PanelLink::write_register()
{
    m_line.write(writeCommand(quint8(m_vars.address_l), quint8(m_vars.data_l)));
    m_vars.timer_flag = 0;
    m_vars.error_flag = 0;
    wait_for_reply();
    if (takeReply() != kAcknowledge) {
        m_vars.error_flag = 1;
        return;
    }
    m_line.write(readCommand(quint8(m_vars.address_l)));
    wait_for_reply();
    const QByteArray reply = takeReply();
    if (reply.size() < kShortestReadReply) {
        m_vars.error_flag = 1;
        m_window.setStatusText(kCorrupted);
        return;
    }
    const ReplyValue value = replyValue(reply);
    if (value.fits)
        m_vars.A = value.value;
    if (value.fits && m_vars.A == m_vars.data_l) {
        m_window.setStatusColour(kYellow);
        m_window.setStatusText(kCommunicationsOk);
    } else {
        m_vars.error_flag = 1;
        m_window.setStatusText(kFailedToVerify);
    }
}

} // namespace panel
