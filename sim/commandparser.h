#pragma once

#include <QByteArray>
#include <QList>

// Splits the byte stream from the line into panel commands. Bytes that cannot start
// a command are dropped, so the parser falls back into step after line noise.
struct Command
{
    enum Kind { Hail, Write, Read };

    Kind kind = Hail;
    quint8 address = 0;
    quint8 data = 0;
    int length = 1; // bytes on the wire
};

class CommandParser
{
public:
    QList<Command> feed(const QByteArray &bytes);
    void reset();

    qint64 discardedBytes() const { return m_discarded; }

private:
    QByteArray m_pending;
    qint64 m_discarded = 0;
};
