#pragma once

#include <QString>
#include <QFileDialog>
#include <QPointer>
#include <optional>

class QWidget;

namespace panel {

// What the window asks of its one file dialog: the title, the filter as Qt spells it, the
// default suffix and the file name the dialog starts with.
struct FileRequest {
    enum Mode { Open, Save };
    Mode mode = Open;
    QString title;
    QString filter;
    QString defaultSuffix;
    QString fileName;
};

// Every modal message box and file dialog goes through here, so that tests can see them
// without blocking while the product shows real Qt dialogs.
class Dialogs
{
public:
    virtual ~Dialogs() = default;
    // A modal box with an OK button and no icon; an empty title means the application's name.
    virtual void message(QWidget *parent, const QString &text, const QString &title) = 0;
    // The chosen file's full name, or nothing when the user cancels.
    virtual std::optional<QString> chooseFile(QWidget *parent, const FileRequest &request) = 0;
};

// The product's dialogs. One file dialog serves every open and save, so it keeps its folder.
class QtDialogs : public Dialogs
{
public:
    QtDialogs();
    ~QtDialogs() override;
    void message(QWidget *parent, const QString &text, const QString &title) override;
    std::optional<QString> chooseFile(QWidget *parent, const FileRequest &request) override;

private:
    QPointer<QFileDialog> m_fileDialog; // a child of the window it was first shown for
};

} // namespace panel
