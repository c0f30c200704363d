#include "ui/line_monitor.h"

#include "file/atomic_file.h"
#include "link/line_log.h"
#include "ui/dialogs.h"

#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace panel {

namespace {

constexpr int kWidth = 720;
constexpr int kHeight = 420;
// Longer than a reply takes to come after its command at 9600 baud, far shorter than the pause after it.
constexpr int kQuietMs = 25;

} // namespace

LineMonitor::LineMonitor(LineLog &log, Dialogs &dialogs, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_log(log)
    , m_dialogs(dialogs)
    , m_text(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("lineMonitor"));
    setWindowTitle(QStringLiteral("Line monitor"));
    m_text->setObjectName(QStringLiteral("lineMonitorText"));
    m_text->setReadOnly(true);
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_text->setAccessibleName(QStringLiteral("Bytes on the panel's line"));

    auto *copyButton = new QPushButton(QStringLiteral("&Copy"), this);
    copyButton->setObjectName(QStringLiteral("lineMonitorCopy"));
    connect(copyButton, &QPushButton::clicked, this, &LineMonitor::copy);
    auto *saveButton = new QPushButton(QStringLiteral("&Save as text…"), this);
    saveButton->setObjectName(QStringLiteral("lineMonitorSave"));
    connect(saveButton, &QPushButton::clicked, this, &LineMonitor::saveAsText);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(copyButton);
    buttons->addWidget(saveButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addLayout(buttons);
    resize(kWidth, kHeight);

    m_quiet.setSingleShot(true);
    m_quiet.setInterval(kQuietMs);
    connect(&m_quiet, &QTimer::timeout, this, &LineMonitor::refresh);
    refresh();
    m_log.setListener(this);
}

LineMonitor::~LineMonitor() { m_log.setListener(nullptr); }

QString LineMonitor::text()
{
    refresh();
    return m_text->toPlainText();
}

// The operation under way is told of each stretch of bytes at once; the text follows once the line has
// been quiet for a moment, in the pause before the next command, so that painting it holds up no reply.
void LineMonitor::operationStarted(const QString &, const QString &) { refreshSoon(); }

void LineMonitor::traced(const TraceLine &) { refreshSoon(); }

void LineMonitor::refreshSoon() { m_quiet.start(); }

// Only what changed: the operations the log let go leave the top, new lines are added at the end.
void LineMonitor::refresh()
{
    m_quiet.stop();
    const std::deque<TracedOperation> &operations = m_log.operations();
    const qint64 firstKept = m_log.started() - qint64(operations.size());
    int dropLines = 0;
    for (; m_firstShown < firstKept && !m_linesShown.empty(); ++m_firstShown) {
        dropLines += m_linesShown.front();
        m_linesShown.pop_front();
    }
    if (m_linesShown.empty()) {
        m_firstShown = firstKept;
        m_text->clear();
    } else if (dropLines > 0) {
        QTextCursor cursor(m_text->document());
        cursor.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor, dropLines);
        cursor.removeSelectedText();
    }
    QStringList added;
    for (size_t i = size_t(m_firstShown - firstKept); i < operations.size(); ++i) {
        const TracedOperation &operation = operations[i];
        const size_t shownIndex = size_t(firstKept + qint64(i) - m_firstShown);
        if (shownIndex >= m_linesShown.size()) {
            added << traceHeaderText(operation.command, operation.port, operation.started);
            m_linesShown.push_back(1);
        }
        int &shown = m_linesShown[shownIndex];
        for (qsizetype line = shown - 1; line < operation.lines.size(); ++line)
            added << traceLineText(operation.lines[line]);
        shown = int(operation.lines.size()) + 1;
    }
    if (!added.isEmpty())
        m_text->appendPlainText(added.join(QChar('\n')));
}

void LineMonitor::copy() { QGuiApplication::clipboard()->setText(text()); }

void LineMonitor::saveAsText()
{
    FileRequest request;
    request.mode = FileRequest::Save;
    request.title = QStringLiteral("Save the line monitor as text");
    request.filter = QStringLiteral("Text files (*.txt)");
    request.defaultSuffix = QStringLiteral("txt");
    request.fileName = QStringLiteral("line-monitor.txt");
    const std::optional<QString> path = m_dialogs.chooseFile(this, request);
    if (!path || path->isEmpty())
        return;
    const SaveOutcome saved = saveAtomically(*path, (text() + QLatin1Char('\n')).toUtf8(), ExistingFile::Replace);
    if (!saved.saved())
        m_dialogs.message(this, QStringLiteral("THE LINE MONITOR COULD NOT BE SAVED") + QChar(10) + *path
                                    + QStringLiteral(": ") + saved.reason,
                          QString());
}

} // namespace panel
