#pragma once

#include <QKeyEvent>
#include <QKeySequence>
#include <QList>

namespace panel {

// Ctrl+Z and Ctrl+Shift+Z on every desktop, with whatever the platform adds (Ctrl+Y on some); Ctrl+Q.
inline QList<QKeySequence> undoKeys()
{
    QList<QKeySequence> keys{QKeySequence(Qt::CTRL | Qt::Key_Z)};
    for (const QKeySequence &key : QKeySequence::keyBindings(QKeySequence::Undo)) {
        if (!keys.contains(key))
            keys << key;
    }
    return keys;
}

inline QList<QKeySequence> redoKeys()
{
    QList<QKeySequence> keys{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)};
    for (const QKeySequence &key : QKeySequence::keyBindings(QKeySequence::Redo)) {
        if (!keys.contains(key))
            keys << key;
    }
    return keys;
}

inline QKeySequence quitKey() { return QKeySequence(Qt::CTRL | Qt::Key_Q); }

inline bool isUndoOrRedo(const QKeyEvent &event)
{
    const QKeySequence pressed(event.keyCombination());
    return undoKeys().contains(pressed) || redoKeys().contains(pressed);
}

} // namespace panel
