#pragma once

#include <QByteArray>
#include <QString>

#include <sys/stat.h>
#include <sys/types.h>

namespace panel {

// What a file of this mode is, in a person's words: "a folder", "a FIFO", "a socket", "a device".
QString kindOf(mode_t mode);

// A file that only its owner may reach: the history's folder and journal.
struct OwnFile {
    enum Kind { Regular, Folder };
    int fd = -1;       // open on success, for the caller to close
    QString refusal;   // why not: not there, a link, another kind, another user's, ...
    bool missing = false; // nothing at the path
};

// Opens path with flags (and O_CREAT's newMode), never following a link in its last part and never
// waiting (a FIFO is refused at once), and checks what it opened: the kind wanted and the user's own.
// With narrow, group and other access is taken away; a file whose access cannot be narrowed is refused.
OwnFile openOwn(const QString &path, int flags, OwnFile::Kind kind, bool narrow, mode_t newMode = 0600);

} // namespace panel
