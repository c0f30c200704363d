#pragma once

#include <QByteArray>
#include <QString>

#include <sys/types.h>

namespace panel {

// What a save does with a file already at its path.
enum class ExistingFile { Replace, Keep };

// How a save ended. SavedUnconfirmed: the new file is in place, but whether it survives a crash could
// not be confirmed (the folder could not be synced after the rename); the reason says why.
struct SaveOutcome {
    enum Kind { Saved, SavedUnconfirmed, Exists, Failed };
    Kind kind = Saved;
    QString reason; // why not, for Exists and Failed; what failed, for SavedUnconfirmed

    // The new file is in place (confirmed or not); what was there before is gone.
    bool saved() const { return kind == Saved || kind == SavedUnconfirmed; }
};

// Writes the bytes to path whole or not at all. They go to a temporary file beside it, which is
// written, synced and closed, every step checked, and then takes the path's place in one step: a
// rename, or for Keep a rename that fails when the path exists. Until that step any failure leaves
// what was at the path as it was and removes the temporary file. The folder is synced last: a failure
// there is SavedUnconfirmed, never Failed, since the new file is already in place.
// Only a regular file (or a link to one) is ever replaced. A replaced file keeps its permissions;
// a new one gets newMode less the umask.
SaveOutcome saveAtomically(const QString &path, const QByteArray &bytes, ExistingFile existing,
                           mode_t newMode = 0666);

// Why path can never be saved to (it is a folder, a FIFO, a device, a socket), or nothing.
QString notSavableReason(const QString &path);

} // namespace panel
