#pragma once

#include "link/serial_line.h"

#include <QTimer>
#include <array>
#include <functional>
#include <optional>

// A panel behind a scripted line: it answers hails, writes and reads from its registers, with each
// reply sent at once or after a delay. Tests change any answer through `script`.
class ScriptedPanel : public panel::SerialLine
{
public:
    struct Reply {
        QByteArray bytes;
        int delayMs = 0;
    };
    enum Kind { Hail, Write, Read, Other };

    ScriptedPanel()
    {
        registers.fill(0);
        registers[63] = 73;
        registers[0] = 0;
        registers[1] = 12;
        registers[2] = 159;
        registers[3] = 160;
        registers[4] = 160;
        registers[5] = 160;
        registers[6] = 159;
        registers[7] = 1;
        registers[8] = 10;
        registers[9] = 3;
    }

    bool open(const QString &, QString *error) override
    {
        if (!openError.isEmpty()) {
            *error = openError;
            return false;
        }
        isOpen = true;
        ++opens;
        return true;
    }

    void write(const QByteArray &bytes) override
    {
        wire += bytes;
        const Kind kind = bytes == "A" ? Hail : bytes.startsWith('S') ? Write : bytes.startsWith('V') ? Read : Other;
        if (kind == Hail)
            ++hails;
        std::optional<Reply> reply;
        if (script)
            reply = script(kind, bytes);
        if (!reply)
            reply = standardReply(kind, bytes);
        if (reply->delayMs == 0) {
            input += reply->bytes;
        } else {
            const QByteArray late = reply->bytes;
            QTimer::singleShot(reply->delayMs, Qt::PreciseTimer, &timerOwner, [this, late] {
                if (isOpen)
                    input += late;
            });
        }
    }

    Reply standardReply(Kind kind, const QByteArray &bytes)
    {
        switch (kind) {
        case Hail:
            return {"D000D"};
        case Write:
            registers[quint8(bytes[2])] = quint8(bytes[4]);
            writes.append({quint8(bytes[2]), quint8(bytes[4])});
            return {"D000D"};
        case Read:
            return {QByteArray::number(registers[quint8(bytes[2])] * 10).rightJustified(4, '0') + '\r'};
        case Other:
            break;
        }
        return {};
    }

    qint64 bytesWaiting() const override { return input.size(); }
    QByteArray takeAll() override { return std::exchange(input, QByteArray()); }
    // What the system holds for the line but the program has not seen (it was busy): taken only here.
    QByteArray takeArrived() override { return std::exchange(input, QByteArray()) + std::exchange(held, QByteArray()); }
    void close() override
    {
        isOpen = false;
        input.clear();
        ++closes;
    }
    bool isBroken() const override { return broken; }
    QString deviceName() const override { return device; }
    void setDeviceName(const QString &name) override { device = name; }

    std::array<int, 64> registers{};
    std::function<std::optional<Reply>(Kind, const QByteArray &)> script;
    QString openError;
    QString device = QStringLiteral("/dev/ttyFAKE");
    QByteArray wire;
    QByteArray input;
    QByteArray held;
    QList<QPair<int, int>> writes;
    int hails = 0;
    int opens = 0;
    int closes = 0;
    bool isOpen = false;
    bool broken = false;
    QObject timerOwner;
};
