#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace panel {

// The fields a --read file name may hold, replaced for each panel: {port} the device's base name,
// {n} the panel's number in three digits or more (001, 002, ...), {time} the time in UTC
// (20261208T213000Z).
struct FileNameFields {
    bool port = false;
    bool n = false;
    bool time = false;

    // Whether two panels read at once on two ports get two names.
    bool namesEachPort() const { return port || n; }
    // Whether panels read one after the other on one port get two names.
    bool namesEachPanel() const { return n || time; }
};

FileNameFields fileNameFields(const QString &pattern);
QString expandFileName(const QString &pattern, const QString &device, int n, const QDateTime &time);

// The highest {n} of the names the pattern already gives, for any of the devices, among the names in
// its folder; 0 when it gives none. Numbering goes on after it, so that a line started again never
// meets a name it gave before.
int highestNumberTaken(const QString &pattern, const QStringList &devices);

} // namespace panel
