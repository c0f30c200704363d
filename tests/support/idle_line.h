#pragma once

#include "link/serial_line.h"

// A line with nothing on the other end: it opens, swallows what is written and never answers.
class IdleLine : public panel::SerialLine
{
public:
    bool open(const QString &, QString *) override { return true; }
    void write(const QByteArray &bytes) override { written += bytes; }
    qint64 bytesWaiting() const override { return 0; }
    QByteArray takeAll() override { return {}; }
    void close() override {}
    bool isBroken() const override { return false; }
    QString deviceName() const override { return device; }
    void setDeviceName(const QString &name) override { device = name; }

    QString device = QStringLiteral("idle");

    QByteArray written;
};
