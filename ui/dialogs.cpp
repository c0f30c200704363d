#include "ui/dialogs.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QGuiApplication>
#include <QPushButton>
#include <QMessageBox>

namespace panel {

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

QtDialogs::QtDialogs() = default;

QtDialogs::~QtDialogs()
{
    delete m_fileDialog.data();
}

std::optional<QString> QtDialogs::chooseFile(QWidget *parent, const FileRequest &request)
{
    if (!m_fileDialog)
        m_fileDialog = new QFileDialog(parent);
    QFileDialog &dialog = *m_fileDialog;
    dialog.setWindowTitle(request.title);
    dialog.setNameFilter(request.filter);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (request.mode == FileRequest::Save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

} // namespace panel
