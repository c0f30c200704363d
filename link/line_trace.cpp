#include "link/line_trace.h"

namespace panel {

namespace {

// The widest command, so that the printable text of commands and short replies lines up.
constexpr int kHexColumn = 6 * 3 - 1;
constexpr int kTextColumn = 6;
constexpr int kTimeColumn = 5;

} // namespace

QString hexOf(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

QString printableOf(const QByteArray &bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (const char c : bytes)
        text += c >= 0x20 && c < 0x7F ? QChar::fromLatin1(c) : QChar('.');
    return text;
}

QString traceLineText(const TraceLine &line)
{
    // One pass over the pattern: a "%1" among the panel's bytes is shown, never replaced.
    return QStringLiteral("%1 ms %2 %3  %4  %5")
        .arg(QString::number(line.ms).rightJustified(kTimeColumn),
             line.sent ? QStringLiteral("→") : QStringLiteral("←"), hexOf(line.bytes).leftJustified(kHexColumn),
             printableOf(line.bytes).leftJustified(kTextColumn), line.meaning);
}

} // namespace panel
