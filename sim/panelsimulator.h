#pragma once

#include "commandparser.h"
#include "faultplan.h"
#include "simoptions.h"

#include <QElapsedTimer>
#include <QFile>
#include <QObject>
#include <QTimer>

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

    // False when the --fault-log file cannot be opened.
    bool openFaultLog(QString *error);

    // Like pulling the cable and plugging it in again: while not answering, nothing sent to
    // the panel reaches it and nothing comes back.
    void toggleAnswering();

signals:
    // The line was closed on purpose (--close-after or a drawn close); the program should end.
    void lineClosed();

private:
    void startSession();
    void endSession();
    void finishSession();
    void dropPendingReplies();
    void receive(const QByteArray &bytes);
    QByteArray handle(const Command &command, int index);
    QByteArray readReply(int address, int index);
    QByteArray applyReplyFault(int index, QByteArray answer);
    void reply(const QByteArray &bytes, const Command &command, int extraDelayMs = 0);
    void closeLineWhenDrained();
    void lingerThenClose();
    void closeLine();
    void log(const QString &message) const;
    void writeFaultLine(const QString &line);

    SimOptions m_options;
    RegisterBank *m_registers;
    PseudoTerminal *m_line;
    ReplyWriter *m_writer;
    CommandParser m_parser;
    QElapsedTimer m_uptime;
    QElapsedTimer m_linger;
    QTimer m_lingerTimer; // runs lingerThenClose
    int m_hails = 0;
    int m_commands = 0;
    bool m_closing = false;
    bool m_answering = true;

    // --random-faults: the current session's fault and what became of it.
    FaultDraw m_draw;
    QFile m_faultLog;
    SessionFault m_fault;
    qint64 m_nextSession = 1;
    qint64 m_session = 0; // 0: no client on the line
    int m_sessionCommands = 0;
    bool m_fired = false;
};
