#pragma once

#include "link/protocol.h"
#include "link/serial_line.h"

namespace panel {

// A line passed through to one panel operation, which notes whether the panel answered the
// operation's hail: only then does the operation go on to send it anything but hails.
class WatchedLine : public SerialLine
{
public:
    explicit WatchedLine(SerialLine &line)
        : m_line(line)
    {
    }

    bool panelAnswered() const { return m_panelAnswered; }

    bool open(const QString &settings, QString *error) override { return m_line.open(settings, error); }
    void write(const QByteArray &bytes) override
    {
        m_panelAnswered = m_panelAnswered || bytes != hailCommand();
        m_line.write(bytes);
    }
    qint64 bytesWaiting() const override { return m_line.bytesWaiting(); }
    QByteArray takeAll() override { return m_line.takeAll(); }
    QByteArray takeArrived() override { return m_line.takeArrived(); }
    QByteArray takeLeftovers() override { return m_line.takeLeftovers(); }
    void close() override { m_line.close(); }
    bool isBroken() const override { return m_line.isBroken(); }
    QString deviceName() const override { return m_line.deviceName(); }
    void setDeviceName(const QString &device) override { m_line.setDeviceName(device); }
    QString openAdvice() const override { return m_line.openAdvice(); }
    bool deviceAbsent() const override { return m_line.deviceAbsent(); }

private:
    SerialLine &m_line;
    bool m_panelAnswered = false;
};

} // namespace panel
