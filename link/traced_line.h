#pragma once

#include "link/line_trace.h"
#include "link/read_reply.h"
#include "link/serial_line.h"

#include <QElapsedTimer>
#include <QList>

namespace panel {

// A line passed through to one whole-panel operation that notes every byte sent and received, with
// what it forms, for the operation's own account of a failure and for whoever watches (no one: null).
// The time counts from the opening of the line.
class TracedLine : public SerialLine
{
public:
    TracedLine(SerialLine &line, const QString &command, LineObserver *observer);

    const QList<TraceLine> &lines() const { return m_lines; }

    bool open(const QString &settings, QString *error) override;
    void write(const QByteArray &bytes) override;
    qint64 bytesWaiting() const override { return m_line.bytesWaiting(); }
    QByteArray takeAll() override { return taken(m_line.takeAll(), false); }
    QByteArray takeArrived() override { return taken(m_line.takeArrived(), false); }
    QByteArray takeLeftovers() override { return taken(m_line.takeLeftovers(), true); }
    void close() override;
    bool isBroken() const override { return m_line.isBroken(); }
    QString deviceName() const override { return m_line.deviceName(); }
    void setDeviceName(const QString &device) override { m_line.setDeviceName(device); }
    QString openAdvice() const override { return m_line.openAdvice(); }
    bool deviceAbsent() const override { return m_line.deviceAbsent(); }

private:
    enum class Awaiting { Nothing, Hail, Write, Read, Other };

    QByteArray taken(QByteArray bytes, bool leftovers);
    QString replyMeaning(const QByteArray &bytes, bool leftovers);
    QString acknowledgementMeaning(const QByteArray &bytes);
    QString readMeaning(const QByteArray &bytes);
    void note(bool sent, const QByteArray &bytes, const QString &meaning);

    SerialLine &m_line;
    QString m_operation;
    LineObserver *m_observer;
    QElapsedTimer m_clock;
    QList<TraceLine> m_lines;

    // The command last sent, and what has come for it so far.
    Awaiting m_awaiting = Awaiting::Nothing;
    QString m_command;
    int m_register = 0;
    bool m_answered = false;
    QByteArray m_acknowledgement;
    ReadReply m_reply;
};

} // namespace panel
