#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// What goes wrong in one client session under --random-faults. A session runs from the
// client opening the line to closing it, which for panelconfig is one whole read or write,
// so each operation meets exactly one fault (or none) and a soak can tell which.
struct SessionFault
{
    enum Kind {
        None,
        Silence,         // no reply from command `at` on (commands are still carried out)
        Late,            // every reply `value` ms late
        Short,           // read replies from command `at` on cut to 3 characters
        Garbage,         // the reply to command `at` replaced by bytes that hold no number
        Doubled,         // the reply to command `at` sent again shortly after
        Identity,        // register 63 answers `value` (the register itself is untouched)
        ReadbackDiffers, // writes to `address` store data+1
        OutOfRange,      // reads of `address` answer `value` (161..999)
        Flood,           // the reply to command `at` replaced by `value` random bytes
        CloseLine,       // the line closes (the device vanishes) after `at` commands
        HailFrom,        // the first `value`-1 hails go unanswered
        KindCount
    };

    Kind kind = None;
    int at = 0;       // command index within the session, 0 being the first
    int address = -1; // register
    int value = 0;
    quint64 noise = 0; // seeds the garbage and flood bytes

    static QString kindName(Kind kind);
    // "fault=garbage at=4": the kind and its figures as key=value words.
    QString describe() const;
    QByteArray garbage(qsizetype length) const;
    QByteArray flood() const;
};

// Draws each session's fault from a seed. A session's draw depends only on the seed and the
// session's number, so a simulator restarted at a later session number carries on the sequence.
class FaultDraw
{
public:
    explicit FaultDraw(quint64 seed)
        : m_seed(seed)
    {
    }

    SessionFault draw(qint64 session) const;

private:
    quint64 m_seed;
};
