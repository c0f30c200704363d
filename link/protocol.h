#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// The panel's byte protocol: three commands, one byte per character, and the replies to them.
namespace panel {

inline const QByteArray kAcknowledge = QByteArrayLiteral("D000D");
constexpr qint64 kReplyLength = 5;     // a wait ends once this many bytes are waiting
constexpr int kShortestReadReply = 4;  // fewer characters carry no register value
constexpr int kHailAttempts = 6;
constexpr int kTickMilliseconds = 100;
inline const QString kLineSettings = QStringLiteral("9600,N,8,1");

QByteArray hailCommand();
QByteArray writeCommand(quint8 address, quint8 data);
QByteArray readCommand(quint8 address);

// The value of a read reply: the decimal number it begins with (blanks skipped, an optional sign
// and decimal fraction allowed), divided by 10 and rounded half to even. A reply that does not begin
// with a number is worth 0. fits is false when the value does not fit a 16-bit signed integer.
struct ReplyValue {
    bool fits = true;
    qint16 value = 0;
};
ReplyValue replyValue(const QByteArray &reply);

} // namespace panel
