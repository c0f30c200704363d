#pragma once

#include "file/history.h"

#include <QJsonObject>
#include <QList>

// Every entry of a history's journal, newest first (a test's journal is small), and how many of its
// lines could not be read.
inline QList<QJsonObject> journalEntries(const panel::History &history, int *unreadable = nullptr)
{
    QList<QJsonObject> entries;
    const panel::JournalRead read = history.readEntries([&](const QJsonObject &entry) {
        entries << entry;
        return true;
    });
    if (unreadable)
        *unreadable = read.unreadable;
    return entries;
}
