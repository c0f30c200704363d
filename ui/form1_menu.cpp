// The window's context menu, on its background: the serial port of the panel, and the history.
#include "ui/form1.h"

#include "file/config_file_ops.h"
#include "file/history.h"
#include "link/serial_line.h"
#include "ui/dialogs.h"
#include "ui/window_commands.h"
#include "ui/site_window.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QMenu>

namespace panel {

namespace {

const QString kSerialPort = QStringLiteral("Serial port");

} // namespace

bool Form1::isControl(const QWidget *widget) const
{
    for (; widget && widget != this; widget = widget->parentWidget()) {
        if (qobject_cast<const QAbstractButton *>(widget) || qobject_cast<const QAbstractItemView *>(widget))
            return true;
    }
    return false;
}

void Form1::contextMenuEvent(QContextMenuEvent *event)
{
    const std::unique_ptr<QMenu> menu = windowMenu();
    QPoint at = event->globalPos();
    if (event->reason() == QContextMenuEvent::Mouse) {
        // A right-click on a list, a button or the check box is not one on the background.
        if (isControl(childAt(event->pos()))) {
            event->ignore();
            return;
        }
    } else if (QWidget *focus = focusWidget()) {
        at = focus->mapToGlobal(focus->rect().center());
    }
    menu->exec(at);
}

std::unique_ptr<QMenu> Form1::windowMenu()
{
    auto menu = std::make_unique<QMenu>(this);
    menu->setObjectName(QStringLiteral("windowMenu"));
    addUndoActions(*menu);
    QAction *compare = menu->addAction(QStringLiteral("Compare with panel"));
    compare->setObjectName(QStringLiteral("compareWithPanel"));
    compare->setEnabled(!m_commands->busy());
    connect(compare, &QAction::triggered, this, [this] { m_commands->compareWithPanel(); });
    addRecentFiles(*menu);
    menu->addSeparator();
    QMenu *ports = menu->addMenu(kSerialPort);
    ports->setObjectName(QStringLiteral("portMenu"));

    const QString current = m_line.deviceName();
    QAction *inUse = ports->addAction(QStringLiteral("In use: %1 (%2)").arg(current, describePortSource(m_portSource)));
    inUse->setEnabled(false);
    ports->addSeparator();

    QList<SerialPortEntry> present = presentSerialPorts();
    const bool listed = std::any_of(present.cbegin(), present.cend(),
                                    [&](const SerialPortEntry &port) { return port.device == current; });
    if (!listed)
        present.prepend(SerialPortEntry{current, {}, {}, {}, {}});
    for (const SerialPortEntry &port : present) {
        QAction *action = ports->addAction(port.describe());
        action->setCheckable(true);
        action->setChecked(port.device == current);
        action->setData(port.device);
        connect(action, &QAction::triggered, this, [this, device = port.device] { usePort(device); });
    }
    ports->addSeparator();
    QAction *other = ports->addAction(QStringLiteral("Other device…"));
    other->setObjectName(QStringLiteral("otherDevice"));
    connect(other, &QAction::triggered, this, &Form1::askForPort);

    menu->addSeparator();
    QAction *keep = menu->addAction(QStringLiteral("Keep a history"));
    keep->setObjectName(QStringLiteral("keepHistory"));
    keep->setCheckable(true);
    keep->setChecked(historyKept());
    connect(keep, &QAction::toggled, this, [](bool kept) { setHistoryKept(kept); });
    QAction *backup = menu->addAction(QStringLiteral("Keep the panel's configuration before writing"));
    backup->setObjectName(QStringLiteral("backupBeforeWrite"));
    backup->setCheckable(true);
    backup->setChecked(backupBeforeWrite());
    connect(backup, &QAction::toggled, this, [](bool kept) { setBackupBeforeWrite(kept); });
    const QString folder = History::defaultFolder();
    const bool kept = QFileInfo(folder).isDir();
    QAction *open = menu->addAction(QStringLiteral("Open from history…"));
    open->setObjectName(QStringLiteral("openFromHistory"));
    open->setEnabled(kept);
    connect(open, &QAction::triggered, this, [this, folder] { openFromHistory(folder); });
    QAction *show = menu->addAction(QStringLiteral("Show history folder"));
    show->setObjectName(QStringLiteral("showHistoryFolder"));
    show->setEnabled(kept);
    connect(show, &QAction::triggered, this, [this, folder] { m_dialogs.showFolder(this, folder); });

    menu->addSeparator();
    QAction *legend = menu->addAction(QStringLiteral("Print legend…"));
    legend->setObjectName(QStringLiteral("printLegend"));
    connect(legend, &QAction::triggered, this, &Form1::printLegend);
    // A site's panels and their states, beside the window.
    QAction *site = menu->addAction(QStringLiteral("Site…"));
    site->setObjectName(QStringLiteral("showSite"));
    connect(site, &QAction::triggered, this, [this] { showSiteWindow(*this, m_dialogs); });
    // Every byte on the panel's line, in a window of its own.
    QAction *monitor = menu->addAction(QStringLiteral("Line monitor…"));
    monitor->setObjectName(QStringLiteral("showLineMonitor"));
    connect(monitor, &QAction::triggered, this, [this] { m_commands->showLineMonitor(); });
    return menu;
}

// A snapshot chosen in the history folder, newest first, is opened as OPEN CONFIGURATION FILE opens a file.
void Form1::openFromHistory(const QString &folder)
{
    FileRequest request;
    request.title = QStringLiteral("Open from history");
    request.filter = qtNameFilter(kConfigFileFilter);
    request.defaultSuffix = QStringLiteral("pnl");
    request.folder = folder;
    request.newestFirst = true;
    if (const std::optional<QString> chosen = m_dialogs.chooseFile(this, request))
        openFile(*chosen);
}

void Form1::askForPort()
{
    const std::optional<QString> device =
        m_dialogs.askText(this, kSerialPort, QStringLiteral("Device of the panel's serial port:"), m_line.deviceName());
    if (device && !device->trimmed().isEmpty())
        usePort(device->trimmed());
}

void Form1::usePort(const QString &device)
{
    m_line.setDeviceName(device);
    m_portSource = PortSource::Remembered;
    rememberPort(device);
}

} // namespace panel
