#pragma once

#include <QString>
#include <functional>
#include <optional>

class QPagedPaintDevice;
class QWidget;

namespace panel {

// What the window asks of its one file dialog: the title, the filter as Qt spells it, the
// default suffix and the file name the dialog starts with.
struct FileRequest {
    enum Mode { Open, Save, Folder }; // Folder: an existing folder is chosen
    Mode mode = Open;
    QString title;
    QString filter;
    QString defaultSuffix;
    QString fileName;
    QString folder;           // where the dialog starts, instead of where the last one ended
    bool newestFirst = false; // files listed newest first
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
    // A line of text typed by the user, or nothing when the user cancels.
    virtual std::optional<QString> askText(QWidget *parent, const QString &title, const QString &label,
                                           const QString &text) = 0;
    // The folder shown in the desktop's file manager.
    virtual void showFolder(QWidget *parent, const QString &folder) = 0;
    // Whether changes are saved before the window closes: a standard question.
    enum class SaveChoice { Save, Discard, Cancel };
    virtual SaveChoice askToSaveChanges(QWidget *parent, const QString &title, const QString &text) = 0;
    // A print preview of the pages `paint` draws, from which the user prints them on one of the system's
    // printers or into a PDF file.
    using PagePainter = std::function<void(QPagedPaintDevice &device)>;
    virtual void previewPrint(QWidget *parent, const QString &title, const PagePainter &paint) = 0;
};

// The product's dialogs. Each file dialog lives only while it is shown, so nothing of it (its
// name-completion list above all) outlives it; the folder of the last one is kept for the next.
class QtDialogs : public Dialogs
{
public:
    void message(QWidget *parent, const QString &text, const QString &title) override;
    std::optional<QString> chooseFile(QWidget *parent, const FileRequest &request) override;
    std::optional<QString> askText(QWidget *parent, const QString &title, const QString &label,
                                   const QString &text) override;
    void showFolder(QWidget *parent, const QString &folder) override;
    SaveChoice askToSaveChanges(QWidget *parent, const QString &title, const QString &text) override;
    void previewPrint(QWidget *parent, const QString &title, const PagePainter &paint) override; // print_preview.cpp

private:
    QString m_folder;
};

} // namespace panel
