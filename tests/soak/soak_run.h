#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

// A fault soak: whole reads and writes through the window against panelsim --random-faults,
// every result checked against the simulator's registers and the fault it drew.
struct SoakSettings {
    quint64 seed = 1;
    int operations = 50;
    int firstOperation = 1;   // a later start reaches a given operation quickly: the faults and
                              // choices of each operation depend only on the seed and its number
    QString workDir;          // the simulator's state file and fault log go here
    int watchdogMs = 15000;   // one click longer than this is a hang: the run stops there
    bool verbose = false;     // one line per operation on stdout
    QString simLogPath;       // when set, panelsim logs every command there
};

struct SoakFigures {
    struct Tally {
        int operations = 0;
        int fired = 0;
        int green = 0;
        int red = 0;
        int mismatch = 0;
    };

    quint64 seed = 0;
    int operations = 0;
    int reads = 0;
    int writes = 0;
    int restarts = 0; // panelsim started again after closing the line
    qint64 wallMs = 0;
    QMap<QString, Tally> byFault;
    QMap<QString, int> redTexts;
    int fdFirst = 0, fdLast = 0, fdMax = 0;           // after the warm-up
    qint64 rssFirstKb = 0, rssLastKb = 0, rssMaxKb = 0;
    QStringList violations;

    QString report() const;
};

SoakFigures runSoak(const SoakSettings &settings);
