#include "ui/form1.h"

#include "model/editor_model.h"
#include "ui/caption_button.h"
#include "ui/control_factory.h"
#include "ui/control_table.h"
#include "ui/dialogs.h"
#include "ui/face_plate.h"
#include "ui/rule_check_box.h"
#include "ui/selection_list.h"
#include "ui/status_box.h"
#include "ui/text_box.h"
#include "ui/widget_view.h"
#include "ui/window_commands.h"
#include "ui/window_layout.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QImageReader>
#include <QLabel>
#include <QShortcut>
#include <QTimer>
#include <future>
#include <type_traits>

// The pictures live in a static library: their resource must be registered by hand.
static void initImages() { Q_INIT_RESOURCE(assets); }

namespace panel {

namespace {

const char *const kCaption = "KD CVX 4/6 BUTTON DIMMABLE SWITCH PANEL CONFIGURATION PROGRAM";
// The timer as the window is built: disabled, with the period it is given before the link first uses it.
constexpr int kTimerBuildPeriod = 500;

} // namespace

Form1::Form1(Dialogs &dialogs, SerialLine &line, QWidget *parent)
    : QWidget(parent)
    , m_dialogs(dialogs)
    , m_line(line)
{
    initImages();
    // Reading the icon loads the image plug-ins (the style's first picture would load them here otherwise),
    // which takes as long as building several controls: both happen meanwhile on another thread.
    std::future<QImage> icon = std::async(std::launch::async | std::launch::deferred,
                                          [] { return QImageReader(QStringLiteral(":/images/icon.png")).read(); });
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromLatin1(kCaption));
    setFixedSize(kWindowWidth, kWindowHeight);
    setFont(windowFont());

    buildControls();
    findControls();
    describeForAccessibility();
    setFocusOrder();

    m_view = std::make_unique<WidgetView>(*this, m_controls, m_dialogs);
    m_editor = std::make_unique<EditorModel>(*m_view);
    m_commands = std::make_unique<WindowCommands>(*this, m_controls, m_dialogs, m_line, *m_editor);
    wireControls();
    m_editor->runStartUpSteps();
    m_controls.READ_CONFIG->setFocus(Qt::OtherFocusReason);
    setWindowIcon(QIcon(QPixmap::fromImage(icon.get())));
}

Form1::~Form1() = default;

void Form1::buildControls()
{
    int count = 0;
    const ControlRow *table = controlTable(&count);
    QWidget *frame = nullptr;
    for (int i = 0; i < count; ++i) {
        const ControlRow &row = table[i];
        QWidget *control = makeControl(row, row.inFrame ? frame : this);
        placeControl(control, row);
        if (row.kind == ControlKind::Frame)
            frame = control;
        if (row.kind == ControlKind::ButtonCaption)
            colourButtonCaption(static_cast<QLabel *>(control), palette());
    }

    m_controls.Timer1 = new QTimer(this);
    m_controls.Timer1->setObjectName(QStringLiteral("Timer1"));
    m_controls.Timer1->setTimerType(Qt::PreciseTimer);
    m_controls.Timer1->setInterval(kTimerBuildPeriod);

    // Shift+F10 does what the context-menu key does: the focused control's menu, else the window's.
    auto *menuKey = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), this);
    connect(menuKey, &QShortcut::activated, this, [this] {
        QWidget *target = focusWidget() ? focusWidget() : this;
        const QPoint at = target->rect().center();
        QContextMenuEvent event(QContextMenuEvent::Keyboard, at, target->mapToGlobal(at));
        QCoreApplication::sendEvent(target, &event);
    });
}

void Form1::findControls()
{
    const auto named = [this](auto *&control, const QString &name) {
        control = findChild<std::remove_reference_t<decltype(*control)> *>(name);
        Q_ASSERT(control);
    };
    named(m_controls.Image1, QStringLiteral("Image1"));
    for (int k = 0; k < kButtons; ++k) {
        Form1Controls::Button &b = m_controls.button[k];
        named(b.module, QStringLiteral("List%1").arg(2 * k + 1));
        named(b.channel, QStringLiteral("List%1").arg(2 * k + 2));
        named(b.desig, QStringLiteral("Text%1").arg(k + 3));
    }
    int count = 0;
    const ControlRow *table = controlTable(&count);
    for (int i = 0; i < count; ++i) {
        if (table[i].kind == ControlKind::ButtonCaption)
            named(m_controls.button[table[i].button].caption, QString::fromLatin1(table[i].name));
    }
    named(m_controls.READ_CONFIG, QStringLiteral("READ_CONFIG"));
    named(m_controls.WRITE_CONFIG, QStringLiteral("WRITE_CONFIG"));
    named(m_controls.READ_FILE, QStringLiteral("READ_FILE"));
    named(m_controls.WRITE_FILE, QStringLiteral("WRITE_FILE"));
    named(m_controls.Text1, QStringLiteral("Text1"));
    named(m_controls.Text2, QStringLiteral("Text2"));
    named(m_controls.Frame1, QStringLiteral("Frame1"));
    named(m_controls.Check1, QStringLiteral("Check1"));
    named(m_controls.List21, QStringLiteral("List21"));
    named(m_controls.List22, QStringLiteral("List22"));
}

// A choice made in a control, and a text typed in a box, go to the model; the commands go to the window's commands.
void Form1::wireControls()
{
    EditorModel &editor = *m_editor;
    for (int k = 0; k < kButtons; ++k) {
        const Form1Controls::Button &b = m_controls.button[k];
        b.module->setRule([&editor, k, list = b.module] { editor.setModulePosition(k, list->position()); });
        b.channel->setRule([&editor, k, list = b.channel] { editor.setChannelPosition(k, list->position()); });
        connect(b.desig, &QLineEdit::textChanged, this, [&editor, k](const QString &text) { editor.setDesignationText(k, text); });
    }
    m_controls.List21->setRule([&editor, list = m_controls.List21] { editor.setIndicatorPosition(list->position()); });
    m_controls.List22->setRule([&editor, list = m_controls.List22] { editor.setBacklightPosition(list->position()); });
    m_controls.Check1->setRule([&editor, box = m_controls.Check1] { editor.setCheckState(box->state()); });
    connect(m_controls.Text2, &QLineEdit::textChanged, this, [&editor](const QString &text) { editor.setPanelNameText(text); });

    WindowCommands &commands = *m_commands;
    connect(m_controls.READ_CONFIG, &QPushButton::clicked, this, [&commands] { commands.readConfig(); });
    connect(m_controls.WRITE_CONFIG, &QPushButton::clicked, this, [&commands] { commands.writeConfig(); });
    connect(m_controls.READ_FILE, &QPushButton::clicked, this, [&commands] { commands.readFile(); });
    connect(m_controls.WRITE_FILE, &QPushButton::clicked, this, [&commands] { commands.writeFile(); });
}

// Names a screen reader speaks, in a user's words; the tooltips become the descriptions.
void Form1::describeForAccessibility()
{
    for (int k = 0; k < kButtons; ++k) {
        const QString sw = QStringLiteral("SW%1 ").arg(k + 1);
        m_controls.button[k].module->setAccessibleName(sw + QStringLiteral("module"));
        m_controls.button[k].channel->setAccessibleName(sw + QStringLiteral("channel"));
        m_controls.button[k].desig->setAccessibleName(sw + QStringLiteral("designation"));
    }
    m_controls.Text1->setAccessibleName(QStringLiteral("Status"));
    m_controls.Text2->setAccessibleName(QStringLiteral("Panel name"));
    m_controls.List21->setAccessibleName(QStringLiteral("Indicator intensity (%)"));
    m_controls.List22->setAccessibleName(QStringLiteral("Back-light intensity (%)"));
    m_controls.Check1->setAccessibleName(QStringLiteral("Independent lighting"));
    m_controls.Frame1->setAccessibleName(QStringLiteral("Special features"));
    m_controls.Image1->setAccessibleName(QStringLiteral("Switch panel face plate"));
    for (CaptionButton *command :
         {m_controls.READ_CONFIG, m_controls.WRITE_CONFIG, m_controls.READ_FILE, m_controls.WRITE_FILE})
        command->setAccessibleName(command->text());
    for (QWidget *control : findChildren<QWidget *>()) {
        if (!control->toolTip().isEmpty())
            control->setAccessibleDescription(control->toolTip());
    }
}

void Form1::setFocusOrder()
{
    int count = 0;
    const char *const *order = focusOrder(&count);
    for (int i = 1; i < count; ++i)
        setTabOrder(findChild<QWidget *>(QString::fromLatin1(order[i - 1])), findChild<QWidget *>(QString::fromLatin1(order[i])));
    m_controls.Frame1->setFocusPolicy(Qt::NoFocus);
    m_controls.Image1->setFocusPolicy(Qt::NoFocus);
}

void Form1::openFile(const QString &path) { m_commands->openFile(path); }

void Form1::closeEvent(QCloseEvent *event)
{
    if (!m_commands->allowClose()) {
        event->ignore(); // the command under way ends at its next wait; the window closes right after it
        return;
    }
    QWidget::closeEvent(event);
}

} // namespace panel
