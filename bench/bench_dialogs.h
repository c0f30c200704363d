#pragma once

// The benchmark's stand-in for the window's dialogs: nothing is shown and nothing blocks. A file dialog
// answers the next file name queued (none queued: cancelled), a message box is only kept, a request for
// a line of text is cancelled, and a folder and a print preview are not shown.
#include "ui/dialogs.h"

#include <QStringList>

class BenchDialogs : public panel::Dialogs
{
public:
    void message(QWidget *, const QString &text, const QString &) override { messages.append(text); }

    std::optional<QString> chooseFile(QWidget *, const panel::FileRequest &) override
    {
        if (fileAnswers.isEmpty())
            return std::nullopt;
        return fileAnswers.takeFirst();
    }

    std::optional<QString> askText(QWidget *, const QString &, const QString &, const QString &) override
    {
        return std::nullopt;
    }

    void showFolder(QWidget *, const QString &) override {}
    SaveChoice askToSaveChanges(QWidget *, const QString &, const QString &) override { return SaveChoice::Discard; }
    void previewPrint(QWidget *, const QString &, const PagePainter &) override {}

    QStringList messages;    // the text of each message box asked for
    QStringList fileAnswers; // the files the next file dialogs choose
};
