#include "simoptions.h"

#include "registerbank.h"

#include <QCommandLineParser>

namespace {

bool readNumber(const QCommandLineParser &parser, const QString &name, int minimum, int maximum,
                int *value, QString *error)
{
    if (!parser.isSet(name))
        return true;
    bool ok = false;
    const int number = parser.value(name).toInt(&ok);
    if (!ok || number < minimum || number > maximum) {
        *error = QStringLiteral("--%1 expects a number from %2 to %3")
                         .arg(name)
                         .arg(minimum)
                         .arg(maximum);
        return false;
    }
    *value = number;
    return true;
}

const char *const kSingleFaults[] = {
    "no-answer", "hail-from", "identity", "readback-differs", "out-of-range", "short-replies",
    "late-replies", "close-after",
};

bool readRandomFaults(const QCommandLineParser &parser, SimOptions *options, QString *error)
{
    options->faultLogPath = parser.value(QStringLiteral("fault-log"));
    options->randomFaults = parser.isSet(QStringLiteral("random-faults"));
    if (!options->randomFaults) {
        for (const char *name : { "first-session", "fault-log", "show-faults" }) {
            if (parser.isSet(QLatin1String(name))) {
                *error = QStringLiteral("--%1 needs --random-faults").arg(QLatin1String(name));
                return false;
            }
        }
        return true;
    }
    for (const char *name : kSingleFaults) {
        if (parser.isSet(QLatin1String(name))) {
            *error = QStringLiteral("--random-faults draws the faults itself: drop --%1").arg(QLatin1String(name));
            return false;
        }
    }
    bool ok = false;
    options->faultSeed = parser.value(QStringLiteral("random-faults")).toULongLong(&ok);
    if (!ok) {
        *error = QStringLiteral("--random-faults expects a number from 0 to 18446744073709551615");
        return false;
    }
    if (parser.isSet(QStringLiteral("first-session"))) {
        options->firstSession = parser.value(QStringLiteral("first-session")).toLongLong(&ok);
        if (!ok || options->firstSession < 1) {
            *error = QStringLiteral("--first-session expects a number from 1");
            return false;
        }
    }
    return true;
}

} // namespace

void addSimOptions(QCommandLineParser *parser)
{
    parser->addOptions({
            { QStringLiteral("state"),
              QStringLiteral("Load the registers from <file> if it exists and save them there after every write."),
              QStringLiteral("file") },
            { QStringLiteral("baud-timing"),
              QStringLiteral("Pace replies as at 9600 baud, after the time the command takes to arrive.") },
            { QStringLiteral("reply-style"),
              QStringLiteral("Read replies as plain (\"0730\\r\", default), spaced (\"  0730\\r\"), "
                             "long (\"0730 OK\\r\\n\") or crlf (\"0730\\r\\n\")."),
              QStringLiteral("style"), QStringLiteral("plain") },
            { QStringLiteral("log"), QStringLiteral("Log every command on stderr.") },
            { QStringLiteral("no-answer"),
              QStringLiteral("Fault: carry out commands but never reply.") },
            { QStringLiteral("hail-from"),
              QStringLiteral("Fault: ignore the first <n>-1 hails of each client connection."),
              QStringLiteral("n") },
            { QStringLiteral("identity"),
              QStringLiteral("Register 63 holds <value> instead of 73."), QStringLiteral("value") },
            { QStringLiteral("readback-differs"),
              QStringLiteral("Fault: writes to register <r> are acknowledged but store data+1 (mod 256)."),
              QStringLiteral("r") },
            { QStringLiteral("out-of-range"),
              QStringLiteral("Fault: reads of register <r> answer 170 (\"1700\\r\")."), QStringLiteral("r") },
            { QStringLiteral("short-replies"),
              QStringLiteral("Fault: read replies carry only their first 3 characters (\"073\").") },
            { QStringLiteral("late-replies"),
              QStringLiteral("Fault: send every reply <ms> milliseconds late."), QStringLiteral("ms") },
            { QStringLiteral("close-after"),
              QStringLiteral("Fault: after answering <n> commands, close the line (the device vanishes) "
                             "and exit with 0."),
              QStringLiteral("n") },
            { QStringLiteral("random-faults"),
              QStringLiteral("Faults: draw one for each client session (open to close of the line, one "
                             "panelconfig operation) from <seed>: none (a third of them), silence, late, "
                             "short, garbage or doubled replies, another identity, read-back differences, "
                             "out-of-range values, a flood of bytes, the line closing, late hail answers. "
                             "At each session's end a line \"session=<n> fault=<kind> [<figure>=<n>...] "
                             "fired=0|1 commands=<n>\" says what was drawn and whether it took effect. "
                             "Not combined with the single fault options."),
              QStringLiteral("seed") },
            { QStringLiteral("first-session"),
              QStringLiteral("Number the first session <n> (default 1), to carry on a --random-faults "
                             "sequence after the line closed."),
              QStringLiteral("n") },
            { QStringLiteral("fault-log"),
              QStringLiteral("Append the --random-faults session lines to <file> instead of stderr."),
              QStringLiteral("file") },
            { QStringLiteral("show-faults"),
              QStringLiteral("Print the faults of the next <n> sessions of --random-faults and exit."),
              QStringLiteral("n") },
    });
}

bool readSimOptions(const QCommandLineParser &parser, SimOptions *options, QString *error)
{
    options->statePath = parser.value(QStringLiteral("state"));
    options->baudTiming = parser.isSet(QStringLiteral("baud-timing"));
    options->log = parser.isSet(QStringLiteral("log"));
    options->noAnswer = parser.isSet(QStringLiteral("no-answer"));
    options->shortReplies = parser.isSet(QStringLiteral("short-replies"));

    const QString style = parser.value(QStringLiteral("reply-style"));
    if (style == QLatin1String("plain")) {
        options->replyStyle = SimOptions::ReplyStyle::Plain;
    } else if (style == QLatin1String("spaced")) {
        options->replyStyle = SimOptions::ReplyStyle::Spaced;
    } else if (style == QLatin1String("long")) {
        options->replyStyle = SimOptions::ReplyStyle::Long;
    } else if (style == QLatin1String("crlf")) {
        options->replyStyle = SimOptions::ReplyStyle::CrLf;
    } else {
        *error = QStringLiteral("--reply-style expects plain, spaced, long or crlf");
        return false;
    }

    const int lastAddress = RegisterBank::Count - 1;
    const bool numbersOk = readNumber(parser, QStringLiteral("hail-from"), 1, 1000000, &options->hailFrom, error)
            && readNumber(parser, QStringLiteral("identity"), 0, 255, &options->identity, error)
            && readNumber(parser, QStringLiteral("readback-differs"), 0, lastAddress,
                          &options->readbackDiffers, error)
            && readNumber(parser, QStringLiteral("out-of-range"), 0, lastAddress, &options->outOfRange,
                          error)
            && readNumber(parser, QStringLiteral("late-replies"), 0, 600000, &options->lateRepliesMs,
                          error)
            && readNumber(parser, QStringLiteral("close-after"), 1, 1000000, &options->closeAfter, error)
            && readNumber(parser, QStringLiteral("show-faults"), 1, 1000000, &options->showFaults, error);
    if (!numbersOk)
        return false;
    return readRandomFaults(parser, options, error);
}
