#include "link/failure_explanation.h"

#include "link/protocol.h"
#include "model/codes.h"
#include "model/panel_config.h"

#include <QStringList>
#include <optional>

namespace panel {

namespace {

// One command and every byte that came after it, until the next; hails sent one after the other are one.
struct Step {
    QByteArray command;
    int sent = 0;
    QByteArray reply;

    bool isWrite() const { return command.size() > 4 && command[0] == 'S'; }
    bool isRead() const { return command.size() > 2 && command[0] == 'V'; }
    int reg() const { return quint8(command[2]); }
    int value() const { return quint8(command[4]); }
};

QList<Step> stepsOf(const QList<TraceLine> &trace)
{
    QList<Step> steps;
    for (const TraceLine &line : trace) {
        if (line.sent && !steps.isEmpty() && line.bytes == hailCommand() && steps.last().command == hailCommand()) {
            ++steps.last().sent;
        } else if (line.sent) {
            steps.append({line.bytes, 1, {}});
        } else if (!steps.isEmpty()) {
            steps.last().reply += line.bytes;
        }
    }
    return steps;
}

// The value a read reply carries, when it is long enough to carry one.
std::optional<int> valueOf(const QByteArray &reply)
{
    const ReplyValue value = replyValue(reply);
    if (reply.size() < kShortestReadReply || !value.fits)
        return std::nullopt;
    return value.value;
}

QString rangeText(int first, int last)
{
    if (first == last)
        return QStringLiteral("register %1").arg(first);
    return QStringLiteral("registers %1 to %2").arg(first).arg(last);
}

QString noAnswer(const QList<TraceLine> &trace)
{
    int hails = 0;
    QByteArray back;
    for (const TraceLine &line : trace) {
        if (line.sent)
            ++hails;
        else
            back += line.bytes;
    }
    if (back.isEmpty())
        return QStringLiteral("No byte at all came back to the %1 hails: look at the cable, the serial port chosen "
                              "and the panel's power.")
            .arg(hails);
    return QStringLiteral("%1 bytes came back to the %2 hails, but not the answer \"D000D\": %3. A wrong baud rate, "
                          "another device on the port or a panel answering twice sends such bytes.")
        .arg(back.size())
        .arg(hails)
        .arg(bytesShown(back));
}

// Why a read step failed: the register and the reply it got.
QString readFailure(const Step &step)
{
    const QString reg = step.reg() == kIdentityRegister ? QStringLiteral("The identity register 63")
                                                        : QStringLiteral("Register %1").arg(step.reg());
    if (step.reply.isEmpty())
        return reg + QStringLiteral(" failed: no reply came.");
    QString text = reg + QStringLiteral(" failed: its reply was %1").arg(bytesShown(step.reply));
    if (const std::optional<int> value = valueOf(step.reply)) {
        text += QStringLiteral(", worth %1").arg(*value);
        if (*value < 0 || *value > kNaCode)
            text += QStringLiteral(", outside 0 to 160");
    } else {
        text += QStringLiteral(", which holds no value");
    }
    return text + QLatin1Char('.');
}

// Why a write step and its read-back (when it got that far) failed.
QString writeFailure(const Step &write, const Step *readBack)
{
    if (write.reply != kAcknowledge)
        return QStringLiteral("its write was not acknowledged (the reply was %1)").arg(bytesShown(write.reply));
    if (!readBack)
        return QStringLiteral("its write was acknowledged, but it was not read back");
    if (readBack->reply.isEmpty())
        return QStringLiteral("its read-back got no reply");
    const std::optional<int> value = valueOf(readBack->reply);
    if (!value)
        return QStringLiteral("its read-back was too short: %1").arg(bytesShown(readBack->reply));
    if (*value != write.value())
        return QStringLiteral("it read back as %1 instead of %2: %3").arg(*value).arg(write.value()).arg(bytesShown(readBack->reply));
    return QStringLiteral("it was verified as the operation stopped");
}

QString capitalised(QString text)
{
    if (!text.isEmpty())
        text[0] = text[0].toUpper();
    return text;
}

QString writeStopped(const QList<Step> &steps)
{
    int verified = 0; // registers 0 to verified - 1 hold what was written
    QString failed;
    for (qsizetype i = 0; i < steps.size() && failed.isEmpty(); ++i) {
        if (!steps[i].isWrite())
            continue;
        const Step *readBack = i + 1 < steps.size() && steps[i + 1].isRead() ? &steps[i + 1] : nullptr;
        if (steps[i].reply == kAcknowledge && readBack && valueOf(readBack->reply) == steps[i].value())
            ++verified;
        else
            failed = QStringLiteral("register %1 was not: %2").arg(steps[i].reg()).arg(writeFailure(steps[i], readBack));
    }
    QStringList sentences;
    QStringList first;
    if (verified > 0)
        first << rangeText(0, verified - 1) + QStringLiteral(" written and verified");
    if (!failed.isEmpty())
        first << failed;
    if (first.isEmpty()) {
        sentences << QStringLiteral("Nothing was written to the panel.");
        if (!steps.isEmpty() && steps.last().isRead())
            sentences << readFailure(steps.last());
    } else {
        sentences << capitalised(first.join(QStringLiteral("; "))) + QLatin1Char('.');
        const int next = verified + (failed.isEmpty() ? 0 : 1);
        if (next < kConfigRegisters)
            sentences << capitalised(rangeText(next, kConfigRegisters - 1)) + QStringLiteral(" not written.");
    }
    sentences << QStringLiteral("Write again: the write starts again from register 0.");
    return sentences.join(QLatin1Char(' '));
}

} // namespace

QString bytesShown(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return QStringLiteral("no byte");
    return QStringLiteral("\"%1\" (%2)").arg(printableOf(bytes), hexOf(bytes));
}

QString explainFailure(const QString &command, PanelOutcome outcome, const QList<TraceLine> &trace)
{
    if (outcome == PanelOutcome::NoResponse)
        return noAnswer(trace);
    const QList<Step> steps = stepsOf(trace);
    if (outcome == PanelOutcome::IdentityMismatch && !steps.isEmpty() && steps.last().isRead()) {
        const std::optional<int> value = valueOf(steps.last().reply);
        return QStringLiteral("The identity register 63 holds %1, not %2: %3.")
            .arg(value ? QString::number(*value) : QStringLiteral("no value"))
            .arg(kPanelIdentity)
            .arg(bytesShown(steps.last().reply));
    }
    if (outcome != PanelOutcome::BadData && outcome != PanelOutcome::Stopped)
        return QString();
    const bool stopped = outcome == PanelOutcome::Stopped;
    if (command == QLatin1String("write"))
        return (stopped ? QStringLiteral("Stopped before the end. ") : QString()) + writeStopped(steps);
    for (qsizetype i = steps.size() - 1; i >= 0; --i) {
        if (steps[i].isRead() && stopped)
            return QStringLiteral("Stopped at register %1 before the end.").arg(steps[i].reg());
        if (steps[i].isRead())
            return readFailure(steps[i]);
    }
    return QString();
}

} // namespace panel
