#pragma once

#include "ui/dialogs.h"

#include <QList>
#include <QString>
#include <functional>

// Records every message box and file dialog the window asks for, without blocking.
// File dialogs answer from a queue of scripted choices (nothing queued: cancelled).
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

    QList<Message> messages;
    std::function<void(const Message &)> onMessage;
    QList<panel::FileRequest> fileRequests;
    QList<std::optional<QString>> fileAnswers;
};
