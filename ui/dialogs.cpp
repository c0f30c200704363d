#include "ui/dialogs.h"

#include <QClipboard>
#include <QFileDialog>
#include <QTreeView>
#include <QUrl>
#include <QGridLayout>
#include <QInputDialog>
#include <QGuiApplication>
#include <QPushButton>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>

namespace panel {

namespace {

constexpr int kDateModifiedColumn = 3; // of the file dialog's detailed list

// Where the folder is, and its path to copy: for a desktop without a file manager.
void tellFolder(QWidget *parent, const QString &folder)
{
    QMessageBox box(QMessageBox::NoIcon, QGuiApplication::applicationDisplayName(),
                    QStringLiteral("No file manager could show the history folder. It is:\n%1").arg(folder),
                    QMessageBox::Close, parent);
    box.setTextFormat(Qt::PlainText);
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    QPushButton *copy = box.addButton(QStringLiteral("Copy path"), QMessageBox::ActionRole);
    copy->setObjectName(QStringLiteral("copyPath"));
    box.exec();
    if (box.clickedButton() == copy)
        QGuiApplication::clipboard()->setText(folder);
}

} // namespace

void QtDialogs::message(QWidget *parent, const QString &text, const QString &title)
{
    QMessageBox box(QMessageBox::NoIcon,
                    title.isEmpty() ? QGuiApplication::applicationDisplayName() : title,
                    text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.button(QMessageBox::Ok)->setIcon(QIcon());
    // Wide enough that each line of the text stays one line.
    int widest = 0;
    for (const QString &line : text.split(QLatin1Char('\n')))
        widest = qMax(widest, box.fontMetrics().horizontalAdvance(line));
    if (auto *grid = qobject_cast<QGridLayout *>(box.layout())) {
        grid->addItem(new QSpacerItem(qMin(widest + 60, 900), 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    box.exec();
}

std::optional<QString> QtDialogs::chooseFile(QWidget *parent, const FileRequest &request)
{
    QFileDialog dialog(parent, request.title);
    dialog.setNameFilter(request.filter);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (request.mode == FileRequest::Save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
    } else if (request.mode == FileRequest::Folder) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (!request.folder.isEmpty())
        dialog.setDirectory(request.folder);
    else if (!m_folder.isEmpty())
        dialog.setDirectory(m_folder);
    if (request.newestFirst) {
        dialog.setViewMode(QFileDialog::Detail);
        if (auto *files = dialog.findChild<QTreeView *>(QStringLiteral("treeView")))
            files->sortByColumn(kDateModifiedColumn, Qt::DescendingOrder);
    }
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName); // a full name also chooses its folder
    const bool accepted = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
    m_folder = dialog.directory().absolutePath();
    if (!accepted)
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

// The desktop's file manager shows the folder; where there is none (xdg-open missing, or failing to find
// one), a box says where the folder is and offers its path for pasting elsewhere.
void QtDialogs::showFolder(QWidget *parent, const QString &folder)
{
    auto *opener = new QProcess(parent);
    const QPointer<QWidget> window(parent);
    const auto tell = [opener, window, folder] {
        opener->deleteLater();
        tellFolder(window, folder);
    };
    QObject::connect(opener, &QProcess::errorOccurred, opener, [tell](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            tell();
    });
    QObject::connect(opener, &QProcess::finished, opener, [opener, tell](int code, QProcess::ExitStatus status) {
        if (status == QProcess::NormalExit && code == 0)
            opener->deleteLater();
        else
            tell();
    });
    opener->start(QStringLiteral("xdg-open"), {QUrl::fromLocalFile(folder).toString()});
}

std::optional<QString> QtDialogs::askText(QWidget *parent, const QString &title, const QString &label,
                                          const QString &text)
{
    bool ok = false;
    const QString answer = QInputDialog::getText(parent, title, label, QLineEdit::Normal, text, &ok);
    if (!ok)
        return std::nullopt;
    return answer;
}

Dialogs::SaveChoice QtDialogs::askToSaveChanges(QWidget *parent, const QString &title, const QString &text)
{
    switch (QMessageBox::question(parent, title, text, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                                  QMessageBox::Save)) {
    case QMessageBox::Save:
        return SaveChoice::Save;
    case QMessageBox::Discard:
        return SaveChoice::Discard;
    default:
        return SaveChoice::Cancel;
    }
}

} // namespace panel
