#include "ui/dialogs.h"

#include <QPrintPreviewDialog>
#include <QPrinter>

namespace panel {

void QtDialogs::previewPrint(QWidget *parent, const QString &title, const PagePainter &paint)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(title);
    QPrintPreviewDialog preview(&printer, parent);
    preview.setWindowTitle(title);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&paint](QPrinter *target) { paint(*target); });
    preview.exec();
}

} // namespace panel
