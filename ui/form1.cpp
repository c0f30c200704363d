#include "ui/form1.h"

#include "ui/caption_button.h"
#include "ui/dialogs.h"
#include "ui/face_plate.h"
#include "ui/rule_check_box.h"
#include "ui/selection_list.h"
#include "ui/status_box.h"
#include "ui/text_box.h"
#include "ui/text_fit.h"
#include "ui/window_layout.h"

#include "file/config_file_ops.h"
#include "file/panel_name.h"
#include "model/status_texts.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QShortcut>
#include <QGroupBox>
#include <QLabel>
#include <QTimer>

// The pictures live in a static library: their resource must be registered by hand.
static void initImages() { Q_INIT_RESOURCE(assets); }

namespace panel {

namespace {

const char *const kCaption = "KD CVX 4/6 BUTTON DIMMABLE SWITCH PANEL CONFIGURATION PROGRAM";
const char *const kDesignation = "DESIGNATION ";
// Long enough for any label on a panel, short enough that a saved file always reads back.
constexpr int kDesignationLimit = 255;

struct RowPlace {
    int moduleLeft, moduleTop, channelLeft, channelTop, textLeft, textTop, captionLeft, captionTop;
};

constexpr RowPlace kRowPlaces[kButtons] = {
    {3840, 1560, 4680, 1560, 3840, 1320, 3360, 1680},
    {5640, 1560, 6480, 1560, 5640, 1320, 7200, 1680},
    {3840, 2640, 4680, 2640, 3840, 2400, 3360, 2760},
    {5640, 2640, 6480, 2640, 5640, 2400, 7200, 2760},
    {3840, 3720, 4680, 3720, 3840, 3480, 3360, 3840},
    {5640, 3720, 6480, 3720, 5640, 3480, 7200, 3840},
};
const char *const kCaptionNames[kButtons] = {"Label2", "Label3", "Label4", "Label5", "Label8", "Label9"};

CaptionButton *commandButton(QWidget *parent, const char *name, const char *caption, const QRect &place,
                             const char *tooltip)
{
    auto *button = new CaptionButton(QString::fromLatin1(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(place);
    button->setFont(arialFont(13, true));
    button->setToolTip(QString::fromLatin1(tooltip));
    button->setAutoDefault(false);
    return button;
}

QLabel *caption(QWidget *parent, const char *name, const QString &text, const QRect &place, const QFont &font)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(place);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    fitLabel(label, font);
    return label;
}

} // namespace

Form1::Form1(Dialogs &dialogs, SerialLine &line, QWidget *parent)
    : QWidget(parent)
    , m_dialogs(dialogs)
    , m_line(line)
{
    initImages();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromLatin1(kCaption));
    setWindowIcon(QIcon(QStringLiteral(":/images/icon.png")));
    setFixedSize(736, 383);
    setFont(windowFont());

    buildControls();
    describeForAccessibility();
    setFocusOrder();
    connectRules();
    runStartUpSteps();
    READ_CONFIG->setFocus(Qt::OtherFocusReason);
}

Form1::~Form1() = default;

void Form1::buildControls()
{
    // The picture comes first so that every other control lies over it.
    Image1 = new FacePlate(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(twips(3120, 360, 4695, 5055));

    READ_CONFIG = commandButton(this, "READ_CONFIG", "READ CONFIGURATION FROM SWITCH PANEL",
                                twips(8280, 600, 2535, 855), "LEFT CLICK TO READ CONFIG IN SWITCH PANEL");
    WRITE_CONFIG = commandButton(this, "WRITE_CONFIG", "WRITE CONFIGURATION TO SWITCH PANEL",
                                 twips(8280, 1920, 2535, 855), "LEFT CLICK TO SAVE CONFIG IN SWITCH PANEL");
    READ_FILE = commandButton(this, "READ_FILE", "OPEN CONFIGURATION FILE", twips(240, 600, 2415, 855),
                              "LEFT CLICK TO OPEN CONFIG FILE");
    WRITE_FILE = commandButton(this, "WRITE_FILE", "SAVE CONFIGURATION FILE", twips(240, 1800, 2415, 855),
                               "LEFT CLICK TO SAVE CONFIG FILE");

    for (int k = 0; k < kButtons; ++k)
        buildButtonRow(k);

    Text1 = new StatusBox(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(twips(3840, 600, 3255, 615));
    Text1->setBaseFont(arialFont(11, false));
    Text1->hide();

    Text2 = new TextBox(kPanelNameLimit, this);
    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->setGeometry(twips(4800, 4800, 1455, 285));
    Text2->setFont(plainFont());
    Text2->setToolTip(QStringLiteral("ENTER IDENTITY FOR FILE NAME"));

    Label6 = caption(this, "Label6", QStringLiteral("PANEL NAME"), twips(4800, 4560, 1455, 255), plainFont());
    Label6->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    fitLabel(Label6, plainFont());
    Label14 = caption(this, "Label14", QStringLiteral("PROGRAMMING       HEADER           LOCATION"),
                      twips(840, 3600, 1455, 615), windowFont());

    Line1 = new Drawing(Drawing::Filled, palette().color(QPalette::WindowText), 2, this);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setGeometry(2160 / 15, 3960 / 15 - 1, (3240 - 2160) / 15, 2);
    Shape1 = new Drawing(Drawing::Outline, QColor(128, 255, 255), 2, this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setGeometry(twips(3240, 3480, 615, 855));

    buildLightingFrame();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setTimerType(Qt::PreciseTimer);
    Timer1->setInterval(500);
    connect(Timer1, &QTimer::timeout, this, [this] { m_vars.timer_flag = 1; });

    connect(READ_CONFIG, &QPushButton::clicked, this, [this] { runCommand([this] { readConfig(); }); });
    connect(WRITE_CONFIG, &QPushButton::clicked, this, [this] { runCommand([this] { writeConfig(); }); });
    connect(READ_FILE, &QPushButton::clicked, this, [this] { runCommand([this] { readFile(); }); });
    connect(WRITE_FILE, &QPushButton::clicked, this, [this] { runCommand([this] { writeFile(); }); });

    // Shift+F10 does what the context-menu key does: the focused control's menu, else the window's.
    auto *menuKey = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), this);
    connect(menuKey, &QShortcut::activated, this, [this] {
        QWidget *target = focusWidget() ? focusWidget() : this;
        const QPoint at = target->rect().center();
        QContextMenuEvent event(QContextMenuEvent::Keyboard, at, target->mapToGlobal(at));
        QCoreApplication::sendEvent(target, &event);
    });
}

// Names a screen reader speaks, in a user's words; the tooltips become the descriptions.
void Form1::describeForAccessibility()
{
    for (int k = 0; k < kButtons; ++k) {
        const QString sw = QStringLiteral("SW%1 ").arg(k + 1);
        m_buttons[k].module->setAccessibleName(sw + QStringLiteral("module"));
        m_buttons[k].channel->setAccessibleName(sw + QStringLiteral("channel"));
        m_buttons[k].desig->setAccessibleName(sw + QStringLiteral("designation"));
    }
    Text1->setAccessibleName(QStringLiteral("Status"));
    Text2->setAccessibleName(QStringLiteral("Panel name"));
    List21->setAccessibleName(QStringLiteral("Indicator intensity (%)"));
    List22->setAccessibleName(QStringLiteral("Back-light intensity (%)"));
    Check1->setAccessibleName(QStringLiteral("Independent lighting"));
    Frame1->setAccessibleName(QStringLiteral("Special features"));
    Image1->setAccessibleName(QStringLiteral("Switch panel face plate"));
    for (CaptionButton *command : {READ_CONFIG, WRITE_CONFIG, READ_FILE, WRITE_FILE})
        command->setAccessibleName(command->text());
    for (QWidget *control : findChildren<QWidget *>()) {
        if (!control->toolTip().isEmpty())
            control->setAccessibleDescription(control->toolTip());
    }
}

void Form1::buildButtonRow(int k)
{
    const RowPlace &at = kRowPlaces[k];
    const QString sw = QStringLiteral("SW%1").arg(k + 1);
    ButtonControls &b = m_buttons[k];

    b.module = new SelectionList(this);
    b.module->setObjectName(QStringLiteral("List%1").arg(2 * k + 1));
    b.module->setGeometry(twips(at.moduleLeft, at.moduleTop, 855, 645));
    b.module->setFont(plainFont());
    b.module->addRows(moduleRows());
    b.module->setToolTip(sw + QStringLiteral(" MODULE ASSIGNMENT"));

    b.channel = new SelectionList(this);
    b.channel->setObjectName(QStringLiteral("List%1").arg(2 * k + 2));
    b.channel->setGeometry(twips(at.channelLeft, at.channelTop, 615, 645));
    b.channel->setFont(plainFont());
    b.channel->addRows(channelRows());
    b.channel->setToolTip(sw + QStringLiteral(" CHANNEL ASSIGNMENT"));

    b.desig = new TextBox(kDesignationLimit, this);
    b.desig->setObjectName(QStringLiteral("Text%1").arg(k + 3));
    b.desig->setGeometry(twips(at.textLeft, at.textTop, 1455, 285));
    b.desig->setText(QString::fromLatin1(kDesignation));
    b.desig->setToolTip(QStringLiteral("ENTER ") + sw + QStringLiteral(" FUNCTION"));

    b.caption = caption(this, kCaptionNames[k], sw, twips(at.captionLeft, at.captionTop, 420, 195), windowFont());
    b.caption->setAutoFillBackground(true);
    QPalette colours = b.caption->palette();
    colours.setColor(QPalette::Window, palette().color(QPalette::Disabled, QPalette::WindowText));
    colours.setColor(QPalette::WindowText, palette().color(QPalette::HighlightedText));
    b.caption->setPalette(colours);
}

void Form1::buildLightingFrame()
{
    Frame1 = new QGroupBox(QStringLiteral("SPECIAL FEATURES:"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(twips(8280, 3120, 2535, 2295));
    fitGroupBoxTitle(Frame1, arialFont(13, true));

    Check1 = new RuleCheckBox(QStringLiteral("INDEPENDENT LIGHTING"), Frame1);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->setGeometry(twips(0, 360, 2415, 495));
    Check1->setFont(arialFont(13, true));
    Check1->setChecked(true); // built ticked; the start-up steps untick it

    List21 = new SelectionList(Frame1);
    List21->setObjectName(QStringLiteral("List21"));
    List21->setGeometry(twips(0, 960, 735, 450));
    List21->setFont(windowFont());
    List21->addRows(intensityRows());

    Label15 = caption(Frame1, "Label15", QStringLiteral("INDICATOR INTENSITY (%)"), twips(840, 960, 1455, 495),
                      arialFont(13, true));
    Label16 = caption(Frame1, "Label16", QStringLiteral("BACK-LIGHT INTENSITY (%)"), twips(840, 1560, 1455, 495),
                      arialFont(13, true));

    // The backlight list belongs to the window and lies over the frame beside its caption.
    List22 = new SelectionList(this);
    List22->setObjectName(QStringLiteral("List22"));
    List22->setGeometry(twips(8280, 4680, 735, 450));
    List22->setFont(windowFont());
    List22->addRows(intensityRows());
}

void Form1::setFocusOrder()
{
    QList<QWidget *> order = {READ_CONFIG, WRITE_CONFIG, READ_FILE, WRITE_FILE};
    for (int k : {0, 1, 3, 4, 5, 2})
        order << m_buttons[k].channel;
    for (int k : {0, 5, 4, 3, 2, 1})
        order << m_buttons[k].module;
    order << Text1 << Text2;
    for (const ButtonControls &b : m_buttons)
        order << b.desig;
    order << Check1 << List21 << List22;
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
    for (QWidget *w : {static_cast<QWidget *>(Frame1), static_cast<QWidget *>(Image1)})
        w->setFocusPolicy(Qt::NoFocus);
}

void Form1::runStartUpSteps()
{
    Check1->setState(0);
    List21->setPosition(0);
    List22->setPosition(0);
    m_vars.indpercent = kFullIntensityCode;
    m_vars.blpercent = kFullIntensityCode;
}

void Form1::runCommand(const std::function<void()> &operation)
{
    if (m_busy)
        return;
    m_busy = true;
    operation();
    m_busy = false;
    if (m_closeRequested) {
        // clang-analyzer reports a leak inside qtimer.h, out of reach of a NOLINT: it loses the slot object
        // that Qt's timer takes over and deletes once it has called it. Hidden from the analyzer only.
#ifndef __clang_analyzer__
        QTimer::singleShot(0, this, &QWidget::close);
#endif
    }
}

void Form1::closeEvent(QCloseEvent *event)
{
    if (m_busy) {
        // The operation under way ends at its next wait; the window closes right after it.
        m_closeRequested = true;
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void Form1::armTimer()
{
    Timer1->setInterval(100);
    m_vars.timer_flag = 0;
    Timer1->start();
}

bool Form1::operationAbandoned() const { return m_closeRequested; }

void Form1::setStatusVisible(bool visible) { Text1->setVisible(visible); }
void Form1::setStatusText(const QString &text)
{
    Text1->setText(text);
    const bool portFailed = text.startsWith(kPortNotOpened);
    Text1->setToolTip(portFailed ? text + QChar(10) + portFailureTip() : QString());
    Text1->setAccessibleDescription(Text1->toolTip());
}

void Form1::openFile(const QString &path)
{
    m_dialogFileName = path; // the open dialog starts from the file last opened
    runCommand([this, path] { open_config_file_named(*this, *this, path); });
}

void Form1::reportStatus(const QString &text, std::optional<quint32> colour)
{
    setStatusVisible(true);
    if (colour)
        Text1->setColour(*colour);
    setStatusText(text);
}

void Form1::showButton(int k, int modulePosition, int channelPosition)
{
    m_buttons[k].module->setPosition(modulePosition);
    m_buttons[k].channel->setPosition(channelPosition);
}

void Form1::showDesignation(int k, const std::optional<QString> &text)
{
    m_buttons[k].desig->setTextFromProgram(text.value_or(QString()));
    m_buttons[k].desig->setVisible(text.has_value());
}

void Form1::showPanelName(const QString &name) { Text2->setTextFromProgram(name); }
void Form1::showIndependentLighting(int state) { Check1->setState(state); }

void Form1::showIndicator(qint16 code)
{
    m_vars.indpercent = code;
    show_indicator_code();
}

void Form1::showBacklight(qint16 code)
{
    m_vars.blpercent = code;
    show_backlight_code();
}

void Form1::show_indicator_code()
{
    m_vars.blpercent = m_vars.indpercent;
    List21->setPosition(intensity_position(m_vars.indpercent));
}

void Form1::show_backlight_code()
{
    List22->setPosition(intensity_position(m_vars.blpercent));
}

std::optional<PanelConfig> Form1::gather_switch_codes()
{
    Selections selections;
    for (int k = 0; k < kButtons; ++k)
        selections[k] = {m_buttons[k].module->position(), m_buttons[k].channel->position()};
    return gather_config(selections, m_vars);
}

void Form1::keepFileRecord(const PanelFileRecord &r)
{
    m_vars.rmodel = r.model;
    m_vars.panel = r.panel;
    for (int k = 0; k < kButtons; ++k) {
        m_vars.button[k].desig = r.desig[k];
        m_vars.button[k].s = r.code[k];
    }
    m_vars.BL = r.bl;
    m_vars.fdesig = r.fdesig;
    m_vars.feature = r.feature;
    m_vars.ind = r.ind;
    m_vars.indpercent = r.indpercent;
    m_vars.blp = r.blp;
    m_vars.blpercent = r.blpercent;
}

void Form1::message(const QString &text, const QString &title) { m_dialogs.message(this, text, title); }

std::optional<QString> Form1::chooseFile(bool save, const QString &title, const QString &filter,
                                         const std::optional<QString> &initialName)
{
    if (initialName)
        m_dialogFileName = *initialName;
    FileRequest request;
    request.mode = save ? FileRequest::Save : FileRequest::Open;
    request.title = title;
    request.filter = filter;
    request.defaultSuffix = QStringLiteral("pnl");
    request.fileName = m_dialogFileName;
    std::optional<QString> chosen = m_dialogs.chooseFile(this, request);
    if (chosen)
        m_dialogFileName = *chosen;
    return chosen;
}

} // namespace panel
