#pragma once

#include "ui/dialogs.h"

#include "pdf_pages.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

// Records every message box and file dialog the window asks for, without blocking.
// File dialogs answer from a queue of scripted choices (nothing queued: cancelled). A print preview
// prints at once into a PDF of A4 pages, which is kept.
class RecordingDialogs : public panel::Dialogs
{
public:
    struct Message {
        QString text;
        QString title;
    };

    void message(QWidget *, const QString &text, const QString &title) override
    {
        messages.append({text, title});
        if (onMessage)
            onMessage(messages.constLast());
    }

    std::optional<QString> chooseFile(QWidget *, const panel::FileRequest &request) override
    {
        fileRequests.append(request);
        if (fileAnswers.isEmpty())
            return std::nullopt;
        return fileAnswers.takeFirst();
    }

    std::optional<QString> askText(QWidget *, const QString &title, const QString &label, const QString &text) override
    {
        textRequests.append({label, title});
        Q_UNUSED(text);
        if (textAnswers.isEmpty())
            return std::nullopt;
        return textAnswers.takeFirst();
    }

    void showFolder(QWidget *, const QString &folder) override { foldersShown.append(folder); }

    SaveChoice askToSaveChanges(QWidget *, const QString &title, const QString &text) override
    {
        saveQuestions.append({text, title});
        return saveAnswers.isEmpty() ? SaveChoice::Cancel : saveAnswers.takeFirst();
    }

    void previewPrint(QWidget *, const QString &title, const PagePainter &paint) override
    {
        printTitles.append(title);
        printed.append(pdfOf(paint));
    }

    QList<Message> messages;
    QStringList printTitles;  // of each print preview
    QList<QByteArray> printed; // what each printed, as a PDF
    QList<Message> saveQuestions;     // asked on closing with changes
    QList<SaveChoice> saveAnswers;    // nothing queued: Cancel
    QStringList foldersShown;
    QList<Message> textRequests; // the label and the title of each
    QList<std::optional<QString>> textAnswers;
    std::function<void(const Message &)> onMessage;
    QList<panel::FileRequest> fileRequests;
    QList<std::optional<QString>> fileAnswers;
};
