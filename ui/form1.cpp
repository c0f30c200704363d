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
#include <map>

// The pictures live in a static library: their resource must be registered by hand.
static void initImages() { Q_INIT_RESOURCE(assets); }

namespace panel {

namespace {

const char *const kCaption = "KD CVX 4/6 BUTTON DIMMABLE SWITCH PANEL CONFIGURATION PROGRAM";
// The timer as the window is built: disabled, with the period it is given before the link first uses it.
constexpr int kTimerBuildPeriod = 500;

} // namespace

Form1::Form1(Dialogs &dialogs, SerialLine &line, int tickMilliseconds)
    : m_dialogs(dialogs)
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

    m_view = std::make_unique<WidgetView>(*this, m_controls, m_dialogs);
    m_editor = std::make_unique<EditorModel>(*m_view);
    m_commands = std::make_unique<WindowCommands>(*this, m_controls, m_dialogs, m_line, *m_editor, tickMilliseconds);
    wireControls();
    setUpEditing();
    setUpDesktopHabits();
    m_editor->runStartUpSteps();
    m_controls.READ_CONFIG->setFocus(Qt::OtherFocusReason);
    setWindowIcon(QIcon(QPixmap::fromImage(icon.get())));
}

Form1::~Form1() = default;

// Each control is made, placed and kept where the window works with it, from its row of the table; Tab
// goes through them in the order of their rows' tab places.
void Form1::buildControls()
{
    int count = 0;
    const ControlRow *table = controlTable(&count);
    QWidget *frame = nullptr;
    std::map<int, QWidget *> focusOrder;
    for (int i = 0; i < count; ++i) {
        const ControlRow &row = table[i];
        QWidget *control = makeControl(row, row.inFrame ? frame : this);
        placeControl(control, row);
        if (row.keep)
            row.keep(m_controls, control, row.button);
        if (row.tab >= 0)
            focusOrder.emplace(row.tab, control);
        if (row.kind == ControlKind::Frame)
            frame = control;
        if (row.kind == ControlKind::ButtonCaption)
            colourButtonCaption(static_cast<QLabel *>(control), palette());
    }
    for (auto next = focusOrder.begin(); next != focusOrder.end() && std::next(next) != focusOrder.end(); ++next)
        setTabOrder(next->second, std::next(next)->second);

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

// A choice made in a control, and a text typed in a box, go to the model (a text the model shows tells it
// nothing back); the commands go to the window's commands.
void Form1::wireControls()
{
    EditorModel &editor = *m_editor;
    for (int k = 0; k < kButtons; ++k) {
        const Form1Controls::Button &b = m_controls.button[k];
        b.module->setRule([&editor, k, list = b.module] { editor.setModulePosition(k, list->position()); });
        b.channel->setRule([&editor, k, list = b.channel] { editor.setChannelPosition(k, list->position()); });
        connect(b.desig, &QLineEdit::textEdited, this, [&editor, k](const QString &text) { editor.setDesignationText(k, text); });
    }
    m_controls.List21->setRule([&editor, list = m_controls.List21] { editor.setIndicatorPosition(list->position()); });
    m_controls.List22->setRule([&editor, list = m_controls.List22] { editor.setBacklightPosition(list->position()); });
    m_controls.Check1->setRule([&editor, box = m_controls.Check1] { editor.setCheckState(box->state()); });
    connect(m_controls.Text2, &QLineEdit::textEdited, this, [&editor](const QString &text) { editor.setPanelNameText(text); });

    WindowCommands &commands = *m_commands;
    connect(m_controls.READ_CONFIG, &QPushButton::clicked, this, [&commands] { commands.readConfig(); });
    connect(m_controls.WRITE_CONFIG, &QPushButton::clicked, this, [&commands] { commands.writeConfig(); });
    connect(m_controls.READ_FILE, &QPushButton::clicked, this, [&commands] { commands.readFile(); });
    connect(m_controls.WRITE_FILE, &QPushButton::clicked, this, [&commands] { commands.writeFile(); });
}

void Form1::openFile(const QString &path) { m_commands->openFile(path); }

} // namespace panel
