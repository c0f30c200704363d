#pragma once

#include "link/protocol.h"
#include "link/serial_ports.h"
#include "ui/form1_controls.h"

#include <QWidget>
#include <memory>

class QMenu;

namespace panel {

class Dialogs;
class EditorModel;
class SerialLine;
class WidgetView;
class WindowCommands;

// The one window of the program. It builds its controls from the control table and wires them: a
// choice made in a control goes to the editor model, which runs the rules and shows their outcome in
// the controls; the four command buttons run the window's commands.
class Form1 : public QWidget
{
    Q_OBJECT
public:
    // tickMilliseconds: the panel operations' tick, 100 ms for a panel.
    Form1(Dialogs &dialogs, SerialLine &line, int tickMilliseconds = kTickMilliseconds);
    ~Form1() override;

    // The configuration being edited; setting it runs the rules as a click does.
    EditorModel &editor() { return *m_editor; }
    const EditorModel &editor() const { return *m_editor; }
    WindowCommands &commands() { return *m_commands; }

    // Opens a configuration file as OPEN CONFIGURATION FILE does once the file is chosen.
    void openFile(const QString &path);

    // Where the serial port in use came from; shown in the window's menu.
    void setPortSource(PortSource source) { m_portSource = source; }
    // The window's context menu: a "Serial port" submenu with the ports present, the one in use ticked,
    // and the history's choices.
    std::unique_ptr<QMenu> windowMenu();
    // Uses the device from the next panel operation on, and remembers it for the next session.
    void usePort(const QString &device);
    // "Print legend…": the legend of the configuration shown, in a print preview (form1_legend.cpp).
    void printLegend();

protected:
    void closeEvent(QCloseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void buildControls();
    void wireControls();
    void setUpEditing();
    void undo();
    void redo();
    void addUndoActions(QMenu &menu);
    bool isControl(const QWidget *widget) const;
    void askForPort();
    // Ctrl+O, Ctrl+S, F1, a dropped .pnl file (opened as OPEN opens one), the focus frame, the recent files.
    void setUpDesktopHabits();
    void showHelp();
    void addRecentFiles(QMenu &menu);
    void openRecent(const QString &path);
    void openFromHistory(const QString &folder);

    Dialogs &m_dialogs;
    SerialLine &m_line;
    Form1Controls m_controls;
    std::unique_ptr<WidgetView> m_view;
    std::unique_ptr<EditorModel> m_editor;
    std::unique_ptr<WindowCommands> m_commands;
    PortSource m_portSource = PortSource::Option;
};

} // namespace panel
