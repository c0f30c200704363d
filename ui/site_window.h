#pragma once

#include "site/site_states.h"

#include <QWidget>

class QLabel;
class QPushButton;
class QTableWidget;

namespace panel {

class Dialogs;
class Form1;

// A site's panels beside the main window: a folder of .pnl files (remembered), one row per panel with its
// state in words and colour, shown again after every command of the window. Activating a row (double-click,
// Enter) opens its file as OPEN CONFIGURATION FILE would; Write and Verify work on the selected panel with
// the window's port, as WRITE CONFIGURATION and the command line's --verify do.
class SiteWindow : public QWidget
{
    Q_OBJECT
public:
    SiteWindow(Form1 &form, Dialogs &dialogs);

    QString folder() const { return m_folder; }
    // Shows the folder's panels and remembers the folder for the next session.
    void setFolder(const QString &folder);
    // The folder chosen in the dialog; whether one was.
    bool chooseFolder();
    // The folder read again and the states from the history.
    void refresh();
    const QList<SiteRow> &rows() const { return m_rows; }
    QTableWidget &table() const { return *m_table; }

    void openRow(int row);
    void writeSelected();
    void verifySelected();

    // The folder last shown, from the settings.
    static QString rememberedFolder();

private:
    const SiteRow *selectedPanel() const;
    void showSelection();

    Form1 &m_form;
    Dialogs &m_dialogs;
    QString m_folder;
    QList<SiteRow> m_rows;
    QLabel *m_folderLabel;
    QTableWidget *m_table;
    QLabel *m_summary;
    QPushButton *m_write;
    QPushButton *m_verify;
};

// The site window of the main window, made on first use and raised after; a folder is asked for when
// none is remembered.
SiteWindow *showSiteWindow(Form1 &form, Dialogs &dialogs);

} // namespace panel
