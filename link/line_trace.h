#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace panel {

// One stretch of bytes on the panel's line: what was sent in one write, or what one look at the line
// took, with the time since the operation's start and what it forms ("hail", "write r=3 v=12",
// "read r=63 → 73", "late", "unexpected").
struct TraceLine {
    qint64 ms = 0;
    bool sent = true;
    QByteArray bytes;
    QString meaning;
};

// "   12 ms → 56 00 3F 30 30 56  V.?00V  read r=63": the time, the direction, the bytes in hex and as
// printable text (a dot for any other byte), and what they form.
QString traceLineText(const TraceLine &line);
// The bytes in hex, "30 37 0D", and as printable text, "07.".
QString hexOf(const QByteArray &bytes);
QString printableOf(const QByteArray &bytes);

// Whoever watches the line: told when an operation opens the line, then of every stretch of bytes.
class LineObserver
{
public:
    virtual ~LineObserver() = default;
    virtual void operationStarted(const QString &command, const QString &port) = 0;
    virtual void traced(const TraceLine &line) = 0;
};

} // namespace panel
