#pragma once

#include <QString>

class QCommandLineParser;

// How the simulated panel behaves, including the faults it can be told to show.
struct SimOptions
{
    enum class ReplyStyle { Plain, Spaced, Long, CrLf };

    QString statePath;
    bool baudTiming = false;
    ReplyStyle replyStyle = ReplyStyle::Plain;
    bool log = false;

    bool noAnswer = false;
    int hailFrom = 1;
    int identity = -1;        // -1: keep the register's own value
    int readbackDiffers = -1; // register address, -1: none
    int outOfRange = -1;      // register address, -1: none
    bool shortReplies = false;
    int lateRepliesMs = 0;
    int closeAfter = 0; // commands, 0: never

    bool randomFaults = false;
    quint64 faultSeed = 0;
    qint64 firstSession = 1;
    QString faultLogPath; // empty: stderr
    int showFaults = 0;   // sessions to list instead of serving the line
};

void addSimOptions(QCommandLineParser *parser);
bool readSimOptions(const QCommandLineParser &parser, SimOptions *options, QString *error);
