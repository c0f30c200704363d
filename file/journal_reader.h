#pragma once

#include <QByteArrayView>
#include <QJsonObject>
#include <QString>

#include <functional>

namespace panel {

struct JournalRead {
    QString error;      // the journal could not be read (at all, or from some point on)
    int unreadable = 0; // lines that hold no JSON object: cut short, mixed with another, or far too long
};

// Whether a line is worth parsing, told from its bytes alone; a line not wanted is passed over unread.
using JournalLineFilter = std::function<bool(QByteArrayView)>;

// The lines of a journal open at fd, newest first, each given to take until it returns false. The file is
// read from its end backwards in blocks, so that memory stays the same whatever the journal's size.
JournalRead readNewestFirst(int fd, const std::function<bool(const QJsonObject &)> &take,
                            const JournalLineFilter &wanted = {});

} // namespace panel
