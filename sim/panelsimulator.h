#pragma once

#include "commandparser.h"
#include "simoptions.h"

#include <QElapsedTimer>
#include <QObject>

class PseudoTerminal;
class RegisterBank;
class ReplyWriter;

// The panel itself: answers commands from the line out of its registers and shows
// whichever faults the options ask for.
class PanelSimulator : public QObject
{
    Q_OBJECT

public:
    PanelSimulator(const SimOptions &options, RegisterBank *registers, PseudoTerminal *line,
                   QObject *parent = nullptr);

signals:
    // The line was closed on purpose (--close-after); the program should end.
    void lineClosed();

private:
    void startSession();
    void endSession();
    void dropPendingReplies();
    void receive(const QByteArray &bytes);
    QByteArray handle(const Command &command);
    QByteArray readReply(int address) const;
    void reply(const QByteArray &bytes, const Command &command);
    void closeLineWhenDrained();
    void lingerThenClose();
    void closeLine();
    void log(const QString &message) const;

    SimOptions m_options;
    RegisterBank *m_registers;
    PseudoTerminal *m_line;
    ReplyWriter *m_writer;
    CommandParser m_parser;
    QElapsedTimer m_uptime;
    QElapsedTimer m_linger;
    int m_hails = 0;
    int m_commands = 0;
    bool m_closing = false;
};
