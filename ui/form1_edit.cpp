// Undo and redo of the configuration shown, and the question asked when changes would be lost.
#include "ui/form1.h"

#include "model/editor_model.h"
#include "ui/dialogs.h"
#include "ui/undo_keys.h"
#include "ui/window_commands.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenu>
#include <QShortcut>

namespace panel {

namespace {

const QString kChangedQuestion = QStringLiteral(
    "The configuration shown has changed since it was last saved, opened, written to the panel or read from it.\n"
    "Do you want to save it before the window closes?");

} // namespace

// Ctrl+Z, Ctrl+Shift+Z and Ctrl+Q, wherever the focus is (a text box leaves them to the window).
void Form1::setUpEditing()
{
    auto *undo = new QShortcut(this);
    undo->setKeys(undoKeys());
    connect(undo, &QShortcut::activated, this, &Form1::undo);
    auto *redo = new QShortcut(this);
    redo->setKeys(redoKeys());
    connect(redo, &QShortcut::activated, this, &Form1::redo);
    auto *quit = new QShortcut(quitKey(), this);
    connect(quit, &QShortcut::activated, this, &QWidget::close);
}

// Nothing is undone while a command runs: it is still changing what the window shows.
void Form1::undo()
{
    if (!m_commands->busy())
        m_editor->steps().undo();
}

void Form1::redo()
{
    if (!m_commands->busy())
        m_editor->steps().redo();
}

// "Undo SW2 module", "Redo READ": what the next undo and redo bring back, when there is any.
void Form1::addUndoActions(QMenu &menu)
{
    const QUndoStack &steps = m_editor->steps();
    QAction *undo = menu.addAction(steps.canUndo() ? QStringLiteral("Undo %1").arg(steps.undoText()) : QStringLiteral("Undo"));
    undo->setObjectName(QStringLiteral("undo"));
    undo->setShortcuts(undoKeys());
    undo->setEnabled(steps.canUndo() && !m_commands->busy());
    connect(undo, &QAction::triggered, this, &Form1::undo);
    QAction *redo = menu.addAction(steps.canRedo() ? QStringLiteral("Redo %1").arg(steps.redoText()) : QStringLiteral("Redo"));
    redo->setObjectName(QStringLiteral("redo"));
    redo->setShortcuts(redoKeys());
    redo->setEnabled(steps.canRedo() && !m_commands->busy());
    connect(redo, &QAction::triggered, this, &Form1::redo);
    menu.addSeparator();
}

void Form1::closeEvent(QCloseEvent *event)
{
    if (!m_commands->allowClose()) {
        event->ignore(); // the command under way ends at its next wait; the window closes right after it
        return;
    }
    if (m_editor->changedSinceMarked() && !m_commands->closedDuringCommand()) {
        switch (m_dialogs.askToSaveChanges(this, windowTitle(), kChangedQuestion)) {
        case Dialogs::SaveChoice::Save:
            if (m_commands->saveBeforeClosing())
                break;
            [[fallthrough]];
        case Dialogs::SaveChoice::Cancel:
            event->ignore();
            return;
        case Dialogs::SaveChoice::Discard:
            break;
        }
    }
    QWidget::closeEvent(event);
}

} // namespace panel
