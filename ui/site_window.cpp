#include "ui/site_window.h"

#include "file/history.h"
#include "site/local_time.h"
#include "ui/dialogs.h"
#include "ui/form1.h"
#include "ui/window_commands.h"

#include <QBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QTableWidget>

namespace panel {

namespace {

const QString kFolderKey = QStringLiteral("site/folder");

enum Column { FileColumn, NameColumn, StateColumn, WhenColumn, PortColumn, ColumnCount };

// Light backgrounds under black text: from red for what needs the technician to green for what is done.
QColor stateColour(const SiteRow &row)
{
    if (!row.file.named)
        return QColor(0xf4, 0xa0, 0xa0);
    switch (row.status.state) {
    case PanelState::Verified:
        return QColor(0xb6, 0xe3, 0xb6);
    case PanelState::Written:
        return QColor(0xcf, 0xe3, 0xf7);
    case PanelState::NotWritten:
        return QColor(0xf2, 0xf2, 0xf2);
    case PanelState::ChangedSinceWritten:
        return QColor(0xff, 0xe0, 0xa0);
    case PanelState::Differs:
        return QColor(0xff, 0xc0, 0x80);
    case PanelState::Failed:
        return QColor(0xf4, 0xa0, 0xa0);
    case PanelState::Unknown:
        break;
    }
    return QColor(0xdd, 0xdd, 0xdd);
}

QTableWidgetItem *item(const QString &text)
{
    auto *cell = new QTableWidgetItem(text);
    cell->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return cell;
}

} // namespace

SiteWindow::SiteWindow(Form1 &form, Dialogs &dialogs)
    : QWidget(&form, Qt::Window)
    , m_form(form)
    , m_dialogs(dialogs)
    , m_folderLabel(new QLabel(this))
    , m_table(new QTableWidget(0, ColumnCount, this))
    , m_summary(new QLabel(this))
    , m_write(new QPushButton(QStringLiteral("&Write"), this))
    , m_verify(new QPushButton(QStringLiteral("&Verify"), this))
{
    setObjectName(QStringLiteral("siteWindow"));
    setWindowTitle(QStringLiteral("Site"));
    m_table->setObjectName(QStringLiteral("siteTable"));
    m_table->setHorizontalHeaderLabels({QStringLiteral("File"), QStringLiteral("Panel name"), QStringLiteral("State"),
                                        QStringLiteral("When"), QStringLiteral("Port")});
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_folderLabel->setTextFormat(Qt::PlainText);
    m_summary->setTextFormat(Qt::PlainText);
    m_summary->setWordWrap(true);
    m_write->setObjectName(QStringLiteral("siteWrite"));
    m_write->setToolTip(QStringLiteral("Writes the selected panel's file to the panel on the port in use"));
    m_verify->setObjectName(QStringLiteral("siteVerify"));
    m_verify->setToolTip(QStringLiteral("Reads the panel on the port in use and compares it with the selected file"));
    auto *choose = new QPushButton(QStringLiteral("&Folder…"), this);
    choose->setObjectName(QStringLiteral("siteFolder"));

    auto *top = new QHBoxLayout;
    top->addWidget(m_folderLabel, 1);
    top->addWidget(choose);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_summary, 1);
    buttons->addWidget(m_write);
    buttons->addWidget(m_verify);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_table, 1);
    layout->addLayout(buttons);
    resize(720, 420);

    connect(choose, &QPushButton::clicked, this, [this] { chooseFolder(); });
    connect(m_write, &QPushButton::clicked, this, &SiteWindow::writeSelected);
    connect(m_verify, &QPushButton::clicked, this, &SiteWindow::verifySelected);
    connect(m_table, &QTableWidget::activated, this, [this](const QModelIndex &index) { openRow(index.row()); });
    connect(m_table, &QTableWidget::itemSelectionChanged, this, &SiteWindow::showSelection);
    // The window's commands outlive this window when it is closed first, and not when the main window goes.
    m_form.commands().setCommandEnded([site = QPointer<SiteWindow>(this)] {
        if (site)
            site->refresh();
    });
    showSelection();
}

QString SiteWindow::rememberedFolder() { return QSettings().value(kFolderKey).toString(); }

void SiteWindow::setFolder(const QString &folder)
{
    m_folder = folder;
    QSettings().setValue(kFolderKey, folder);
    refresh();
}

bool SiteWindow::chooseFolder()
{
    FileRequest request;
    request.mode = FileRequest::Folder;
    request.title = QStringLiteral("Site folder");
    request.folder = m_folder;
    const std::optional<QString> chosen = m_dialogs.chooseFile(this, request);
    if (!chosen || chosen->isEmpty())
        return false;
    setFolder(*chosen);
    return true;
}

void SiteWindow::refresh()
{
    const QString selected = selectedPanel() ? selectedPanel()->file.file : QString();
    const SiteScan scan = scanSite(m_folder);
    m_folderLabel->setText(m_folder.isEmpty() ? QStringLiteral("No folder chosen") : m_folder);
    const SiteStates states = scan.error.isEmpty() ? siteStates(scan, History()) : SiteStates();
    m_rows = states.rows;
    m_table->setRowCount(0);
    m_table->setRowCount(int(m_rows.size()));
    for (int index = 0; index < m_rows.size(); ++index) {
        const SiteRow &row = m_rows[index];
        QString state = rowStateWords(row);
        if (!row.sameName.isEmpty())
            state += QStringLiteral("; same panel name as ") + row.sameName.join(QStringLiteral(", "));
        m_table->setItem(index, FileColumn, item(row.file.file));
        m_table->setItem(index, NameColumn, item(row.panelName));
        m_table->setItem(index, StateColumn, item(state));
        m_table->setItem(index, WhenColumn, item(row.status.seen ? localTimeWithOffset(row.status.seen->time) : QString()));
        m_table->setItem(index, PortColumn, item(row.status.seen ? row.status.seen->port : QString()));
        const QColor colour = stateColour(row);
        for (int column = 0; column < ColumnCount; ++column) {
            m_table->item(index, column)->setBackground(colour);
            m_table->item(index, column)->setForeground(Qt::black);
        }
        if (row.file.file == selected)
            m_table->selectRow(index);
    }
    m_table->resizeColumnsToContents();
    QStringList told;
    if (!scan.error.isEmpty() && !m_folder.isEmpty())
        told << scan.error;
    else if (!m_rows.isEmpty())
        told << siteSummary(m_rows);
    if (!states.warning.isEmpty())
        told << states.warning;
    m_summary->setText(told.join(QChar(10)));
    showSelection();
}

const SiteRow *SiteWindow::selectedPanel() const
{
    const QList<QTableWidgetItem *> selected = m_table->selectedItems();
    if (selected.isEmpty())
        return nullptr;
    const int row = selected.constFirst()->row();
    return row >= 0 && row < m_rows.size() ? &m_rows[row] : nullptr;
}

void SiteWindow::showSelection()
{
    const SiteRow *row = selectedPanel();
    const bool usable = row && row->file.named;
    m_write->setEnabled(usable);
    m_verify->setEnabled(usable);
}

void SiteWindow::openRow(int row)
{
    if (row >= 0 && row < m_rows.size())
        m_form.openFile(m_rows[row].file.path);
}

void SiteWindow::writeSelected()
{
    if (const SiteRow *row = selectedPanel(); row && row->file.named)
        m_form.commands().writeNamedConfig(*row->file.named);
}

void SiteWindow::verifySelected()
{
    if (const SiteRow *row = selectedPanel(); row && row->file.named)
        m_form.commands().verifyNamedConfig(*row->file.named);
}

SiteWindow *showSiteWindow(Form1 &form, Dialogs &dialogs)
{
    auto *site = form.findChild<SiteWindow *>(QString(), Qt::FindDirectChildrenOnly);
    if (!site) {
        site = new SiteWindow(form, dialogs);
        const QString remembered = SiteWindow::rememberedFolder();
        if (remembered.isEmpty())
            site->chooseFolder();
        else
            site->setFolder(remembered);
    }
    site->show();
    site->raise();
    site->activateWindow();
    return site;
}

} // namespace panel
