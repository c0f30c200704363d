// The desktop's habits: Ctrl+O and Ctrl+S, F1, a .pnl file dropped on the window, the recent files and a
// focus that shows.
#include "ui/form1.h"

#include "file/recent_files.h"
#include "ui/dialogs.h"
#include "ui/focus_frame.h"
#include "ui/window_commands.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QShortcut>
#include <QUrl>
#include <functional>
#include <utility>

namespace panel {

namespace {

const QString kHelpTitle = QStringLiteral("Help");
const QString kHelpText = QStringLiteral(
    "READ CONFIGURATION FROM SWITCH PANEL reads the panel into the window.\n"
    "WRITE CONFIGURATION TO SWITCH PANEL writes what the window shows to the panel.\n"
    "OPEN CONFIGURATION FILE (Ctrl+O) opens a .pnl file; a .pnl file dropped on the window opens too.\n"
    "SAVE CONFIGURATION FILE (Ctrl+S) saves what the window shows, named after the panel.\n"
    "\n"
    "Keys: Ctrl+Z undo, Ctrl+Shift+Z redo, Ctrl+O open, Ctrl+S save, Ctrl+Q close, F1 this help,\n"
    "Tab and Shift+Tab from control to control, Shift+F10 the menu.\n"
    "\n"
    "The menu (right-click the window's background, or Shift+F10): undo and redo, Compare with panel,\n"
    "Recent files, the serial port, and the history of panel operations.\n"
    "\n"
    "More in the manual page (man panelconfig) and in README.md beside the program's sources.");

// The one local .pnl file of a drop, or nothing.
QString droppedConfigFile(const QMimeData *data)
{
    if (!data || !data->hasUrls() || data->urls().size() != 1)
        return QString();
    const QUrl url = data->urls().constFirst();
    if (!url.isLocalFile())
        return QString();
    const QString path = url.toLocalFile();
    return QFileInfo(path).suffix().compare(QLatin1String("pnl"), Qt::CaseInsensitive) == 0 ? path : QString();
}

// Takes a .pnl file dropped on the window, wherever it lands: on the background, or on a text box, which
// would otherwise take the file's name as text.
class ConfigFileDrops : public QObject
{
public:
    ConfigFileDrops(QObject *owner, std::function<void(const QString &)> open)
        : QObject(owner)
        , m_open(std::move(open))
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const QEvent::Type type = event->type();
        if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
            return QObject::eventFilter(watched, event);
        auto *drop = static_cast<QDropEvent *>(event);
        const QString path = droppedConfigFile(drop->mimeData());
        if (path.isEmpty())
            return QObject::eventFilter(watched, event);
        drop->acceptProposedAction();
        if (type == QEvent::Drop)
            m_open(path);
        return true;
    }

private:
    std::function<void(const QString &)> m_open;
};

} // namespace

void Form1::setUpDesktopHabits()
{
    auto *open = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_O), this);
    connect(open, &QShortcut::activated, this, [this] { m_commands->readFile(); });
    auto *save = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_S), this);
    connect(save, &QShortcut::activated, this, [this] { m_commands->writeFile(); });
    auto *help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, &Form1::showHelp);
    setAcceptDrops(true);
    auto *drops = new ConfigFileDrops(this, [this](const QString &path) { openFile(path); });
    installEventFilter(drops);
    for (QLineEdit *box : findChildren<QLineEdit *>())
        box->installEventFilter(drops);
    new FocusFrame(this);
}

void Form1::showHelp() { m_dialogs.message(this, kHelpText, kHelpTitle); }

// "Recent files": the last files opened or saved, newest first.
void Form1::addRecentFiles(QMenu &menu)
{
    QMenu *recent = menu.addMenu(QStringLiteral("Recent files"));
    recent->setObjectName(QStringLiteral("recentFiles"));
    const QStringList files = recentFiles();
    recent->setEnabled(!files.isEmpty() && !m_commands->busy());
    for (const QString &path : files) {
        QAction *action = recent->addAction(QString(path).replace(QLatin1Char('&'), QStringLiteral("&&")));
        action->setData(path);
        connect(action, &QAction::triggered, this, [this, path] { openRecent(path); });
    }
}

void Form1::openRecent(const QString &path)
{
    if (!QFileInfo::exists(path)) {
        forgetRecentFile(path);
        m_dialogs.message(this, QStringLiteral("%1 is no longer there: it is taken off the recent files.").arg(path),
                          QString());
        return;
    }
    openFile(path);
}

} // namespace panel
