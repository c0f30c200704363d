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
#include <QVBoxLayout>

namespace panel {

namespace {

constexpr int kWidth = 720;
constexpr int kHeight = 420;

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

    showAll();
    m_log.setListener(this);
}

LineMonitor::~LineMonitor() { m_log.setListener(nullptr); }

QString LineMonitor::text() const { return m_text->toPlainText(); }

void LineMonitor::showAll()
{
    m_text->setPlainText(m_log.text());
    m_text->moveCursor(QTextCursor::End);
}

// The log may have let its oldest operation go: everything is shown again, the new heading last.
void LineMonitor::operationStarted(const QString &, const QString &) { showAll(); }

void LineMonitor::traced(const TraceLine &line) { m_text->appendPlainText(traceLineText(line)); }

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
