#pragma once

#include "file/config_file_host.h"
#include "link/panel_host.h"
#include "link/serial_ports.h"
#include "model/codes.h"
#include "model/operation_report.h"
#include "model/panel_config.h"

#include <QWidget>
#include <array>
#include <functional>
#include <memory>

class QGroupBox;
class QLabel;
class QMenu;
class QTimer;

namespace panel {

class CaptionButton;
class Dialogs;
class Drawing;
class FacePlate;
class RuleCheckBox;
class SelectionList;
class SerialLine;
class StatusBox;
class TextBox;

// The one window of the program. It owns the configuration being edited (its controls) and the
// window-level variables; the panel and file operations report to it and reach it through their hosts.
class Form1 : public QWidget, public OperationReport, public PanelHost, public ConfigFileHost
{
    Q_OBJECT
public:
    Form1(Dialogs &dialogs, SerialLine &line, QWidget *parent = nullptr);
    ~Form1() override;

    WindowVars &vars() { return m_vars; }
    const WindowVars &vars() const { return m_vars; }
    bool busy() const { return m_busy; }

    // OperationReport
    void reportStatus(const QString &text, std::optional<quint32> colour = std::nullopt) override;
    void hideStatus() override { setStatusVisible(false); }
    void message(const QString &text, const QString &title) override;
    void showButton(int k, int modulePosition, int channelPosition) override;
    void showDesignation(int k, const std::optional<QString> &text) override;
    void showPanelName(const QString &name) override;
    void showIndependentLighting(int state) override;
    void showIndicator(qint16 code) override;
    void showBacklight(qint16 code) override;

    // PanelHost and ConfigFileHost
    OperationVars &operationVars() override { return m_vars; }
    void armTimer() override;
    bool operationAbandoned() const override;
    std::optional<QString> chooseFile(bool save, const QString &title, const QString &filter,
                                      const std::optional<QString> &initialName) override;
    void keepFileRecord(const PanelFileRecord &record) override;

    void setStatusVisible(bool visible);
    void setStatusText(const QString &text);
    void clearDesignation(int k) { showDesignation(k, std::nullopt); }
    void show_indicator_code();
    void show_backlight_code();
    // Sets button[k].w from the lists; no configuration when a button is incomplete.
    std::optional<PanelConfig> gather_switch_codes();
    void check_independent_lighting();

    // Opens a configuration file as OPEN CONFIGURATION FILE does once the file is chosen.
    void openFile(const QString &path);

    // Where the serial port in use came from; shown in the window's menu.
    void setPortSource(PortSource source) { m_portSource = source; }
    // The window's context menu: a "Serial port" submenu with the ports present, the one in use ticked.
    std::unique_ptr<QMenu> windowMenu();
    // Uses the device from the next panel operation on, and remembers it for the next session.
    void usePort(const QString &device);

protected:
    void closeEvent(QCloseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    struct ButtonControls {
        SelectionList *module = nullptr;
        SelectionList *channel = nullptr;
        TextBox *desig = nullptr;
        QLabel *caption = nullptr;
    };

    void buildControls();
    void buildButtonRow(int k);
    void buildLightingFrame();
    void setFocusOrder();
    void connectRules();
    void runStartUpSteps();
    void describeForAccessibility();
    bool isControl(const QWidget *widget) const;
    void askForPort();
    QString portFailureTip() const;

    void readConfig();
    void writeConfig();
    void readFile();
    void writeFile();

    void moduleRule(int k);
    void channelRule(int k);
    void indicatorRule();
    void backlightRule();
    void independentLightingRule();

    // Runs a panel or file operation; a second one clicked while the first waits is ignored.
    void runCommand(const std::function<void()> &operation);

    Dialogs &m_dialogs;
    SerialLine &m_line;
    WindowVars m_vars;
    QString m_dialogFileName; // what the file dialog keeps between uses
    bool m_busy = false;
    bool m_closeRequested = false;
    PortSource m_portSource = PortSource::Option;

    FacePlate *Image1 = nullptr;
    std::array<ButtonControls, kButtons> m_buttons;
    CaptionButton *READ_CONFIG = nullptr;
    CaptionButton *WRITE_CONFIG = nullptr;
    CaptionButton *READ_FILE = nullptr;
    CaptionButton *WRITE_FILE = nullptr;
    StatusBox *Text1 = nullptr;
    TextBox *Text2 = nullptr;
    QLabel *Label6 = nullptr;
    QLabel *Label14 = nullptr;
    QGroupBox *Frame1 = nullptr;
    RuleCheckBox *Check1 = nullptr;
    SelectionList *List21 = nullptr;
    SelectionList *List22 = nullptr;
    QLabel *Label15 = nullptr;
    QLabel *Label16 = nullptr;
    Drawing *Line1 = nullptr;
    Drawing *Shape1 = nullptr;
    QTimer *Timer1 = nullptr;
};

} // namespace panel
